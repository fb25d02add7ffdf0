#pragma once

#include "plan/Notice.h"

#include <QList>

namespace vq {

// What a user-level operation came to: whether it did what was asked, and
// the messages the user must read, in the order they arose. A refusal and
// a failure both leave every stored thing as it was.
struct Result {
    bool ok = true;
    QList<Notice> notices;

    static Result refused(const Notice &notice) { return Result{false, {notice}}; }
    // Nothing happened and nobody needs to be told (a cancelled dialog, a
    // command that arrived while a transfer runs).
    static Result nothing() { return Result{false, {}}; }
};

} // namespace vq

Q_DECLARE_METATYPE(vq::Result)
