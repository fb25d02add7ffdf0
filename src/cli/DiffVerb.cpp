#include "cli/Output.h"
#include "cli/Progress.h"
#include "cli/Verbs.h"
#include "plan/LinkTexts.h"
#include "plan/Notice.h"

#include "channels/ValueDomains.h"

#include <QEventLoop>

namespace vq::cli {

int runDiff(const Command &command, const Interrupts &onInterrupt)
{
    Programmer programmer;
    ScratchStore scratch;
    if (auto failed = openPlan(programmer, command, scratch))
        return *failed;
    PortChoice choice;
    choice.devices = {command.ports.first(), QString()};
    programmer.ports().usePorts(choice);
    const Result port = programmer.ports().openPort();
    if (!port.ok)
        return fail(lineOf(port.notices.first()));

    // The window's comparison: the radio read at the line's speed, compared
    // with the plan as a write would send it; nothing stored but the read
    // snapshot in the store's history.
    QEventLoop loop;
    std::optional<std::vector<FieldDifference>> found;
    QString failure;
    QObject::connect(&programmer.transfers(), &Transfers::compared, &loop,
                     [&](const std::vector<FieldDifference> &differences) {
                         found = differences;
                         loop.quit();
                     });
    QObject::connect(&programmer, &Programmer::notice, &loop, [&](const Notice &notice) {
        failure = lineOf(notice);
        loop.quit();
    });
    Progress progress({texts::kStatusReading});
    QObject::connect(&programmer, &Programmer::progressChanged, &loop, [&progress](int value) {
        if (value > 0)
            progress.show(0, value);
    });
    onInterrupt([&] {
        programmer.transfers().cancelTransfer([] { return true; });
        failure = Cli::tr("已中止");
        loop.quit();
    });
    const Result started = programmer.transfers().compare();
    if (!started.ok)
        return report(started);
    loop.exec();
    onInterrupt({});
    progress.end();
    if (!found)
        return fail(failure.isEmpty() ? texts::kReadError : failure);
    for (const FieldDifference &d : *found)
        printLine(stdout, Cli::tr("第%1信道 %2：对讲机 “%3”，计划 “%4”")
                              .arg(d.channel)
                              .arg(texts::fieldName(fieldNames()[static_cast<std::size_t>(d.field)]),
                                   QString::fromStdString(d.radio), QString::fromStdString(d.plan)));
    if (found->empty())
        printLine(stdout, texts::kRadioHoldsPlan);
    return found->empty() ? kSucceeded : kFailed;
}

} // namespace vq::cli
