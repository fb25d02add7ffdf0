#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace vq {

// Who else has a serial device, as far as the system lets this user see.
// The folders are parameters so that a test can lay out a tree of its own.

struct ProcessInfo {
    qint64 pid = 0;
    QString name; // from <proc>/<pid>/comm
};

inline const QStringList kLockFolders = {QStringLiteral("/var/lock"), QStringLiteral("/run/lock")};
inline const QString kProcRoot = QStringLiteral("/proc");

// The process named by a lock file "LCK..<name>" for `device` in one of
// `lockFolders`, when that process is still alive (its folder under
// `procRoot` exists); 0 when there is none or the file is stale.
qint64 lockFileHolder(const QString &device, const QStringList &lockFolders = kLockFolders,
                      const QString &procRoot = kProcRoot);

// The processes that have `device` open, except `ownPid`, found through
// <procRoot>/<pid>/fd; processes of other users stay hidden to a non-root user.
QList<ProcessInfo> processesUsing(const QString &device, qint64 ownPid, const QString &procRoot = kProcRoot);

// For each of `devices`, the first process (but `ownPid`) that has it open,
// in one pass over the processes.
QHash<QString, ProcessInfo> firstUsers(const QStringList &devices, qint64 ownPid,
                                       const QString &procRoot = kProcRoot);
// Running processes whose command name is one of `names`.
QList<ProcessInfo> processesNamed(const QStringList &names, const QString &procRoot = kProcRoot);

// The command name of a process, empty when it is gone.
QString processName(qint64 pid, const QString &procRoot = kProcRoot);

} // namespace vq
