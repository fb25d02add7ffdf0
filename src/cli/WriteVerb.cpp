#include "cli/Output.h"
#include "cli/Progress.h"
#include "cli/Verbs.h"

#include "plan/FleetWrite.h"
#include "plan/LinkTexts.h"
#include "plan/PlanFrames.h"
#include "plan/StoreTexts.h"

#include <QEventLoop>

namespace vq::cli {

int runWrite(const Command &command, const Interrupts &onInterrupt)
{
    Programmer programmer;
    ScratchStore scratch;
    if (auto failed = openPlan(programmer, command, scratch))
        return *failed;
    // The window's write and this one are one use case: judged and encoded
    // once, channel 1 kept as number 1.
    PlanFrames plan;
    const Result prepared = programmer.transfers().prepareWrite(plan);
    if (!prepared.ok)
        return report(prepared);
    report(prepared);

    FleetWrite fleet;
    QEventLoop loop;
    QObject::connect(&fleet, &FleetWrite::finished, &loop, &QEventLoop::quit);
    Progress progress(command.ports);
    // What goes out is kept in the store's history, as the window keeps it,
    // from its first frame on: a write cut short, even by a kill, says so
    // there. A plan from a CSV file has no store to keep it in.
    qint64 record = 0;
    bool kept = true;
    QObject::connect(&fleet, &FleetWrite::portProgress, &loop, [&](int port, int value) {
        progress.show(port, value);
        if (value > 0 && !record && kept && command.csv.isEmpty())
            kept = (record = programmer.transfers().recordWriteBegun(command.ports, plan.sent)) != 0;
    });
    onInterrupt([&fleet] { fleet.cancel(); });
    if (!fleet.start(command.ports, plan.frames, command.verify))
        return fail(texts::kPortFailed);
    if (fleet.isRunning())
        loop.exec();
    onInterrupt({});
    progress.end();
    QStringList whole;
    QStringList partial;
    for (const FleetWrite::PortResult &result : fleet.results())
        if (result.framesSent == kChannelCount)
            whole << result.device;
        else if (result.framesSent > 0)
            partial << result.device;
    if (record)
        kept = programmer.transfers().recordWriteEnded(record, whole, partial);
    if (command.csv.isEmpty()) {
        // A radio whose read-back differs: what it really holds, as the window keeps it.
        for (const FleetWrite::PortResult &result : fleet.results())
            if (result.readBack && result.stage == FleetWrite::Stage::Failed)
                kept = programmer.transfers().recordReadBack(result.device, *result.readBack) && kept;
        if (!kept)
            printLine(stderr, texts::kHistoryUnavailable + colon() + programmer.history().problem());
    }
    // One line a radio, in the order given, and whether it holds the plan.
    for (const FleetWrite::PortResult &result : fleet.results()) {
        QString line = result.device + colon() + result.text;
        if (!result.detail.isEmpty())
            line += Cli::tr("（") + QString(result.detail).replace(QLatin1Char('\n'), QLatin1Char(' ')) +
                    Cli::tr("）");
        if (result.framesSent > 0 && result.framesSent < kChannelCount)
            line += Cli::tr("，只写入了%1个信道").arg(result.framesSent);
        printLine(stdout, line);
    }
    return fleet.succeeded() ? kSucceeded : kFailed;
}

} // namespace vq::cli
