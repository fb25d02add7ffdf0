#include "cli/Output.h"
#include "cli/Verbs.h"

#include "plan/LinkTexts.h"
#include "plan/PlanFrames.h"
#include "plan/StoreTexts.h"

namespace vq::cli {

int runCheck(const Command &command)
{
    Programmer programmer;
    if (auto failed = openExisting(programmer, command.database))
        return *failed;
    const PlanRows rows = programmer.editor().plan();
    if (rows.size() < static_cast<std::size_t>(kChannelCount))
        return fail(texts::kTooFewRows50);
    const PlanFrames plan = programmer.transfers().judgedPlan();
    for (const PlanFrames::Problem &problem : plan.problems)
        printLine(stdout, texts::unencodableRow(problem.channel) + colon() + problem.why);
    if (plan.ok())
        printLine(stdout, Cli::tr("全部%1个信道都可以写入").arg(kChannelCount));
    // Where the user may transmit: said, and a failure, but never a refusal
    // of the plan itself.
    const std::vector<AirFlag> flags = checkAir(shippedAirRules(), rows, command.air);
    for (const AirFlag &flag : flags)
        printLine(stdout, Cli::tr("第%1信道：%2").arg(flag.row + 1).arg(airFlagText(shippedAirRules(), flag)));
    if (command.air.isSet() && flags.empty())
        printLine(stdout, Cli::tr("所有发射频率都符合%1的频率规则").arg(regionName(command.air.region)));
    return plan.ok() && flags.empty() ? kSucceeded : kFailed;
}

} // namespace vq::cli
