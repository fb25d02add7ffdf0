#include "cli/Verbs.h"

#include "channels/ValueDomains.h"
#include "plan/CableCheck.h"
#include "plan/CsvExchange.h"
#include "plan/FleetWrite.h"
#include "plan/PlanFrames.h"
#include "plan/PortInventory.h"
#include "plan/Programmer.h"
#include "radio/PortProbe.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <memory>

#include <cstdio>
#include <unistd.h>

namespace vq::cli {

namespace {

using Interrupts = std::function<void(std::function<void()>)>;

// The joints between the parts of a line follow the language too: Chinese
// punctuation is full-width.
QString colon()
{
    return Cli::tr("：");
}

void printLine(std::FILE *to, const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), to);
    std::fflush(to);
}

// One line: the text and, after a colon, what the user can do or why.
QString lineOf(const Notice &notice)
{
    QString informative = notice.informative;
    informative.replace(QLatin1Char('\n'), Cli::tr("；"));
    QString text = notice.text.trimmed();
    if (!informative.trimmed().isEmpty())
        text += colon() + informative.trimmed();
    return text;
}

// Every notice of a result on stderr, failures and warnings alike.
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

bool progressShown()
{
    return ::isatty(STDERR_FILENO) == 1;
}

// A store a verb only reads from must already be there: a mistyped name
// would otherwise leave a new empty database behind.
std::optional<int> openExisting(Programmer &programmer, const QString &path)
{
    if (!QFileInfo::exists(path))
        return fail(texts::kStoreCannotOpen + path + colon() + Cli::tr("文件不存在"));
    const Result opened = programmer.openStore(path);
    if (!opened.ok)
        return report(opened);
    return std::nullopt;
}

int runPorts(const Command &command)
{
    PortSetup setup;
    const QList<PortEntry> entries = listSerialDevices(setup);
    if (command.json) {
        QJsonArray list;
        for (const PortEntry &e : entries)
            list.append(QJsonObject{{QStringLiteral("path"), e.path},
                                    {QStringLiteral("stableName"), e.stableName},
                                    {QStringLiteral("state"), stateText(e.state)},
                                    {QStringLiteral("holder"), e.holder},
                                    {QStringLiteral("description"), e.description},
                                    {QStringLiteral("manufacturer"), e.manufacturer},
                                    {QStringLiteral("serialNumber"), e.serialNumber},
                                    {QStringLiteral("usbId"), e.usbId}});
        std::fputs(QJsonDocument(list).toJson(QJsonDocument::Indented).constData(), stdout);
        return kSucceeded;
    }
    for (const PortEntry &e : entries) {
        QStringList parts{e.path, stateText(e.state)};
        for (const QString &extra : {e.holder, e.usbId, e.description, e.stableName})
            if (!extra.isEmpty())
                parts << extra;
        printLine(stdout, parts.join(QLatin1Char('\t')));
    }
    return kSucceeded;
}

// The radio's answer settles it; only a device that gives none is walked
// through the cable check, to say what stands in the way.
int runProbe(const Command &command)
{
    PortProbe probe;
    QEventLoop loop;
    ProbeOutcome outcome;
    QObject::connect(&probe, &PortProbe::finished, &loop, [&](const ProbeOutcome &o) {
        outcome = o;
        loop.quit();
    });
    probe.start(command.ports.first());
    loop.exec();
    if (outcome.kind == ProbeOutcome::Kind::Answered) {
        printLine(stdout, command.ports.first() + colon() + Cli::tr("对讲机已应答"));
        return kSucceeded;
    }
    CableCheck check;
    QObject::connect(&check, &CableCheck::finished, &loop, &QEventLoop::quit);
    check.start(command.ports.first());
    loop.exec();
    for (const QString &line : check.lines())
        printLine(stdout, line);
    return kFailed;
}

int runCheck(const Command &command)
{
    Programmer programmer;
    if (auto failed = openExisting(programmer, command.database))
        return *failed;
    if (programmer.store().rowCount() < kChannelCount)
        return fail(texts::kTooFewRows50);
    const PlanFrames plan = encodePlan(planRows(programmer.store()));
    for (const PlanFrames::Problem &problem : plan.problems)
        printLine(stdout, texts::unencodableRow(problem.channel) + colon() + problem.why);
    if (plan.ok())
        printLine(stdout, Cli::tr("全部%1个信道都可以写入").arg(kChannelCount));
    return plan.ok() ? kSucceeded : kFailed;
}

int runExport(const Command &command)
{
    Programmer programmer;
    if (auto failed = openExisting(programmer, command.database))
        return *failed;
    const CsvLayout layout = command.layout == QLatin1String("common") ? CsvLayout::Common : CsvLayout::Own;
    if (command.file == QLatin1String("-")) {
        QByteArray bytes;
        const Result made = makeCsv(planRows(programmer.store()), layout, bytes);
        if (!made.ok)
            return report(made);
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? kSucceeded : fail(texts::kFileSaveFailed);
    }
    return report(programmer.exportCsv(layout, [&command] { return command.file; }));
}

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
    return report(programmer.importCsv([&command] { return command.file; }));
}

// A store of its own in a scratch folder, for a plan that lives only in a
// CSV file: the same rules apply as to the real store, and the real one is
// never touched.
struct ScratchStore {
    QTemporaryDir folder;
    QString path() const { return folder.filePath(QStringLiteral("plan.db")); }
};

int runRead(const Command &command, const Interrupts &onInterrupt)
{
    Programmer programmer;
    ScratchStore scratch;
    // With only --csv the read goes to the file and no store changes.
    const bool toStore = command.databaseGiven || command.csv.isEmpty();
    const QString storePath = toStore ? command.database : scratch.path();
    if (!toStore && !scratch.folder.isValid())
        return fail(texts::kStoreCannotOpen + scratch.folder.errorString());
    const Result opened = programmer.openStore(storePath);
    if (!opened.ok)
        return report(opened);
    PortChoice choice;
    choice.devices = {command.ports.first(), QString()};
    programmer.usePorts(choice);
    const Result port = programmer.openPort();
    if (!port.ok)
        return fail(lineOf(port.notices.first()));

    QEventLoop loop;
    bool stored = false;
    QString failure;
    QObject::connect(&programmer, &Programmer::readStored, &loop, [&] {
        stored = true;
        loop.quit();
    });
    QObject::connect(&programmer, &Programmer::notice, &loop, [&](const Notice &notice) {
        failure = lineOf(notice);
        loop.quit();
    });
    if (progressShown())
        QObject::connect(&programmer, &Programmer::progressChanged, &loop, [](int value) {
            // The bar goes back to 0 when the read ends.
            if (value > 0)
                std::fprintf(stderr, "\r%s %d%%", qPrintable(texts::kStatusReading), value);
        });
    onInterrupt([&] {
        programmer.cancelTransfer([] { return true; });
        failure = Cli::tr("已中止：没有保存任何数据");
        loop.quit();
    });
    const Result started = programmer.read();
    if (!started.ok)
        return report(started);
    loop.exec();
    onInterrupt({});
    if (progressShown())
        std::fputs("\n", stderr);
    if (!stored)
        return fail(failure.isEmpty() ? texts::kReadError : failure);
    if (!command.csv.isEmpty()) {
        const CsvLayout layout =
            command.layout == QLatin1String("common") ? CsvLayout::Common : CsvLayout::Own;
        const Result saved = programmer.exportCsv(layout, [&command] { return command.csv; });
        if (!saved.ok)
            return report(saved);
    }
    printLine(stderr, Cli::tr("已读取%1个信道").arg(kChannelCount));
    return kSucceeded;
}

int runWrite(const Command &command, const Interrupts &onInterrupt)
{
    Programmer programmer;
    ScratchStore scratch;
    if (command.csv.isEmpty()) {
        if (auto failed = openExisting(programmer, command.database))
            return *failed;
    } else {
        if (!scratch.folder.isValid())
            return fail(texts::kStoreCannotOpen + scratch.folder.errorString());
        const Result opened = programmer.openStore(scratch.path());
        if (!opened.ok)
            return report(opened);
        const Result imported = programmer.importCsv([&command] { return command.csv; });
        if (!imported.ok)
            return report(imported);
    }
    if (programmer.store().rowCount() < kChannelCount)
        return fail(texts::kTooFewRows50);
    const PlanFrames plan = encodePlan(planRows(programmer.store()));
    if (!plan.ok()) {
        const PlanFrames::Problem &first = plan.problems.front();
        return fail(texts::unencodableRow(first.channel) + colon() + first.why);
    }

    FleetWrite fleet;
    QEventLoop loop;
    QObject::connect(&fleet, &FleetWrite::finished, &loop, &QEventLoop::quit);
    if (progressShown()) {
        auto shown = std::make_shared<std::vector<int>>(static_cast<std::size_t>(command.ports.size()), 0);
        QObject::connect(&fleet, &FleetWrite::portProgress, &loop, [shown, &command](int port, int value) {
            (*shown)[static_cast<std::size_t>(port)] = value;
            QStringList parts;
            for (qsizetype i = 0; i < command.ports.size(); ++i)
                parts << QStringLiteral("%1 %2%").arg(command.ports.at(i)).arg((*shown)[std::size_t(i)]);
            std::fprintf(stderr, "\r%s", qPrintable(parts.join(QStringLiteral("  "))));
        });
    }
    onInterrupt([&fleet] { fleet.cancel(); });
    if (!fleet.start(command.ports, plan.frames, command.verify))
        return fail(texts::kPortFailed);
    // What went out is kept in the store's history, as the window does; a
    // plan from a CSV file has no store to keep it in.
    if (command.csv.isEmpty() &&
        programmer.history().add(ChannelHistory::Reason::Write, command.ports.join(QStringLiteral(", ")),
                                 plan.sent) == ChannelHistory::Added::Failed)
        printLine(stderr, texts::kHistoryUnavailable + colon() + programmer.history().problem());
    if (fleet.isRunning())
        loop.exec();
    onInterrupt({});
    if (progressShown())
        std::fputs("\n", stderr);
    // One line a radio, in the order given, and whether it holds the plan.
    for (const FleetWrite::PortResult &result : fleet.results()) {
        QString line = result.device + colon() + result.text;
        if (!result.detail.isEmpty())
            line += Cli::tr("（") + QString(result.detail).replace(QLatin1Char('\n'), QLatin1Char(' ')) +
                    Cli::tr("）");
        if (result.framesSent > 0 && result.framesSent < kChannelCount)
            line += Cli::tr("，只写入了%1个信道").arg(result.framesSent);
        printLine(stdout, line);
    }
    return fleet.succeeded() ? kSucceeded : kFailed;
}

} // namespace

int runCommand(const Command &command, std::function<void(std::function<void()>)> onInterrupt)
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
    if (verb == QLatin1String("import"))
        return runImport(command);
    if (verb == QLatin1String("read"))
        return runRead(command, onInterrupt);
    if (verb == QLatin1String("write"))
        return runWrite(command, onInterrupt);
    return kUsageError;
}

} // namespace vq::cli
