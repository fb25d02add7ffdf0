#include "cli/Output.h"
#include "cli/Verbs.h"

namespace vq::cli {

// The window's sort, on the store: 信道号 renumbered in the new order, and
// the order before kept in the history.
int runSort(const Command &command)
{
    Programmer programmer;
    if (auto failed = openExisting(programmer, command.database))
        return *failed;
    const Result sorted = programmer.editor().sortRows(command.sortBy);
    // A plan already in order is no failure: there was nothing to change.
    if (!sorted.ok && sorted.notices.isEmpty())
        return kSucceeded;
    return report(sorted);
}

} // namespace vq::cli
