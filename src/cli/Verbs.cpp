#include "cli/Verbs.h"

namespace vq::cli {

int runCommand(const Command &command, const Interrupts &onInterrupt)
{
    const QString &verb = command.verb;
    if (verb == QLatin1String("ports"))
        return runPorts(command);
    if (verb == QLatin1String("probe"))
        return runProbe(command);
    if (verb == QLatin1String("check"))
        return runCheck(command);
    if (verb == QLatin1String("export"))
        return runExport(command);
    if (verb == QLatin1String("sort"))
        return runSort(command);
    if (verb == QLatin1String("chart"))
        return runChart(command);
    if (verb == QLatin1String("report"))
        return runReport(command);
    if (verb == QLatin1String("import"))
        return runImport(command);
    if (verb == QLatin1String("read"))
        return runRead(command, onInterrupt);
    if (verb == QLatin1String("write"))
        return runWrite(command, onInterrupt);
    if (verb == QLatin1String("diff"))
        return runDiff(command, onInterrupt);
    return kUsageError;
}

} // namespace vq::cli
