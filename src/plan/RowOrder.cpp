#include "plan/RowOrder.h"

#include "channels/FrequencyRules.h"
#include "channels/ValueDomains.h"

#include "channels/Decimal.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>

namespace vq {

namespace {

// For each row, the row its channel comes from; none for a new empty one.
using Order = std::vector<std::optional<int>>;

bool shownAt(const ShownRows &shown, int row)
{
    return shown.empty() || shown[static_cast<std::size_t>(row)];
}

BulkEdit refusedAt(EditFault why, int row)
{
    BulkEdit out;
    out.error.why = why;
    out.error.from = row;
    return out;
}

Order identity(const PlanRows &table)
{
    Order order(table.size());
    for (std::size_t r = 0; r < order.size(); ++r)
        order[r] = static_cast<int>(r);
    return order;
}

// The table in `order`, renumbered: the changes, or a refusal when a hidden
// channel would move.
BulkEdit reordered(const PlanRows &table, const Order &order, const ShownRows &shown)
{
    const int rows = static_cast<int>(table.size());
    for (int r = 0; r < rows; ++r) {
        const std::optional<int> from = order[static_cast<std::size_t>(r)];
        const bool moves = from != r;
        if (moves && !shownAt(shown, r) && !isEmptyRow(table[static_cast<std::size_t>(r)]))
            return refusedAt(EditFault::HiddenRow, r);
        if (moves && from && !shownAt(shown, *from) && !isEmptyRow(table[static_cast<std::size_t>(*from)]))
            return refusedAt(EditFault::HiddenRow, *from);
    }
    BulkEdit out;
    for (int r = 0; r < rows; ++r) {
        const std::optional<int> from = order[static_cast<std::size_t>(r)];
        ChannelRecord record = from ? table[static_cast<std::size_t>(*from)] : ChannelRecord{};
        record[ChannelNumber] = std::to_string(r + 1);
        for (int f = 0; f < kFieldCount; ++f)
            if (record[static_cast<std::size_t>(f)] != table[static_cast<std::size_t>(r)][static_cast<std::size_t>(f)])
                out.changes.push_back({r, f, record[static_cast<std::size_t>(f)]});
    }
    return out;
}

std::vector<int> shownPositions(int rows, const ShownRows &shown)
{
    std::vector<int> out;
    for (int r = 0; r < rows; ++r)
        if (shownAt(shown, r))
            out.push_back(r);
    return out;
}

// The rows shown (`positions`) taking the channels of `sources`, in turn;
// every other row keeps its own.
Order placed(const PlanRows &table, const std::vector<int> &positions, const std::vector<int> &sources)
{
    Order order = identity(table);
    for (std::size_t i = 0; i < positions.size(); ++i)
        order[static_cast<std::size_t>(positions[i])] = sources[i];
    return order;
}

// A selection to move or delete: none is nothing to do, and a row the
// filter hides (or past the table) is never among it.
std::optional<BulkEdit> refuseSelection(const PlanRows &table, const std::set<int> &selected,
                                        const ShownRows &shown)
{
    if (selected.empty())
        return refusedAt(EditFault::NoChannel, 0);
    for (int row : selected)
        if (row < 0 || row >= static_cast<int>(table.size()) || !shownAt(shown, row))
            return refusedAt(EditFault::HiddenRow, row);
    return std::nullopt;
}

} // namespace

std::vector<bool> visibleRows(const PlanRows &table, std::string_view find, bool hideEmpty)
{
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
        return text;
    };
    const std::string wanted = lower(std::string(trimmedText(find)));
    std::vector<bool> out;
    out.reserve(table.size());
    for (const ChannelRecord &record : table) {
        bool shown = !(hideEmpty && isBlankText(textOf(record[RxFrequency])));
        if (shown && !isBlankText(wanted))
            shown = std::any_of(record.begin(), record.end(), [&](const FieldValue &value) {
                return lower(textOf(value)).find(wanted) != std::string::npos;
            });
        out.push_back(shown);
    }
    return out;
}

bool isEmptyRow(const ChannelRecord &record)
{
    for (int f = ChannelNumber + 1; f < kFieldCount; ++f)
        if (!isBlankText(textOf(record[static_cast<std::size_t>(f)])))
            return false;
    return true;
}

BulkEdit sortRowsEdit(const PlanRows &table, SortKey key, const ShownRows &shown)
{
    const Field field = key == SortKey::Receive ? RxFrequency : TxFrequency;
    const std::vector<int> positions = shownPositions(static_cast<int>(table.size()), shown);
    std::vector<int> sources = positions;
    std::stable_sort(sources.begin(), sources.end(), [&](int a, int b) {
        const auto fa = frequencyUnits(table[static_cast<std::size_t>(a)][field]);
        const auto fb = frequencyUnits(table[static_cast<std::size_t>(b)][field]);
        return fa && (!fb || *fa < *fb);
    });
    return reordered(table, placed(table, positions, sources), shown);
}

BulkEdit moveRowsEdit(const PlanRows &table, std::span<const int> rows, int delta, const ShownRows &shown)
{
    const std::set<int> selected(rows.begin(), rows.end());
    if (std::optional<BulkEdit> refused = refuseSelection(table, selected, shown))
        return *refused;
    const std::vector<int> positions = shownPositions(static_cast<int>(table.size()), shown);
    std::vector<int> sources = positions;
    const int n = static_cast<int>(sources.size());
    const auto isSelected = [&](int i) { return selected.contains(sources[static_cast<std::size_t>(i)]); };
    // Each selected channel steps past its unselected neighbour; a block
    // pressed against the edge stays as it is.
    if (delta < 0) {
        for (int i = 1; i < n; ++i)
            if (isSelected(i) && !isSelected(i - 1))
                std::swap(sources[static_cast<std::size_t>(i)], sources[static_cast<std::size_t>(i - 1)]);
    } else {
        for (int i = n - 2; i >= 0; --i)
            if (isSelected(i) && !isSelected(i + 1))
                std::swap(sources[static_cast<std::size_t>(i)], sources[static_cast<std::size_t>(i + 1)]);
    }
    return reordered(table, placed(table, positions, sources), shown);
}

namespace {

// The rows shown in their order after the drop: the others up to `before`,
// then the dropped ones, then the rest.
std::vector<int> droppedOrder(const std::vector<int> &positions, const std::set<int> &selected, int before)
{
    std::vector<int> rest;
    std::vector<int> block;
    for (int row : positions)
        (selected.contains(row) ? block : rest).push_back(row);
    const auto at = std::lower_bound(rest.begin(), rest.end(), before);
    rest.insert(at, block.begin(), block.end());
    return rest;
}

} // namespace

BulkEdit dropRowsEdit(const PlanRows &table, std::span<const int> rows, int before, const ShownRows &shown)
{
    const std::set<int> selected(rows.begin(), rows.end());
    if (std::optional<BulkEdit> refused = refuseSelection(table, selected, shown))
        return *refused;
    const std::vector<int> positions = shownPositions(static_cast<int>(table.size()), shown);
    return reordered(table, placed(table, positions, droppedOrder(positions, selected, before)), shown);
}

std::vector<int> rowsAfterDrop(int tableSize, std::span<const int> rows, int before, const ShownRows &shown)
{
    const std::set<int> selected(rows.begin(), rows.end());
    const std::vector<int> positions = shownPositions(tableSize, shown);
    const std::vector<int> order = droppedOrder(positions, selected, before);
    std::vector<int> out;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (selected.contains(order[i]))
            out.push_back(positions[i]);
    return out;
}

BulkEdit insertRowEdit(const PlanRows &table, int row, const ShownRows &shown)
{
    const int rows = static_cast<int>(table.size());
    if (row < 0 || row >= rows)
        return refusedAt(EditFault::NoChannel, 0);
    if (!shownAt(shown, row))
        return refusedAt(EditFault::HiddenRow, row);
    Order order = identity(table);
    order[static_cast<std::size_t>(row)] = std::nullopt;
    for (int r = row + 1; r < rows; ++r)
        order[static_cast<std::size_t>(r)] = r - 1;
    // The channel that drops off the end is gone from the table, shown or not.
    if (!shownAt(shown, rows - 1) && !isEmptyRow(table.back()))
        return refusedAt(EditFault::HiddenRow, rows - 1);
    return reordered(table, order, shown);
}

BulkEdit deleteRowsEdit(const PlanRows &table, std::span<const int> rows, const ShownRows &shown)
{
    const std::set<int> selected(rows.begin(), rows.end());
    if (std::optional<BulkEdit> refused = refuseSelection(table, selected, shown))
        return *refused;
    Order order;
    for (int r = 0; r < static_cast<int>(table.size()); ++r)
        if (!selected.contains(r))
            order.push_back(r);
    order.resize(table.size());
    return reordered(table, order, shown);
}

} // namespace vq
