#include "cli/Output.h"
#include "cli/Verbs.h"

#include "plan/CsvExchange.h"
#include "plan/FileTexts.h"

namespace vq::cli {

int runExport(const Command &command)
{
    Programmer programmer;
    if (auto failed = openExisting(programmer, command.database))
        return *failed;
    if (command.file == QLatin1String("-")) {
        QByteArray bytes;
        const Result made = programmer.files().csvBytes(command.layout, bytes);
        if (!made.ok)
            return report(made);
        writeOut(bytes);
        return kSucceeded;
    }
    // Exactly the name given: a script names the file it will look for.
    return report(programmer.files().exportCsvTo(command.layout, command.file));
}

} // namespace vq::cli
