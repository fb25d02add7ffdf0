#pragma once

#include "channels/ChannelRecord.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// A plan is 51 lines of well under 200 bytes; these bounds leave room for
// other tools' files and hand editing while keeping a wrong file cheap to
// refuse. A caller reads at most kMaxCsvBytes + 1 bytes of a file: the
// reader refuses anything longer without looking at it.
inline constexpr std::size_t kMaxCsvBytes = 1024 * 1024;
inline constexpr int kMaxCsvRecords = 1000;
inline constexpr int kMaxCsvFields = 256;

// One record's fields. A field written without quotes and without text is
// Null; a quoted field is always a text, so `""` reads as the empty text.
using CsvRecord = std::vector<FieldValue>;

struct CsvLine {
    int line = 0; // 1-based line of the file where the record starts
    CsvRecord fields;

    // A line whose first field starts with '#' says something to a reader
    // of the file, not to the program.
    bool isComment() const { return !fields.empty() && fields.front() && fields.front()->starts_with('#'); }
};

// Why a CSV file is refused as a whole. The text is chosen where it is
// shown, in the language in use.
enum class CsvFault {
    None,
    TooLarge,       // more than kMaxCsvBytes
    TooManyRecords, // more than kMaxCsvRecords
    TooManyFields,  // more than kMaxCsvFields in one record
    MisplacedQuote, // in an unquoted field, or not followed by a comma or a line end
    NotText,        // bytes that are not UTF-8, or a control character
    OpenQuote,      // a quote that does not end
    NoHeader,
    NoData,         // a header and nothing under it
    ColumnTwice,    // names: the column
    MissingColumns, // names: the required columns not there
};

struct CsvFileFault {
    CsvFault why = CsvFault::None;
    // The 1-based line where reading stopped, 0 when the file as a whole is
    // at fault.
    int line = 0;
    std::vector<std::string> names;

    bool operator==(const CsvFileFault &) const = default;
};

struct CsvText {
    std::vector<CsvLine> records;
    CsvFileFault fault; // why the text was refused, None when it was read

    bool ok() const { return fault.why == CsvFault::None; }
};

// Reads CSV text: fields split by commas, quoted fields may hold
// commas, doubled quotes and line breaks. CRLF, LF and a lone CR all end a
// line, mixed in one file. A UTF-8 byte order mark at the start is skipped,
// and so is a completely empty line. Refused: more than kMaxCsvBytes, bytes
// that are not UTF-8, a control character other than tab, CR and LF, a quote
// that does not end, a quote inside an unquoted field or anything but a comma
// or a line end after a closing quote, more than kMaxCsvRecords records that
// are not comments (found without reading the rest) or more than
// kMaxCsvFields fields in one.
CsvText parseCsv(std::string_view utf8);

// The file text for records: a UTF-8 byte order mark first, CRLF after every
// record. A field is quoted only when it must be: it holds a comma, a quote,
// CR or LF, starts or ends with a blank, or is the empty text (Null is
// written as nothing). A record that is a single Null would be an empty line,
// which reading skips, so it is written as the empty text.
std::string writeCsv(std::span<const CsvRecord> records);

// Spreadsheets run a cell starting with = + - @ (or a tab or CR before one)
// as a formula. Such a text, and one that already starts with ', is written
// with a ' in front; reading drops one leading '. The pair is a bijection, so
// every text survives the round trip.
std::string guardFormula(std::string_view text);
std::string unguardFormula(std::string_view text);

// Blanks (space, tab) at either end dropped, as a person reads a cell.
std::string_view trimmedCell(std::string_view text);

} // namespace vq
