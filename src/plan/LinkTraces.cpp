#include "plan/LinkTraces.h"

#include "plan/FileSave.h"
#include "plan/Notice.h"
#include "plan/PortSettings.h"
#include "radio/SerialLink.h"
#include "plan/LinkTexts.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vq {

namespace {

// Traces saved one per support request would otherwise pile up for ever;
// only a file just written into the log folder prunes it, the newest first
// kept (that file among them).
void pruneLogs(const QString &written)
{
    const QDir folder(DataFolders::logFolder());
    if (QFileInfo(written).absoluteDir() != folder)
        return;
    const QFileInfoList files = folder.entryInfoList(QDir::Files, QDir::Time);
    for (qsizetype i = DataFolders::kLogsKept; i < files.size(); ++i)
        QFile::remove(files.at(i).filePath());
}

Notice traceFailed(const QString &path, const QString &why)
{
    return withReason(errorNotice(texts::kTraceWriteFailed),
                      QDir::toNativeSeparators(path) + QCoreApplication::translate("vq::texts", "：") + why);
}

} // namespace

QString DataFolders::dataFolder()
{
    // Not AppDataLocation: the window and the command-line tool have
    // different application names but share the store.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') +
           userFolderName();
}

QString DataFolders::defaultStorePath()
{
    return dataFolder() + QStringLiteral("/vq3390R.db");
}

QString DataFolders::logFolder()
{
    return dataFolder() + QStringLiteral("/log");
}

QString DataFolders::newTracePath()
{
    QDir().mkpath(logFolder());
    return logFolder() +
           QDateTime::currentDateTime().toString(QStringLiteral("'/trace-'yyyyMMdd-HHmmss'.txt'"));
}

LinkTraces::LinkTraces(SerialLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.trace().setListener([this](const LinkTrace::Entry &entry) { onTraced(entry); });
}

LinkTraces::~LinkTraces()
{
    link_.trace().setListener({});
}

QByteArray LinkTraces::traceHeader() const
{
    const int port = link_.commPort();
    return texts::traceHeader(QStringLiteral(VQ_VERSION),
                              QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                              port, link_.devicePath(port), link_.isOpen())
        .toUtf8();
}

Result LinkTraces::saveTrace(const PathChooser &choosePath)
{
    QString path = choosePath();
    if (path.isEmpty())
        return Result::nothing();
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".txt");
    QByteArray text = traceHeader();
    for (const LinkTrace::Entry &entry : link_.trace().entries())
        text += formatTraceEntry(entry);
    const Result saved = saveFile(path, text);
    if (saved.ok)
        pruneLogs(path);
    return saved;
}

Result LinkTraces::startTrace(const QString &path)
{
    // A live trace appends as it goes; it may not go where a save may not.
    if (const QString why = saveRefusal(path); !why.isEmpty())
        return Result::refused(traceFailed(path, why));
    if (!traceFile_.open(path, traceHeader()))
        return Result::refused(traceFailed(path, traceFile_.errorString()));
    pruneLogs(path);
    return {};
}

void LinkTraces::onTraced(const LinkTrace::Entry &entry)
{
    if (!traceFile_.isOpen() || traceFile_.append(entry))
        return;
    const Notice failed = traceFailed(traceFile_.path(), traceFile_.errorString());
    // Told after the send or arrival that met it, never from inside it: a
    // message box there would run the transfer's timers under the link.
    QMetaObject::invokeMethod(
        this, [this, failed] { emit notice(failed); }, Qt::QueuedConnection);
}

} // namespace vq
