#pragma once

#include "plan/BulkEdit.h"

#include <span>

namespace vq {

// Row operations on the plan: sort, move, insert, delete. Each one is a new
// order of the rows; the store gets every field of each row whose contents
// change, and 信道号 numbers the rows 1–50 in their new order, so row k is
// channel k again. Under the find filter only the rows shown take part: a
// hidden channel stays where it is, and an operation that would move one is
// refused whole (a hidden empty row may move: there is nothing in it to lose).

enum class SortKey { Receive, Transmit };

// The rows shown in order of the key's frequency, lowest first; channels
// without one (or with text that is no number) last; equal ones keep their
// order.
BulkEdit sortRowsEdit(const PlanRows &table, SortKey key, const ShownRows &shown = {});

// The selected rows one place up (delta -1) or down (+1) among the rows
// shown; a row already at the edge stays, and so does the block behind it.
BulkEdit moveRowsEdit(const PlanRows &table, std::span<const int> rows, int delta, const ShownRows &shown = {});

// The selected rows taken out and put back together, in their order, just
// before row `before` (the table's size: at the end), among the rows shown:
// what dragging them there does.
BulkEdit dropRowsEdit(const PlanRows &table, std::span<const int> rows, int before, const ShownRows &shown = {});
// Where those rows are after the drop, in order.
std::vector<int> rowsAfterDrop(int tableSize, std::span<const int> rows, int before, const ShownRows &shown = {});

// An empty channel at `row`; the later channels move down one and the last
// row's channel drops off the table.
BulkEdit insertRowEdit(const PlanRows &table, int row, const ShownRows &shown = {});

// The selected rows taken out; the later channels move up and empty
// channels fill the end.
BulkEdit deleteRowsEdit(const PlanRows &table, std::span<const int> rows, const ShownRows &shown = {});

// The rows a find text matches: any field holds it (case-insensitive for
// Latin letters); an empty text matches every row. `hideEmpty` leaves out
// rows without a receive frequency.
std::vector<bool> visibleRows(const PlanRows &table, std::string_view find, bool hideEmpty);

// Whether a row holds no channel: every field but 信道号 blank.
bool isEmptyRow(const ChannelRecord &record);

} // namespace vq
