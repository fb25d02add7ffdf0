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
    return plan.ok() ? kSucceeded : kFailed;
}

} // namespace vq::cli
