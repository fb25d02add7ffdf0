#include "cli/Output.h"
#include "cli/Verbs.h"

#include "plan/CsvExchange.h"
#include "plan/PlanFrames.h"

namespace vq::cli {

int runExport(const Command &command)
{
    Programmer programmer;
    if (auto failed = openExisting(programmer, command.database))
        return *failed;
    if (command.file == QLatin1String("-")) {
        QByteArray bytes;
        const Result made = makeCsv(planRows(programmer.store()), command.layout, bytes);
        if (!made.ok)
            return report(made);
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? kSucceeded : fail(texts::kFileSaveFailed);
    }
    return report(programmer.exportCsv(command.layout, [&command] { return command.file; }));
}

} // namespace vq::cli
