#include "cli/Output.h"
#include "cli/Verbs.h"

#include "plan/BandChart.h"

namespace vq::cli {

int runChart(const Command &command)
{
    Programmer programmer;
    if (auto failed = openExisting(programmer, command.database))
        return *failed;
    // Marked by the rules of the air of --region, as check marks them.
    const PlanRows plan = programmer.editor().plan();
    const BandChart chart = layOutChart(plan, checkAir(shippedAirRules(), plan, command.air), kChartFileSize);
    return report(saveChart(command.file, chart));
}

} // namespace vq::cli
