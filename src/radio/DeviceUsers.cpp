#include "radio/DeviceUsers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <cstring>
#include <unistd.h>

namespace vq {

namespace {

// Serial programs name their lock after the device's last name (LCK..ttyUSB0);
// some write the path under /dev with its slashes as underscores (LCK..pts_3).
QStringList lockNames(const QString &device)
{
    QStringList names{QStringLiteral("LCK..") + QFileInfo(device).fileName()};
    const QString dev = QStringLiteral("/dev/");
    if (device.startsWith(dev) && device.indexOf(QLatin1Char('/'), dev.size()) > 0)
        names << QStringLiteral("LCK..") + device.mid(dev.size()).replace(QLatin1Char('/'), QLatin1Char('_'));
    return names;
}

// A lock file holds the pid as text (padded to ten places, maybe followed by
// the program and user) or, from old programs, as four binary bytes.
qint64 lockFilePid(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray content = file.read(128);
    const QList<QByteArray> words = content.simplified().split(' ');
    bool ok = false;
    const qint64 pid = words.first().toLongLong(&ok);
    if (ok)
        return pid;
    if (content.size() == 4) {
        qint32 binary = 0;
        std::memcpy(&binary, content.constData(), sizeof binary);
        return binary;
    }
    return 0;
}

bool isAlive(qint64 pid, const QString &procRoot)
{
    return pid > 0 && QFileInfo(procRoot + QLatin1Char('/') + QString::number(pid)).isDir();
}

QList<qint64> processIds(const QString &procRoot)
{
    QList<qint64> pids;
    for (const QString &entry : QDir(procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (ok && pid > 0)
            pids << pid;
    }
    return pids;
}

QString linkTarget(const QString &path)
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer);
    return n > 0 ? QFile::decodeName(QByteArray(buffer, n)) : QString();
}

// Calls `visit` with each process (but `ownPid`) and the target of each of
// its descriptors; `visit` returns true to go on with the next process.
template<typename Visit>
void forEachOpenFile(const QString &procRoot, qint64 ownPid, Visit visit)
{
    for (const qint64 pid : processIds(procRoot)) {
        if (pid == ownPid)
            continue;
        const QString fdFolder = QStringLiteral("%1/%2/fd").arg(procRoot).arg(pid);
        // System: descriptors are links, and those to sockets or pipes lead nowhere.
        const QStringList fds =
            QDir(fdFolder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &fd : fds)
            if (visit(pid, linkTarget(fdFolder + QLatin1Char('/') + fd)))
                break;
    }
}

} // namespace

qint64 lockFileHolder(const QString &device, const QStringList &lockFolders, const QString &procRoot)
{
    for (const QString &folder : lockFolders) {
        for (const QString &name : lockNames(device)) {
            const qint64 pid = lockFilePid(folder + QLatin1Char('/') + name);
            if (isAlive(pid, procRoot))
                return pid;
        }
    }
    return 0;
}

QString processName(qint64 pid, const QString &procRoot)
{
    QFile comm(QStringLiteral("%1/%2/comm").arg(procRoot).arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.read(256).trimmed());
}

QList<ProcessInfo> processesUsing(const QString &device, qint64 ownPid, const QString &procRoot)
{
    QList<ProcessInfo> users;
    forEachOpenFile(procRoot, ownPid, [&](qint64 pid, const QString &target) {
        if (target != device)
            return false;
        users << ProcessInfo{pid, processName(pid, procRoot)};
        return true;
    });
    return users;
}

QHash<QString, ProcessInfo> firstUsers(const QStringList &devices, qint64 ownPid, const QString &procRoot)
{
    QHash<QString, ProcessInfo> found;
    if (devices.isEmpty())
        return found;
    forEachOpenFile(procRoot, ownPid, [&](qint64 pid, const QString &target) {
        if (!devices.contains(target) || found.contains(target))
            return false;
        found.insert(target, ProcessInfo{pid, processName(pid, procRoot)});
        return false;
    });
    return found;
}

QList<ProcessInfo> processesNamed(const QStringList &names, const QString &procRoot)
{
    QList<ProcessInfo> found;
    for (const qint64 pid : processIds(procRoot)) {
        const QString name = processName(pid, procRoot);
        if (names.contains(name))
            found << ProcessInfo{pid, name};
    }
    return found;
}

} // namespace vq
