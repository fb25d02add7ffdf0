#pragma once

#include "channels/ChannelJudge.h"
#include "channels/ChannelRecord.h"
#include "channels/ValueRules.h"
#include "files/CsvText.h"

#include <optional>

#include <string>
#include <string_view>
#include <vector>

namespace vq {

// What reading a CSV file of either layout gives, and the rules both layouts
// read their records by.

struct CsvChange {
    int row = 0; // 0-based row of the table
    Field field = ChannelNumber;
    FieldValue value;

    bool operator==(const CsvChange &) const = default;
};

// Why a record cannot be taken; the text is chosen where it is shown.
enum class CsvReason {
    Value,         // refusal: the value as its field's rule refuses it
    TransmitValue, // refusal: the transmit frequency the offset makes of the receive one
    CommentValue,  // refusal: a key=value of the comment (its value the whole pair)
    FieldCount,    // not as many fields as the header
    NoSuchChannel,
    ChannelTwice,
    OnlyNN,
    OnlyFM,
    NotDuplex,
    NotOffset,
    NotCrossMode,
    NotToneMode,
};

struct CsvProblem {
    // On import the 1-based line of the file where the record starts; on
    // export the 1-based row of the table.
    int line = 0;
    std::string column; // the layout's column name (on export the table's field name)
    std::string value;
    CsvReason why = CsvReason::Value;
    std::optional<ValueRefusal> refusal; // Value, TransmitValue and CommentValue

    bool operator==(const CsvProblem &) const = default;
};

// What an import takes other than the file says, or leaves out.
enum class CsvNote {
    UnknownColumns, // names: the columns ignored
    SkipAsAdd,      // line: a Skip of P, scanned as add
    UnheldColumns,  // names: columns with values the radio has no place for
};

struct CsvWarning {
    CsvNote why = CsvNote::UnknownColumns;
    int line = 0;
    std::vector<std::string> names;

    bool operator==(const CsvWarning &) const = default;
};

struct CsvImport {
    // What to store, in file order. Empty whenever the import is not ok():
    // a file is taken as a whole or not at all.
    std::vector<CsvChange> changes;
    std::vector<CsvProblem> problems; // every one found, not only the first
    std::vector<CsvWarning> warnings;
    // A fault of the file as a whole (not text, a quote that does not end, no
    // header, missing columns, too many records, no data), with its line.
    CsvFileFault fault;

    bool ok() const { return fault.why == CsvFault::None && problems.empty(); }

    static CsvImport refused(CsvFileFault fault);
    // Drops the changes when anything was found at fault.
    CsvImport finished() &&;
};

struct CsvExport {
    std::string text;
    // Rows that the layout cannot express. When there are any the export as
    // a whole is refused and text is empty.
    std::vector<CsvProblem> problems;

    bool ok() const { return problems.empty(); }
};

// The row a record names by its number, as a person writes it (blanks around
// it, full-width digits): a whole number 1 … named.size(). Nothing, with why,
// for anything else and for a row an earlier record named; named keeps
// count.
struct CsvRowPick {
    int row = -1; // 0-based
    CsvReason why = CsvReason::NoSuchChannel;
};
CsvRowPick pickCsvRow(std::string_view number, std::vector<bool> &named);

// A value as typing takes it (checkFieldValue), except that a frequency the
// raster would move is refused with the value it would become: nothing in a
// file is changed quietly.
ValueCheck checkCsvValue(Field field, std::string_view text);

} // namespace vq
