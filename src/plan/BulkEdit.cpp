#include "plan/BulkEdit.h"

#include "channels/ChannelJudge.h"
#include "channels/Decimal.h"
#include "channels/ValueDomains.h"
#include "files/TabularText.h"
#include "plan/EditTexts.h"
#include "plan/Notice.h"
#include "plan/FileTexts.h"

#include <algorithm>
#include <map>
#include <set>

namespace vq {

namespace {

std::string_view fieldName(int column)
{
    return fieldNames()[static_cast<std::size_t>(column)];
}

bool isFrequency(int column)
{
    return column == RxFrequency || column == TxFrequency;
}

const FieldValue &stored(const PlanRows &table, int row, int column)
{
    return table[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

// An error of the edit as a whole, with the fields its kind names.
EditError editError(EditFault why, std::initializer_list<std::pair<int EditError::*, int>> fields = {})
{
    EditError error;
    error.why = why;
    for (const auto &[field, value] : fields)
        error.*field = value;
    return error;
}

// The values an edit would store, each checked by the rule of its column
// as it is set.
bool isShown(const ShownRows &shown, int row)
{
    return shown.empty() || (row >= 0 && row < static_cast<int>(shown.size()) && shown[static_cast<std::size_t>(row)]);
}

class Draft {
public:
    Draft(const PlanRows &table, const ShownRows &shown) : table_(table), shown_(shown) {}

    void set(int row, int column, std::string_view text)
    {
        if (column <= ChannelNumber || column >= kFieldCount)
            return;
        // What the user cannot see, the user cannot have meant to change.
        if (!isShown(shown_, row)) {
            if (!hidden_)
                hidden_ = row;
            return;
        }
        // Spreadsheets pad cells; no value of the table has blanks around it.
        if (!isBlankText(text))
            text = trimmedText(text);
        // A frequency without a number is stored as nothing at all, as typing does.
        if (isFrequency(column) && isBlankText(text))
            text = {};
        // A blank is what clearing or the picker's blank stores, as given.
        if (isBlankText(text)) {
            values_[{row, column}] = std::string(text);
            return;
        }
        const ValueVerdict verdict = judgeValue(static_cast<Field>(column), std::string(text));
        if (verdict.value)
            values_[{row, column}] = *verdict.value;
        else
            problems_.push_back({row, column, std::string(text), verdict.refusal});
    }
    void problem(int row, int column, std::string value, std::optional<ValueRefusal> refusal)
    {
        problems_.push_back({row, column, std::move(value), std::move(refusal)});
    }

    // With `followReceive` a receive frequency set without a transmit one
    // takes the transmit frequency along, as typing into the cell does.
    BulkEdit finish(bool followReceive)
    {
        if (hidden_) {
            BulkEdit out;
            out.error = editError(EditFault::HiddenRow, {{&EditError::from, *hidden_}});
            return out;
        }
        std::set<int> rows;
        for (const auto &[cell, value] : values_)
            if (isFrequency(cell.column))
                rows.insert(cell.row);
        for (int row : rows) {
            const auto rx = values_.find({row, RxFrequency});
            auto tx = values_.find({row, TxFrequency});
            if (followReceive && rx != values_.end() && tx == values_.end())
                tx = values_.emplace(Cell{row, TxFrequency}, rx->second).first;
            const std::string rxText =
                rx != values_.end() ? rx->second : textOf(stored(table_, row, RxFrequency));
            const std::string txText =
                tx != values_.end() ? tx->second : textOf(stored(table_, row, TxFrequency));
            // The radio would send on a channel it cannot receive on.
            if (isBlankText(rxText) && !isBlankText(txText))
                problem(row, TxFrequency, txText, std::nullopt);
        }
        judgeRows();
        BulkEdit out;
        if (!problems_.empty()) {
            std::stable_sort(problems_.begin(), problems_.end(),
                             [](const CellProblem &a, const CellProblem &b) {
                                 return Cell{a.row, a.column} < Cell{b.row, b.column};
                             });
            out.problems = std::move(problems_);
            return out;
        }
        // Null already reads as the empty text: no change, and no step to undo.
        for (const auto &[cell, value] : values_)
            if (textOf(stored(table_, cell.row, cell.column)) != value)
                out.changes.push_back({cell.row, cell.column, value});
        return out;
    }

private:
    // A row the edit leaves unfit for the radio is refused, unless it was
    // so before for the same reason (an old row the edit did not spoil).
    void judgeRows()
    {
        PlanRows after = table_;
        for (const auto &[cell, value] : values_)
            after[static_cast<std::size_t>(cell.row)][static_cast<std::size_t>(cell.column)] = value;
        for (const RowRefusal &r : judgeChange(table_, after))
            if (std::none_of(problems_.begin(), problems_.end(),
                             [&r](const CellProblem &p) { return p.row == r.row; }))
                problems_.push_back({r.row, r.refusal.field, r.refusal.value, r.refusal});
    }

    const PlanRows &table_;
    const ShownRows &shown_;
    std::optional<int> hidden_; // the first hidden row an edit reached
    std::map<Cell, std::string> values_;
    std::vector<CellProblem> problems_;
};

BulkEdit refused(EditError error)
{
    BulkEdit out;
    out.error = std::move(error);
    return out;
}

BulkEdit refused(EditFault why)
{
    return refused(editError(why));
}

bool isHeader(const std::vector<std::string> &cells)
{
    bool named = false;
    for (const std::string &cell : cells) {
        const std::string_view text = trimmedText(cell);
        if (isBlankText(text))
            continue;
        bool known = false;
        for (int f = 0; f < kFieldCount && !known; ++f)
            known = text == fieldName(f) || text == trimmedText(columnCaptions()[static_cast<std::size_t>(f)]);
        if (!known)
            return false;
        named = true;
    }
    return named;
}

} // namespace

std::string copyCells(const PlanRows &table, std::span<const Cell> cells)
{
    const std::set<Cell> selected(cells.begin(), cells.end());
    std::set<int> rows, columns;
    for (const Cell &c : selected) {
        rows.insert(c.row);
        columns.insert(c.column);
    }
    bool wholeRows = !rows.empty();
    for (int row : rows)
        for (int f = 0; f < kFieldCount && wholeRows; ++f)
            wholeRows = selected.contains({row, f});
    std::vector<std::vector<std::string>> out;
    if (wholeRows) {
        out.emplace_back();
        for (int f = 0; f < kFieldCount; ++f)
            out.back().emplace_back(fieldName(f));
    }
    for (int row : rows) {
        if (row < 0 || row >= static_cast<int>(table.size()))
            continue;
        out.emplace_back();
        for (int column : columns)
            out.back().push_back(selected.contains({row, column}) ? textOf(stored(table, row, column))
                                                                  : std::string());
    }
    return writeTabularText(out);
}

BulkEdit pasteEdit(const PlanRows &table, std::string_view text, std::span<const Cell> selection,
                   Cell current, const ShownRows &shown)
{
    TabularText read = readTabularText(text);
    if (!read.ok())
        return refused([&read] {
            EditError error = editError(EditFault::Clipboard, {{&EditError::line, read.line}});
            error.clipboard = read.fault;
            return error;
        }());
    auto &rows = read.rows;
    if (!rows.empty() && isHeader(rows.front()))
        rows.erase(rows.begin());
    if (rows.empty() || (rows.size() == 1 && rows[0].size() == 1 && rows[0][0].empty()))
        return refused(EditFault::NothingToPaste);
    const int height = static_cast<int>(rows.size());
    int width = 0;
    for (const auto &row : rows)
        width = std::max(width, static_cast<int>(row.size()));

    Draft draft(table, shown);
    if (height == 1 && width == 1 && selection.size() > 1) {
        for (const Cell &cell : selection)
            draft.set(cell.row, cell.column, rows[0][0]);
        return draft.finish(true);
    }
    Cell anchor = current;
    if (!selection.empty()) {
        anchor = selection.front();
        for (const Cell &cell : selection)
            anchor = {std::min(anchor.row, cell.row), std::min(anchor.column, cell.column)};
    }
    // Whole rows copied go into whole rows, their channel numbers left alone.
    if (width == kFieldCount)
        anchor.column = ChannelNumber;
    const int tableRows = static_cast<int>(table.size());
    if (anchor.row < 0 || anchor.row >= tableRows || anchor.column < 0 || anchor.column >= kFieldCount)
        return refused(EditFault::NoCell);
    if (anchor.column == ChannelNumber && width < kFieldCount)
        return refused(EditFault::ChannelNumberColumn);
    if (anchor.row + height > tableRows)
        return refused(
            editError(EditFault::PastLastRow, {{&EditError::count, height}, {&EditError::from, anchor.row}, {&EditError::last, tableRows}}));
    if (anchor.column + width > kFieldCount)
        return refused(
            editError(EditFault::PastLastColumn, {{&EditError::count, width}, {&EditError::from, anchor.column}}));
    // The block's lines go into the rows shown from the anchor on; the
    // anchor itself may be hidden only to be refused below.
    std::vector<int> targets{anchor.row};
    for (int row = anchor.row + 1; row < tableRows && static_cast<int>(targets.size()) < height; ++row)
        if (isShown(shown, row))
            targets.push_back(row);
    if (static_cast<int>(targets.size()) < height)
        return refused(editError(EditFault::PastShownRows, {{&EditError::count, height}, {&EditError::from, anchor.row}, {&EditError::last, targets.back() + 1}}));
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < static_cast<int>(rows[static_cast<std::size_t>(r)].size()); ++c)
            draft.set(targets[static_cast<std::size_t>(r)], anchor.column + c,
                      rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    return draft.finish(true);
}

BulkEdit clearEdit(const PlanRows &table, std::span<const Cell> cells, const ShownRows &shown)
{
    Draft draft(table, shown);
    for (const Cell &cell : cells)
        draft.set(cell.row, cell.column, {});
    return draft.finish(true);
}

BulkEdit fillDownEdit(const PlanRows &table, std::span<const Cell> cells, const ShownRows &shown)
{
    std::map<int, std::set<int>> rowsOfColumn;
    for (const Cell &cell : cells)
        if (cell.column > ChannelNumber && cell.row >= 0 && cell.row < static_cast<int>(table.size()))
            rowsOfColumn[cell.column].insert(cell.row);
    Draft draft(table, shown);
    bool any = false;
    for (const auto &[column, rows] : rowsOfColumn) {
        const std::string value = textOf(stored(table, *rows.begin(), column));
        for (auto row = std::next(rows.begin()); row != rows.end(); ++row) {
            draft.set(*row, column, value);
            any = true;
        }
    }
    if (!any)
        return refused(EditFault::NotOneColumn);
    return draft.finish(true);
}

BulkEdit changeManyEdit(const PlanRows &table, std::span<const int> rows, const ManyChange &change,
                        const ShownRows &shown)
{
    if (rows.empty())
        return refused(EditFault::NoChannel);
    std::optional<std::int64_t> step; // 10 Hz units
    if (!isBlankText(change.stepKHz)) {
        const auto kHz = Decimal::parsePlain(trimmedText(change.stepKHz));
        step = kHz ? kHz->scaledRounded(2) : std::nullopt;
        if (!step)
            return refused(
                [&change] {
                EditError error = editError(EditFault::StepNotNumber);
                error.step = change.stepKHz;
                return error;
            }());
    }
    std::vector<int> ordered(rows.begin(), rows.end());
    std::sort(ordered.begin(), ordered.end());
    ordered.erase(std::unique(ordered.begin(), ordered.end()), ordered.end());
    // A tone of one kind set for a direction replaces the other kind there,
    // as picking it does: the radio holds one tone per direction.
    auto values = change.values;
    for (auto [a, b] : {std::pair{RxTone, RxDcs}, std::pair{RxDcs, RxTone}, std::pair{TxTone, TxDcs},
                        std::pair{TxDcs, TxTone}})
        if (values[a] && !isBlankText(*values[a]) && !values[b])
            values[b] = std::string();
    Draft draft(table, shown);
    for (int f = RxFrequency; f < kFieldCount; ++f) {
        const auto &value = values[static_cast<std::size_t>(f)];
        if (!value)
            continue;
        const auto start =
            isFrequency(f) && step && !isBlankText(*value) ? Decimal::parsePlain(trimmedText(*value)) : std::nullopt;
        const auto startUnits = start ? start->scaledRounded(kFrequencyDecimals) : std::nullopt;
        if (isFrequency(f) && step && !isBlankText(*value) && !startUnits) {
            draft.problem(ordered.front(), f, *value,
                          ValueRefusal{static_cast<Field>(f), Refusal::NotFrequency, *value, {}});
            continue;
        }
        for (std::size_t n = 0; n < ordered.size(); ++n) {
            if (!startUnits) {
                draft.set(ordered[n], f, *value);
                continue;
            }
            const auto units = *startUnits + static_cast<std::int64_t>(n) * *step;
            draft.set(
                ordered[n], f,
                Decimal::fromScaled(units, -kFrequencyDecimals).toFixed(kFrequencyDecimals).value_or("?"));
        }
    }
    return draft.finish(false);
}

BulkEdit presetEdit(const PlanRows &table, std::span<const int> rows, std::span<const FieldValues> channels,
                    const ShownRows &shown)
{
    if (rows.empty())
        return refused(EditFault::NoChannel);
    std::vector<int> targets(rows.begin(), rows.end());
    std::sort(targets.begin(), targets.end());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
    if (targets.size() == 1)
        for (int row = targets[0] + 1;
             row < static_cast<int>(table.size()) && targets.size() < channels.size(); ++row)
            if (isShown(shown, row))
                targets.push_back(row);
    Draft draft(table, shown);
    for (std::size_t n = 0; n < targets.size() && n < channels.size(); ++n)
        for (int f = RxFrequency; f < kFieldCount; ++f)
            if (const auto &value = channels[n][static_cast<std::size_t>(f)])
                draft.set(targets[n], f, *value);
    return draft.finish(false);
}

} // namespace vq
