#include "cli/Output.h"

#include "cli/Verbs.h"
#include "plan/StoreTexts.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vq::cli {

namespace {

int outputError = 0; // the first error that lost standard output
bool hungUp = false;

void checked(std::FILE *to, bool written)
{
    if ((!written || std::fflush(to) != 0) && to == stdout && outputError == 0)
        outputError = errno != 0 ? errno : EIO;
}

} // namespace

QString colon()
{
    return Cli::tr("：");
}

void printLine(std::FILE *to, const QString &line)
{
    errno = 0;
    checked(to, std::fputs(qPrintable(line + QLatin1Char('\n')), to) >= 0);
}

void writeOut(const QByteArray &bytes)
{
    errno = 0;
    checked(stdout,
            std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) ==
                static_cast<std::size_t>(bytes.size()));
}

void holdStandardStreams()
{
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            const int held = ::open("/dev/null", O_RDONLY);
            if (held >= 0 && held != fd) {
                ::dup2(held, fd);
                ::close(held);
            }
        }
}

void outputGone()
{
    hungUp = true;
}

int finishOutput(int status)
{
    errno = 0;
    checked(stdout, !std::ferror(stdout));
    if (outputError == 0 || hungUp)
        return status;
    printLine(stderr, Cli::tr("无法输出结果") + colon() + QString::fromLocal8Bit(std::strerror(outputError)));
    return status == kSucceeded ? kFailed : status;
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

std::optional<int> openOnePort(Programmer &programmer, const QString &device)
{
    PortChoice choice;
    choice.devices = {device, QString()};
    programmer.ports().usePorts(choice);
    const Result port = programmer.ports().openPort();
    if (!port.ok)
        return fail(lineOf(port.notices.first()));
    return std::nullopt;
}

std::optional<int> openPlan(Programmer &programmer, const Command &command, ScratchStore &scratch)
{
    if (command.csv.isEmpty())
        return openExisting(programmer, command.database);
    if (!scratch.folder.isValid())
        return fail(texts::kStoreCannotOpen + scratch.folder.errorString());
    const Result opened = programmer.openStore(scratch.path());
    if (!opened.ok)
        return report(opened);
    const Result imported = programmer.files().importCsv([&command] { return command.csv; });
    if (!imported.ok)
        return report(imported);
    return std::nullopt;
}

std::optional<int> openExisting(Programmer &programmer, const QString &path)
{
    if (!QFileInfo::exists(path))
        return fail(texts::kStoreCannotOpen + path + colon() + Cli::tr("文件不存在"));
    const Result opened = programmer.openStore(path);
    if (!opened.ok)
        return report(opened);
    if (const std::optional<Notice> cutShort = programmer.transfers().writeCutShort())
        printLine(stderr, lineOf(*cutShort));
    return std::nullopt;
}

} // namespace vq::cli
