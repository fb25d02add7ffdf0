#include "cli/Output.h"
#include "cli/Verbs.h"
#include "plan/FileTexts.h"

#include <QFileInfo>

namespace vq::cli {

int runImport(const Command &command)
{
    Programmer programmer;
    // An import writes the store, so a missing one is created like the
    // window does; but not before the file has been found readable.
    const QFileInfo file(command.file);
    if (!file.isFile())
        return fail(texts::kFileFormat + colon() + command.file + colon() +
                    (file.exists() ? texts::kNotARegularFile : Cli::tr("文件不存在")));
    const Result opened = programmer.openStore(command.database);
    if (!opened.ok)
        return report(opened);
    return report(programmer.files().importCsv([&command] { return command.file; }));
}

} // namespace vq::cli
