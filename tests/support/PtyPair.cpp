#include "support/PtyPair.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace vq::test {

PtyPair::PtyPair()
{
    if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    termios raw{};
    ::tcgetattr(slave_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave_, TCSANOW, &raw);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    path_ = QString::fromLocal8Bit(::ptsname(master_));
}

PtyPair::~PtyPair()
{
    hangUp();
}

void PtyPair::hangUp()
{
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
}

QByteArray PtyPair::readAvailable()
{
    QByteArray out;
    char buffer[4096];
    while (master_ >= 0) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        out.append(buffer, n);
    }
    return out;
}

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

void PtyPair::write(const QByteArray &bytes)
{
    if (master_ >= 0) [[maybe_unused]]
        auto written = ::write(master_, bytes.constData(), static_cast<size_t>(bytes.size()));
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
