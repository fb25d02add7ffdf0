#pragma once

#include "channels/ChannelStore.h"

#include <QUndoCommand>

#include <vector>

namespace vq {

// One change to the table, kept with the values it replaced, so that both
// directions are a single batch of the store.
class StoreCommand : public QUndoCommand {
public:
    StoreCommand(ChannelStore &store, const QString &text, std::vector<ChannelStore::Change> after);

    // Applies the change for the first time; false (nothing changed) when
    // the store refused it. `first` runs in the same transaction.
    bool apply(const std::function<void()> &first = {});
    // Every cell already holds its new value.
    bool isNoOp() const { return noOp_; }
    // Undo and redo that can fail: the caller moves the stack only after
    // the store took the values, so the two never disagree.
    bool revert();
    bool reapply();

    void undo() override;
    void redo() override;

private:
    ChannelStore &store_;
    std::vector<ChannelStore::Change> before_;
    std::vector<ChannelStore::Change> after_;
    // The store already holds what the stack's next undo() or redo() would
    // write.
    bool done_ = false;
    bool noOp_ = true;
};

} // namespace vq
