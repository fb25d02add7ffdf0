#include "plan/TableEditor.h"

#include "channels/FrequencyRules.h"
#include "channels/PickerRules.h"
#include "plan/Notice.h"
#include "plan/StoreCommand.h"
#include "plan/StoreTexts.h"
#include "plan/EditTexts.h"

namespace vq {

TableEditor::TableEditor(ChannelStore &store, ChannelHistory &history, std::function<bool()> reading,
                         QObject *parent)
    : QObject(parent), store_(store), history_(history), reading_(std::move(reading)), model_(store)
{
    model_.setEditHandler([this](int row, int column, const QString &text) {
        emit edited(
            applyTypedValue(row, column, text, [this](const Notice &notice) { emit warnNow(notice); }));
    });
    connect(&undoStack_, &QUndoStack::indexChanged, this, &TableEditor::undoStateChanged);
    connect(&store_, &ChannelStore::rowsChanged, this, &TableEditor::tableChanged);
    connect(&store_, &ChannelStore::rowCountChanged, this, &TableEditor::tableChanged);
    connect(&undoStack_, &QUndoStack::cleanChanged, this, &TableEditor::undoStateChanged);
    // Undoing over another program's changes would bring back a stale plan.
    connect(&store_, &ChannelStore::changedElsewhere, this, [this] {
        undoStack_.clear();
        emit undoStateChanged();
    });
}

TableEditor::~TableEditor()
{
    // The commands on the stack refer to the store.
    undoStack_.clear();
}

Result TableEditor::mayEdit()
{
    if (reading_())
        return Result::refused(errorNotice(texts::kTransferBusyRetry));
    // Whatever the user did was done to rows another program has since
    // replaced: the new rows are shown and nothing old goes over them.
    if (store_.refreshIfChangedElsewhere())
        return Result::refused(errorNotice(texts::kTableChangedElsewhere));
    return {};
}

bool TableEditor::commit(const QString &step, std::vector<ChannelStore::Change> changes,
                         const std::function<void()> &first)
{
    auto command = std::make_unique<StoreCommand>(store_, step, std::move(changes));
    if (!command->apply(first))
        return false;
    if (!command->isNoOp())
        undoStack_.push(command.release());
    return true;
}

bool TableEditor::keep(ChannelHistory::Reason reason, const QString &device, const PlanRows &rows)
{
    return history_.add(reason, device, rows) != ChannelHistory::Added::Failed;
}

qint64 TableEditor::newestSnapshot()
{
    const std::vector<ChannelHistory::Entry> entries = history_.entries();
    return entries.empty() ? 0 : entries.front().id;
}

Notice TableEditor::storeFailed() const
{
    Notice notice = errorNotice(texts::kStoreWriteFailed);
    notice.informative = store_.errorDetail();
    return notice;
}

Result TableEditor::applyTypedValue(int row, int column, const QString &text, const Tell &tellNow)
{
    if (row < 0 || row >= store_.rowCount() || (column != RxFrequency && column != TxFrequency))
        return Result::nothing();
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    const FieldValue typed = text.toStdString();
    // Confirming a cell as it stands must not run the rules again: the
    // receive rule would copy the frequency over the transmit offset.
    if (typed == store_.field(row, column))
        return Result::nothing();
    const FieldValue rx = column == RxFrequency ? typed : store_.field(row, RxFrequency);
    const FieldValue tx = column == TxFrequency ? typed : store_.field(row, TxFrequency);
    const FrequencyEdit edit = column == RxFrequency ? checkReceiveEdit(rx, tx) : checkTransmitEdit(rx, tx);

    std::vector<ChannelStore::Change> changes{{row, column, typed}};
    if (edit.rx)
        changes.push_back({row, RxFrequency, *edit.rx});
    if (edit.tx)
        changes.push_back({row, TxFrequency, *edit.tx});
    // Taken before the typed text is shown, so that undo goes back past it.
    auto command = std::make_unique<StoreCommand>(
        store_, QCoreApplication::translate("vq::texts", "输入频率"), std::move(changes));

    Result result;
    if (edit.warnOutOfRange) {
        const Notice warning = errorNotice(texts::kOutOfRange);
        if (tellNow) {
            // The user sees what was typed while reading why it goes.
            if (!store_.setField(row, column, typed))
                return Result::refused(errorNotice(texts::kStoreWriteFailed));
            tellNow(warning);
        } else {
            result.notices << warning;
        }
    }
    if (!command->apply())
        return Result::refused(errorNotice(texts::kStoreWriteFailed));
    if (!command->isNoOp())
        undoStack_.push(command.release());
    return result;
}

Result TableEditor::applyPick(int picker, int row, const QString &text)
{
    if (row < 0 || row >= store_.rowCount())
        return Result::nothing();
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    std::vector<ChannelStore::Change> changes;
    for (const FieldWrite &w : pickerWrites(picker, text.toStdString()))
        changes.push_back({row, w.field, w.text});
    if (changes.empty())
        return Result::nothing();
    if (!commit(QCoreApplication::translate("vq::texts", "选择%1").arg(text.trimmed()), std::move(changes)))
        return Result::refused(errorNotice(texts::kStoreWriteFailed));
    return {};
}

QString TableEditor::copyCells(const std::vector<Cell> &cells) const
{
    return QString::fromStdString(vq::copyCells(plan(), cells));
}

Result TableEditor::commitEdit(const QString &step, const QString &refusal, const BulkEdit &edit)
{
    if (!edit.ok())
        return Result::refused(bulkRefusal(refusal, edit));
    if (edit.changes.empty())
        return Result::nothing();
    if (!commit(step, edit.changes))
        return Result::refused(storeFailed());
    return {};
}

void TableEditor::setFilter(const QString &find, bool hideEmpty)
{
    find_ = find;
    hideEmpty_ = hideEmpty;
}

ShownRows TableEditor::shownRows() const
{
    if (find_.trimmed().isEmpty() && !hideEmpty_)
        return {};
    const QByteArray find = find_.toUtf8();
    return visibleRows(plan(), std::string_view(find.constData(), static_cast<std::size_t>(find.size())),
                       hideEmpty_);
}

Result TableEditor::paste(const QString &text, const std::vector<Cell> &selection, std::optional<Cell> current)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    const QByteArray utf8 = text.toUtf8();
    return commitEdit(texts::kPasteStep, texts::kPasteRefused,
                      pasteEdit(plan(),
                                std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                                selection, current.value_or(Cell{0, RxFrequency}), shownRows()));
}

Result TableEditor::clearCells(const std::vector<Cell> &cells)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    return commitEdit(texts::kClearStep, texts::kEditRefused, clearEdit(plan(), cells, shownRows()));
}

Result TableEditor::fillDown(const std::vector<Cell> &cells)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    return commitEdit(texts::kFillDownStep, texts::kEditRefused, fillDownEdit(plan(), cells, shownRows()));
}

Result TableEditor::changeMany(const std::vector<int> &rows, const ManyChange &change)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    return commitEdit(texts::kChangeManyStep, texts::kEditRefused, changeManyEdit(plan(), rows, change, shownRows()));
}

Result TableEditor::presets(std::vector<ChannelPreset> &sets) const
{
    QString problem;
    sets = shippedChannelPresets(&problem);
    if (sets.empty())
        return Result::refused(withReason(errorNotice(texts::kPresetsUnavailable), problem));
    return {};
}

BulkEdit TableEditor::previewPreset(const std::vector<int> &rows, const ChannelPreset &preset) const
{
    return presetEdit(plan(), rows, preset.channels, shownRows());
}

Result TableEditor::insertPreset(const std::vector<int> &rows, const ChannelPreset &preset)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    return commitEdit(texts::kPresetStep, texts::kEditRefused, previewPreset(rows, preset));
}

Result TableEditor::sortRows(SortKey key)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    const PlanRows before = plan();
    const BulkEdit edit = sortRowsEdit(before, key, shownRows());
    if (!edit.ok() || edit.changes.empty())
        return commitEdit({}, texts::kEditRefused, edit);
    // The order the user had is kept in the history too: a script's sort
    // has no undo.
    if (!commit(key == SortKey::Receive ? texts::kSortByRxStep : texts::kSortByTxStep, edit.changes,
                [this, &before] { keep(ChannelHistory::Reason::Sort, QString(), before); }))
        return Result::refused(storeFailed());
    return {};
}

Result TableEditor::moveRows(const std::vector<int> &rows, int delta)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    return commitEdit(delta < 0 ? texts::kMoveUpStep : texts::kMoveDownStep, texts::kEditRefused,
                      moveRowsEdit(plan(), rows, delta, shownRows()));
}

Result TableEditor::dropRows(const std::vector<int> &rows, int before)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    return commitEdit(texts::kDragRowsStep, texts::kEditRefused, dropRowsEdit(plan(), rows, before, shownRows()));
}

Result TableEditor::insertRow(int row, const std::function<bool(const Notice &question)> &mayDrop)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    const PlanRows table = plan();
    const BulkEdit edit = insertRowEdit(table, row, shownRows());
    if (edit.ok() && !isEmptyRow(table.back()) &&
        !mayDrop(errorNotice(texts::dropsLastChannel(static_cast<int>(table.size()),
                                                        QString::fromStdString(textOf(table.back()[RxFrequency]))))))
        return Result::nothing();
    return commitEdit(texts::kInsertRowStep, texts::kEditRefused, edit);
}

Result TableEditor::deleteRows(const std::vector<int> &rows)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    return commitEdit(texts::kDeleteRowsStep, texts::kEditRefused, deleteRowsEdit(plan(), rows, shownRows()));
}

Result TableEditor::undo()
{
    return step(true);
}

Result TableEditor::redo()
{
    return step(false);
}

Result TableEditor::step(bool back)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    if (back ? !undoStack_.canUndo() : !undoStack_.canRedo())
        return Result::nothing();
    // Every command on the stack is a StoreCommand; the store takes the
    // values before the stack moves.
    const int index = undoStack_.index() - (back ? 1 : 0);
    auto *command = static_cast<StoreCommand *>(const_cast<QUndoCommand *>(undoStack_.command(index)));
    if (!(back ? command->revert() : command->reapply()))
        return Result::refused(storeFailed());
    back ? undoStack_.undo() : undoStack_.redo();
    return {};
}

Result TableEditor::restoreSnapshot(qint64 id, const texts::Text &step)
{
    if (reading_())
        return Result::refused(errorNotice(texts::kTransferBusyRetry));
    // A whole plan replaces the table: take the newest rows as the ones it
    // replaces.
    store_.refreshIfChangedElsewhere();
    const std::optional<PlanRows> rows = history_.rows(id);
    if (!rows)
        return Result::refused(withReason(errorNotice(texts::kSnapshotGone), history_.problem()));
    std::vector<ChannelStore::Change> changes;
    const int count = std::min(static_cast<int>(rows->size()), store_.rowCount());
    for (int row = 0; row < count; ++row)
        for (int f = 0; f < kFieldCount; ++f)
            changes.push_back({row, f, (*rows)[static_cast<std::size_t>(row)][static_cast<std::size_t>(f)]});
    const auto keepReplaced = [this] { keep(ChannelHistory::Reason::Restore, QString(), plan()); };
    if (!commit(step, std::move(changes), keepReplaced))
        return Result::refused(storeFailed());
    emit firstRowCurrent();
    return {};
}

} // namespace vq
