#include "support/PtyPair.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace vq::test {

QByteArray PtyPair::readAtLeast(qsizetype n, int timeoutMs)
{
    QByteArray out;
    QDeadlineTimer deadline(timeoutMs);
    while (out.size() < n && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        out += readAvailable();
        if (out.size() < n)
            QThread::usleep(500);
    }
    return out;
}

QByteArray runAsAnotherUser(const QStringList &arguments)
{
    QProcess child;
    child.start(QStringLiteral("setpriv"), QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                                       QStringLiteral("--clear-groups"),
                                                       QCoreApplication::applicationFilePath()} +
                                               arguments);
    child.waitForFinished(10000);
    return child.readAllStandardOutput().trimmed();
}

DeviceHolder::DeviceHolder(const QString &device)
{
    // flock(1) opens the device, takes the lock and says so, then sleeps in
    // its own process (no fork), so killing it lets the device go at once.
    process_.start(QStringLiteral("flock"),
                   {QStringLiteral("-x"), QStringLiteral("-n"), QStringLiteral("-F"), device,
                    QStringLiteral("sh"), QStringLiteral("-c"), QStringLiteral("echo held; exec sleep 60")});
    if (process_.waitForStarted(5000) && process_.waitForReadyRead(5000))
        holding_ = process_.readAllStandardOutput().startsWith("held");
}

DeviceHolder::~DeviceHolder()
{
    process_.kill();
    process_.waitForFinished(5000);
}

} // namespace vq::test
