#pragma once

#include "channels/ChannelJudge.h"

#include "channels/ChannelHistory.h"
#include "channels/ChannelStore.h"
#include "files/TabularText.h"
#include "plan/Notice.h"

#include <array>
#include <compare>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// A cell of the grid: 0-based row (channel - 1) and field.
struct Cell {
    int row = 0;
    int column = 0;

    auto operator<=>(const Cell &) const = default;
};

// A value that may not stand where the edit would put it.
struct CellProblem {
    int row = 0; // 0-based
    int column = 0;
    std::string value;
    // The judge's reason; none for a transmit frequency without a receive one.
    std::optional<ValueRefusal> refusal;

    bool operator==(const CellProblem &) const = default;
};

// Why an edit is refused as a whole; the text is chosen where it is shown.
enum class EditFault {
    None,
    Clipboard, // clipboard: why its text was refused
    NothingToPaste,
    NoCell,              // nowhere to paste to
    ChannelNumberColumn, // a block that would start in 信道号
    PastLastRow,         // count rows from row `from` run past `last` channels
    PastLastColumn,      // count columns from column `from` run past the table
    PastShownRows,       // count rows from row `from` run past the last row shown, `last`
    HiddenRow,           // row `from` would change, but the filter hides it
    NotOneColumn,        // fill down without two cells in a column
    NoChannel,
    StepNotNumber, // step: as given
};

struct EditError {
    EditFault why = EditFault::None;
    TabularFault clipboard = TabularFault::None;
    int line = 0; // the clipboard's, OpenQuote
    int count = 0;
    int from = 0;
    int last = 0;
    std::string step;
};

// What a spreadsheet-style edit would store: all of it, or nothing when
// there is any problem or an error of the edit as a whole.
struct BulkEdit {
    std::vector<ChannelStore::Change> changes; // only cells that get a new value
    std::vector<CellProblem> problems;
    EditError error;

    bool ok() const { return error.why == EditFault::None && problems.empty(); }
};

// The rows the grid shows under its filter; an edit never reaches another.
// Empty shows every row.
using ShownRows = std::vector<bool>;

// The fields of the table, for every field of a channel that an edit sets.
using FieldValues = std::array<std::optional<std::string>, kFieldCount>;

// The selected cells as a spreadsheet takes them: tab-separated, the rows
// and columns that hold a selected cell. Whole rows come with every field
// and the field names as a header line.
std::string copyCells(const PlanRows &table, std::span<const Cell> cells);

// Clipboard text into the table. Whole rows (ten columns) go into whole
// rows from the first selected row; other blocks start at the selection's
// top-left cell (or `current` without a selection); a single value fills
// every selected cell. A header line of field names or column captions is
// skipped, 信道号 is never written, and a block running past the last row
// or the last column is refused: a plan with channels silently missing is
// worse than none. Under a filter a block's lines go into the rows shown,
// one after another.
//
// Every edit below refuses as a whole a change to a row `shown` hides.
BulkEdit pasteEdit(const PlanRows &table, std::string_view text, std::span<const Cell> selection,
                   Cell current, const ShownRows &shown = {});

// The selected cells emptied; 信道号 kept.
BulkEdit clearEdit(const PlanRows &table, std::span<const Cell> cells, const ShownRows &shown = {});

// In each selected column, the topmost selected cell's value into the other
// selected cells of that column.
BulkEdit fillDownEdit(const PlanRows &table, std::span<const Cell> cells, const ShownRows &shown = {});

// The given fields of `rows`, only those. With a step (kHz, may be
// negative) the frequencies set go up by it from row to row, for a channel
// series; without one every row gets the same value.
struct ManyChange {
    FieldValues values;
    std::string stepKHz;
};
BulkEdit changeManyEdit(const PlanRows &table, std::span<const int> rows, const ManyChange &change,
                        const ShownRows &shown = {});

// A set's channels into the selected rows in order; a single row takes the
// whole set from there down the rows shown, as far as the table goes.
BulkEdit presetEdit(const PlanRows &table, std::span<const int> rows, std::span<const FieldValues> channels,
                    const ShownRows &shown = {});


} // namespace vq
