#include "plan/SupportReport.h"

#include "plan/CableCheck.h"
#include "plan/FileSave.h"
#include "plan/Language.h"
#include "plan/LinkTraces.h"
#include "plan/PortInventory.h"
#include "plan/Programmer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

namespace vq {

namespace {

struct Report {
    Q_DECLARE_TR_FUNCTIONS(vq::report)
};

// A path inside the program's folders from ~; anything else by its file name only.
QString shownPath(const QString &path, const QStringList &ownFolders)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    for (const QString &folder : ownFolders)
        if (clean.startsWith(QDir::cleanPath(folder) + QLatin1Char('/'))) {
            const QString home = QDir::homePath();
            return clean.startsWith(home + QLatin1Char('/')) ? QStringLiteral("~") + clean.mid(home.size()) : clean;
        }
    return Report::tr("（程序文件夹以外）") + QLatin1Char('/') + QFileInfo(path).fileName();
}

void section(QStringList &out, const QString &title)
{
    out << QString() << QStringLiteral("== ") + title + QStringLiteral(" ==");
}

} // namespace

QStringList lookAtCable(Programmer &programmer)
{
    PortControl &ports = programmer.ports();
    const QString device = ports.deviceInUse().isEmpty() ? ports.portSetup().devices[0] : ports.deviceInUse();
    CableCheck check;
    check.setProbing(false);
    QEventLoop loop;
    QObject::connect(&check, &CableCheck::finished, &loop, &QEventLoop::quit);
    check.start(device);
    if (check.isRunning())
        loop.exec();
    return check.lines();
}

QString supportReport(Programmer &programmer, const QStringList &cableFindings)
{
    const PortSettings *settings = programmer.ports().settings();
    const QStringList own = {DataFolders::dataFolder(),
                             settings ? QFileInfo(settings->fileName()).absolutePath() : QString()};
    QStringList out;
    out << Report::tr("VQ4471R 诊断报告") << QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    section(out, Report::tr("程序"));
    out << QStringLiteral("vq4471r %1, Qt %2 (%3), %4")
               .arg(QStringLiteral(VQ_VERSION), QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR),
                    QSysInfo::buildAbi());
    section(out, Report::tr("系统"));
    out << QSysInfo::prettyProductName() << QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion() +
                                               QLatin1Char(' ') + QSysInfo::currentCpuArchitecture();
    out << Report::tr("语言：") + languageCode(languageInUse());
    section(out, Report::tr("设置"));
    if (settings)
        out << settings->entries();
    section(out, Report::tr("串口设备"));
    const PortSetup setup = programmer.ports().portSetup();
    out << Report::tr("当前端口：端口%1 %2（%3）")
               .arg(setup.activePort)
               .arg(programmer.ports().deviceInUse(), setup.activeOpen ? Report::tr("已打开") : Report::tr("未打开"));
    for (const PortEntry &e : listSerialDevices(setup)) {
        QStringList ports;
        for (int port : e.ports)
            ports << QString::number(port);
        out << QStringList{e.path, e.stableName, e.usbId, e.description, stateText(e.state), e.holder,
                           ports.isEmpty() ? QString() : Report::tr("端口") + ports.join(QLatin1Char('/'))}
                   .join(QStringLiteral(" | "));
    }
    section(out, Report::tr("线路检查（不向设备发送数据）"));
    out << cableFindings;
    section(out, Report::tr("信道数据库"));
    ChannelStore &store = programmer.store();
    if (!store.isOpen())
        out << Report::tr("没有打开信道数据库");
    else
        out << Report::tr("文件：") + shownPath(store.path(), own)
            << Report::tr("完整性检查：") + store.integrityCheck() << Report::tr("信道行数：%1").arg(store.rowCount())
            << Report::tr("历史快照：%1").arg(programmer.history().entries().size());
    section(out, Report::tr("通信记录"));
    const QFileInfoList traces = QDir(DataFolders::logFolder())
                                     .entryInfoList({QStringLiteral("trace-*.txt")}, QDir::Files, QDir::Time);
    for (qsizetype i = 0; i < traces.size() && i < kTracesQuoted; ++i) {
        QFile file(traces[i].absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const qint64 from = std::max<qint64>(file.size() - kTraceTail, 0);
        file.seek(from);
        out << QStringLiteral("--- %1 (%2 bytes%3) ---")
                   .arg(traces[i].fileName())
                   .arg(file.size())
                   .arg(from > 0 ? Report::tr("，只有结尾") : QString());
        out << QString::fromUtf8(file.readAll());
    }
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

Result saveSupportReport(Programmer &programmer, const QString &path)
{
    return saveFile(path, supportReport(programmer, lookAtCable(programmer)).toUtf8());
}

} // namespace vq
