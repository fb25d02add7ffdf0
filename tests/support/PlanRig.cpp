#include "support/PlanRig.h"

namespace vq::test {

PlanRig::PlanRig(const QString &db, const QString &device)
{
    if (!programmer.openStore(db).ok)
        problem = QStringLiteral("store %1: %2").arg(db, programmer.store().errorDetail());
    if (!device.isEmpty()) {
        programmer.link().setDevicePaths(device, QString());
        if (programmer.link().open() != SerialLink::OpenResult::Opened)
            problem += QStringLiteral(" port %1: %2").arg(device, programmer.link().errorDetail());
    }
    QObject::connect(&programmer, &Programmer::notice, [this](const Notice &n) { notices << n; });
    QObject::connect(&programmer, &Programmer::statusChanged, [this](const QString &s) { statuses << s; });
    QObject::connect(&programmer, &Programmer::progressChanged, [this](int v) { progress << v; });
    QObject::connect(&programmer, &Programmer::transferRunningChanged, [this](bool r) { running << r; });
    QObject::connect(&programmer, &Programmer::readStored, [this] { ++stored; });
}

bool PlanRig::take(const Result &result)
{
    notices += result.notices;
    return result.ok;
}

QStringList PlanRig::texts() const
{
    QStringList out;
    for (const Notice &n : notices)
        out << n.text;
    return out;
}

void PlanRig::quicken()
{
    programmer.controller().setIntervals({.writeTick = 4, .writeDelay = 10, .poll = 10, .readStart = 5,
                                          .blockTimeout = 300, .silence = 300, .verifyWait = 400});
}

} // namespace vq::test
