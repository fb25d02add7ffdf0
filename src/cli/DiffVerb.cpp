#include "cli/Output.h"
#include "cli/Verbs.h"
#include "plan/LinkTexts.h"
#include "plan/Notice.h"

#include "channels/ValueDomains.h"


namespace vq::cli {

int runDiff(const Command &command, const Interrupts &onInterrupt)
{
    Programmer programmer;
    ScratchStore scratch;
    if (auto failed = openPlan(programmer, command, scratch))
        return *failed;
    if (auto failed = openOnePort(programmer, command.ports.first()))
        return *failed;

    // The window's comparison: the radio read at the line's speed, compared
    // with the plan as a write would send it; nothing stored but the read
    // snapshot in the store's history.
    std::optional<std::vector<FieldDifference>> found;
    const int read = awaitRead(
        programmer, onInterrupt, Cli::tr("已中止"), [&programmer] { return programmer.transfers().compare(); },
        [&programmer, &found](QObject *context, const std::function<void()> &done) {
            QObject::connect(&programmer.transfers(), &Transfers::compared, context,
                             [&found, done](const std::vector<FieldDifference> &differences) {
                                 found = differences;
                                 done();
                             });
        });
    if (read != kSucceeded)
        return read;
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
