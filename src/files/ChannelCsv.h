#pragma once

#include "channels/ChannelRecord.h"
#include "files/Utf8.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// ---- CSV text -------------------------------------------------------------

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
};

struct CsvText {
    std::vector<CsvLine> records;
    // Why the text was refused (short Chinese), empty when it was read, and
    // the 1-based line where reading stopped (0 when the file as a whole is
    // at fault).
    std::string error;
    int errorLine = 0;

    bool ok() const { return error.empty(); }
};

// Reads CSV text: fields split by commas, quoted fields may hold
// commas, doubled quotes and line breaks. CRLF, LF and a lone CR all end a
// line, mixed in one file. A UTF-8 byte order mark at the start is skipped,
// and so is a completely empty line. Refused: more than kMaxCsvBytes, bytes
// that are not UTF-8, a control character other than tab, CR and LF, a quote
// that does not end, a quote inside an unquoted field or anything but a comma
// or a line end after a closing quote, more than kMaxCsvRecords records (found
// without reading the rest) or more than kMaxCsvFields fields in one.
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

// ---- Import results, both layouts ------------------------------------------

struct CsvChange {
    int row = 0; // 0-based row of the table
    Field field = ChannelNumber;
    FieldValue value;

    bool operator==(const CsvChange &) const = default;
};

struct CsvProblem {
    // On import the 1-based line of the file where the record starts; on
    // export the 1-based row of the table.
    int line = 0;
    std::string column; // the layout's column name (on export the table's field name)
    std::string value;
    std::string why; // short Chinese

    bool operator==(const CsvProblem &) const = default;
};

struct CsvImport {
    // What to store, in file order. Empty whenever the import is not ok():
    // a file is taken as a whole or not at all.
    std::vector<CsvChange> changes;
    std::vector<CsvProblem> problems; // every one found, not only the first
    std::vector<std::string> warnings;
    // A fault of the file as a whole (not text, a quote that does not end, no
    // header, missing columns, too many records, no data), with its line.
    std::string error;
    int errorLine = 0;

    bool ok() const { return error.empty() && problems.empty(); }
};

// ---- The program's own layout ----------------------------------------------

// The table as it is: a header of the ten field names, then one record per
// row with each value exactly as stored. Null is an unquoted empty field and
// the empty text is `""`, so both come back as they were; free text is
// guarded against formulas.
std::string writeOwnCsv(std::span<const ChannelRecord> rows);

// Columns are found by name in any order; all ten must be there, others are
// ignored with a warning. Data record k sets row k (0-based) of a table of
// tableRows rows, all ten fields; rows past the file's records keep their
// values. Every value meets the same rule as a typed one (checkFieldValue)
// and is stored as that rule gives it back.
CsvImport readOwnCsv(std::string_view utf8, int tableRows);

// ---- The common layout of open-source radio programmers ---------------------

struct CsvExport {
    std::string text;
    // Rows that the layout cannot express. When there are any the export as
    // a whole is refused and text is empty.
    std::vector<CsvProblem> problems;

    bool ok() const { return problems.empty(); }
};

// One line per row with a receive frequency, Location being the row's
// 1-based number. BCL and beat, which the layout has no column for, go into
// the comment ("BCL=1 拍频=on") so that a plan comes back whole.
CsvExport writeCommonCsv(std::span<const ChannelRecord> rows);

// Reads the common layout by column name. Location (1 … current.size())
// picks the row; each named row gets all nine fields after the channel
// number, and its Location as number when it has none; rows not named keep
// theirs. A value the radio cannot hold, or a
// frequency the raster would move, is a problem; nothing is changed quietly.
CsvImport readCommonCsv(std::string_view utf8, std::span<const ChannelRecord> current);

} // namespace vq
