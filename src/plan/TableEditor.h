#pragma once

#include "channels/ChannelHistory.h"
#include "channels/ChannelStore.h"
#include "channels/ChannelTableModel.h"
#include "plan/BulkEdit.h"
#include "plan/ChannelPresets.h"
#include "plan/RowOrder.h"
#include "plan/StoreTexts.h"
#include "plan/Result.h"

#include <QUndoStack>

#include <functional>
#include <memory>

namespace vq {

class StoreCommand;

// Editing the table: typed values, picks, the spreadsheet-style edits,
// undo and redo, and the commit every change of every unit goes through.
// A change is a StoreCommand applied to the store as one batch and pushed
// on the undo stack only when the store took it. Before any change the
// store is asked whether another program committed meanwhile.
class TableEditor : public QObject {
    Q_OBJECT
public:
    // Shows a message at once, while the operation waits for it.
    using Tell = std::function<void(const Notice &)>;

    // `reading` says whether a read is collecting: its batch must land on
    // the table it started from, so nothing else may change it meanwhile.
    TableEditor(ChannelStore &store, ChannelHistory &history, std::function<bool()> reading,
                QObject *parent = nullptr);
    ~TableEditor() override;

    // The grid's model: what is typed into it comes straight here, and the
    // outcome is told through edited() and warnNow().
    ChannelTableModel *model() { return &model_; }
    // The table as it stands now.
    PlanRows plan() const { return planRows(store_); }
    // The file the table lives in, as a page names it.
    QString storePath() const { return store_.path(); }

    // The user's text for 接收频率 or 发送频率, checked and stored together
    // with what the check makes of the other frequency. An out-of-range text
    // stands in the row while `tellNow` shows why it goes (without `tellNow`
    // the warning comes back in the result).
    Result applyTypedValue(int row, int column, const QString &text, const Tell &tellNow = {});
    // A picker choice (Combo1 … Combo7) for a row.
    Result applyPick(int picker, int row, const QString &text);

    // The grid's filter: rows holding `find` in any field, and without
    // `hideEmpty` also those with no receive frequency. Every edit below
    // reaches only the rows it shows.
    void setFilter(const QString &find, bool hideEmpty);
    ShownRows shownRows() const;

    // Spreadsheet-style editing (see BulkEdit.h for what each one stores).
    // Each change is one undoable step, judged as a whole, all of it or
    // nothing; refused while a read is collecting, allowed during a write,
    // which sends what it took at its start.
    QString copyCells(const std::vector<Cell> &cells) const;
    // Without a current cell a block lands at channel 1's receive frequency.
    Result paste(const QString &text, const std::vector<Cell> &selection, std::optional<Cell> current);
    Result paste(const QString &text, const std::vector<Cell> &selection, Cell current)
    {
        return paste(text, selection, std::optional(current));
    }
    Result clearCells(const std::vector<Cell> &cells);
    Result fillDown(const std::vector<Cell> &cells);
    Result changeMany(const std::vector<int> &rows, const ManyChange &change);
    Result insertPreset(const std::vector<int> &rows, const ChannelPreset &preset);
    // The preset channel sets the program ships; refused, saying why, when
    // they cannot be read.
    Result presets(std::vector<ChannelPreset> &sets) const;
    // What a preset would store in `rows`, for the dialog that offers it.
    BulkEdit previewPreset(const std::vector<int> &rows, const ChannelPreset &preset) const;

    // Row operations (see RowOrder.h), each one undoable step with 信道号
    // renumbered in row order, refused while a read collects, on the rows
    // the filter shows. An insert that would push a channel off the end
    // asks `mayDrop` first, naming it; "no" changes nothing.
    Result sortRows(SortKey key);
    Result moveRows(const std::vector<int> &rows, int delta);
    // The rows dragged to just before row `before`.
    Result dropRows(const std::vector<int> &rows, int before);
    Result insertRow(int row, const std::function<bool(const Notice &question)> &mayDrop);
    Result deleteRows(const std::vector<int> &rows);

    // The last change taken back, or the last one taken back done again;
    // each one batch of the store.
    Result undo();
    Result redo();
    // Not while a read collects: its batch must land on the table it
    // started from.
    bool canUndo() const { return undoStack_.canUndo() && !reading_(); }
    bool canRedo() const { return undoStack_.canRedo() && !reading_(); }
    QString undoText() const { return undoStack_.undoText(); }
    QString redoText() const { return undoStack_.redoText(); }
    int undoCount() const { return undoStack_.count(); }
    // A snapshot of the history put back as one undoable step, after a
    // snapshot of the table it replaces.
    Result restoreSnapshot(qint64 id, const texts::Text &step = texts::kRestoreStep);

    // Whether the table takes a change now: not while a read collects, and
    // not over rows another program has changed since they were shown
    // (those are reloaded, and the undo history dropped).
    Result mayEdit();
    // Shows what another program stored meanwhile; true when there was any.
    bool refresh() { return store_.refreshIfChangedElsewhere(); }
    // A change applied as one batch and kept for undo; `first` runs in the
    // batch's own transaction, before the changes. False when the store
    // refused it.
    bool commit(const QString &step, std::vector<ChannelStore::Change> changes,
                const std::function<void()> &first = {});
    // Keeps `rows` in the history; false when it could not. A history that
    // cannot take them never stops what the user asked for.
    bool keep(ChannelHistory::Reason reason, const QString &device, const PlanRows &rows);
    // The newest snapshot's id; 0 when there is none.
    qint64 newestSnapshot();
    // A whole new plan landed: the grid's cursor goes to the first row.
    void showFirstRow() { emit firstRowCurrent(); }
    // "信道数据库写入失败" with the store's reason.
    Notice storeFailed() const;

signals:
    // The table's undo and redo changed.
    void undoStateChanged();
    // Any value of the table changed, or the table was reloaded.
    void tableChanged();
    // The grid's cursor goes back to the first row.
    void firstRowCurrent();
    // An edit typed into the model came to this.
    void edited(const vq::Result &result);
    // Said while the typed text still stands in its cell.
    void warnNow(const vq::Notice &notice);

private:
    Result commitEdit(const QString &step, const QString &refusal, const BulkEdit &edit);
    Result step(bool back);

    ChannelStore &store_;
    ChannelHistory &history_;
    std::function<bool()> reading_;
    QString find_;
    bool hideEmpty_ = false;
    ChannelTableModel model_;
    QUndoStack undoStack_;
};

} // namespace vq
