#include "cli/Output.h"
#include "cli/Verbs.h"

#include "plan/CableCheck.h"
#include "radio/PortProbe.h"

#include <QEventLoop>

namespace vq::cli {

// The radio's answer settles it; only a device that gives none is walked
// through the cable check, to say what stands in the way.
int runProbe(const Command &command)
{
    PortProbe probe;
    QEventLoop loop;
    ProbeOutcome outcome;
    QObject::connect(&probe, &PortProbe::finished, &loop, [&](const ProbeOutcome &o) {
        outcome = o;
        loop.quit();
    });
    probe.start(command.ports.first());
    loop.exec();
    if (outcome.kind == ProbeOutcome::Kind::Answered) {
        printLine(stdout, command.ports.first() + colon() + Cli::tr("对讲机已应答"));
        return kSucceeded;
    }
    CableCheck check;
    QObject::connect(&check, &CableCheck::finished, &loop, &QEventLoop::quit);
    check.start(command.ports.first());
    loop.exec();
    for (const QString &line : check.lines())
        printLine(stdout, line);
    return kFailed;
}

} // namespace vq::cli
