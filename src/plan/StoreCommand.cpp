#include "plan/StoreCommand.h"

#include <set>
#include <utility>

namespace vq {

StoreCommand::StoreCommand(ChannelStore &store, const QString &text, std::vector<ChannelStore::Change> after)
    : QUndoCommand(text), store_(store), after_(std::move(after))
{
    // A cell written twice in one batch must come back to its first value,
    // and only its last value says whether the batch changes anything: a
    // typed text that the rules then take back is no step to undo.
    before_.reserve(after_.size());
    std::set<std::pair<int, int>> last;
    for (auto it = after_.rbegin(); it != after_.rend(); ++it) {
        before_.push_back({it->row, it->field, store_.field(it->row, it->field)});
        if (last.insert({it->row, it->field}).second)
            noOp_ = noOp_ && before_.back().value == it->value;
    }
}

bool StoreCommand::apply(const std::function<void()> &first)
{
    done_ = store_.apply(after_, first);
    return done_;
}

bool StoreCommand::revert()
{
    done_ = store_.apply(before_);
    return done_;
}

bool StoreCommand::reapply()
{
    return apply();
}

void StoreCommand::undo()
{
    if (!std::exchange(done_, false))
        store_.apply(before_);
}

void StoreCommand::redo()
{
    // The stack redoes a command as it is pushed; it was applied already.
    if (!std::exchange(done_, false))
        store_.apply(after_);
}

} // namespace vq
