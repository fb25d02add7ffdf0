#pragma once

#include "plan/Programmer.h"

#include <QList>
#include <QStringList>

namespace vq::test {

// A programmer on a store and (when a device is given) an open port 1, with
// everything it reports recorded: the notices of results handed to take()
// and of its notice signal, status texts, progress, transfer locks.
class PlanRig {
public:
    PlanRig(const QString &db, const QString &device);

    // Why the rig could not be set up; empty when it could.
    QString problem;
    QList<Notice> notices;
    QStringList statuses;
    QList<int> progress;
    QList<bool> running;
    int stored = 0;
    // Last, so that it goes first: it still reports while it shuts down.
    Programmer programmer;

    ChannelStore &store() { return programmer.store(); }
    LinkController::State state() { return programmer.controller().state(); }
    // Records a result's notices and passes on whether it was ok.
    bool take(const Result &result);
    QStringList texts() const;
    // Short intervals for tests whose subject is order, not timing.
    void quicken();
};

} // namespace vq::test

// Declares a rig and fails the test at once when it could not be set up.
#define VQ_RIG(name, db, device)                                                                             \
    vq::test::PlanRig name(db, device);                                                                      \
    QVERIFY2(name.problem.isEmpty(), qPrintable(name.problem))
