#include "cli/Output.h"
#include "cli/Verbs.h"

#include "plan/SupportReport.h"

#include <QFileInfo>

namespace vq::cli {

int runReport(const Command &command)
{
    // The store and the ports as the window would have them; a store that
    // is not there is said in the report, not made.
    Programmer programmer;
    PortSettings settings;
    programmer.ports().usePorts(resolvePorts({}, {}, settings), &settings);
    if (QFileInfo::exists(command.database))
        programmer.openStore(command.database);
    return report(saveSupportReport(programmer, command.file));
}

} // namespace vq::cli
