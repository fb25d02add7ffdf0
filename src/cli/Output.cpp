#include "cli/Output.h"

#include "cli/Verbs.h"
#include "plan/StoreTexts.h"

#include <QFileInfo>

namespace vq::cli {

QString colon()
{
    return Cli::tr("：");
}

void printLine(std::FILE *to, const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), to);
    std::fflush(to);
}

QString lineOf(const Notice &notice)
{
    QString informative = notice.informative;
    informative.replace(QLatin1Char('\n'), Cli::tr("；"));
    QString text = notice.text.trimmed();
    if (!informative.trimmed().isEmpty()) {
        // A heading that already ends in a colon keeps only its own.
        if (text.endsWith(colon().trimmed()) || text.endsWith(QLatin1Char(':')))
            text.chop(1);
        text += colon() + informative.trimmed();
    }
    return text;
}

int report(const Result &result)
{
    for (const Notice &notice : result.notices)
        printLine(stderr, lineOf(notice));
    return result.ok ? kSucceeded : kFailed;
}

int fail(const QString &line)
{
    printLine(stderr, line);
    return kFailed;
}

std::optional<int> openExisting(Programmer &programmer, const QString &path)
{
    if (!QFileInfo::exists(path))
        return fail(texts::kStoreCannotOpen + path + colon() + Cli::tr("文件不存在"));
    const Result opened = programmer.openStore(path);
    if (!opened.ok)
        return report(opened);
    return std::nullopt;
}

} // namespace vq::cli
