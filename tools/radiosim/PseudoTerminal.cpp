#include "PseudoTerminal.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vq::sim {

namespace {

// How long a hang-up waits for the far side to read what already went out.
constexpr qint64 kHangUpDrainNs = 500'000'000;
// Characters written to the master reach the slave's input queue shortly after, not at once.
constexpr qint64 kInFlightNs = 5'000'000;

QString errnoText(const char *what, int error)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(error)));
}

bool setFdFlag(int fd, int getCmd, int setCmd, int flag)
{
    const int flags = ::fcntl(fd, getCmd);
    return flags >= 0 && ::fcntl(fd, setCmd, flags | flag) == 0;
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    close();
    if (!linkPath_.isEmpty() && QFileInfo(linkPath_).isSymLink())
        QFile::remove(linkPath_);
}

bool PseudoTerminal::open()
{
    const auto fail = [this](const char *what, int error) {
        error_ = errnoText(what, error);
        close();
        return false;
    };
    clock_.start();
    if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return fail("openpty", errno);
    }
    char name[256];
    if (const int rc = ::ttyname_r(slave_, name, sizeof name); rc != 0)
        return fail("ttyname_r", rc);
    devicePath_ = QFile::decodeName(name);

    // Raw on the slave, or the line discipline would echo our own output back to us
    // and mangle CR/LF; the program sets its own mode again when it opens the port.
    termios tio{};
    if (::tcgetattr(slave_, &tio) != 0)
        return fail("tcgetattr", errno);
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    // Not cloexec, a child (e.g. the program under test started by QProcess) would
    // inherit the master and keep the line alive after a hang-up.
    if (::tcsetattr(slave_, TCSANOW, &tio) != 0 || !setFdFlag(master_, F_GETFL, F_SETFL, O_NONBLOCK) ||
        !setFdFlag(master_, F_GETFD, F_SETFD, FD_CLOEXEC) || !setFdFlag(slave_, F_GETFD, F_SETFD, FD_CLOEXEC))
        return fail("configuring the pseudo-terminal", errno);

    // Reading waits for listen(); a bare line read by polling would keep the notifier firing.
    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    readNotifier_->setEnabled(false);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PseudoTerminal::readyRead);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, [this] {
        writeNotifier_->setEnabled(false);
        emit writable();
    });
    return true;
}

bool PseudoTerminal::createLink(const QString &path)
{
    if (QFileInfo(path).isSymLink())
        QFile::remove(path); // left over from an earlier run
    if (!QFile::link(devicePath_, path)) {
        error_ = QFileInfo::exists(path) ? QStringLiteral("%1 exists and is not a symbolic link").arg(path)
                                         : QStringLiteral("cannot create link %1").arg(path);
        return false;
    }
    linkPath_ = path;
    return true;
}

void PseudoTerminal::listen()
{
    readNotifier_->setEnabled(true);
}

QByteArray PseudoTerminal::readAll()
{
    QByteArray out;
    char buffer[4096];
    ssize_t n = 0;
    while (isUp() && ((n = ::read(master_, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)))
        out.append(buffer, n > 0 ? n : 0);
    // EIO/EOF means no slave is open; cannot happen while we keep one, but never spin on it.
    if (isUp() && (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)))
        readNotifier_->setEnabled(false);
    return out;
}

qint64 PseudoTerminal::write(const char *data, qint64 size)
{
    ssize_t n = 0;
    while ((n = ::write(master_, data, size_t(size))) < 0 && errno == EINTR) {
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        writeNotifier_->setEnabled(true);
        return 0;
    }
    if (n < 0)
        error_ = errnoText("write", errno);
    else
        lastWriteNs_ = clock_.nsecsElapsed();
    return n;
}

void PseudoTerminal::hangUp()
{
    if (!isUp())
        return;
    // Closing the master discards whatever the far side has not read yet, but on a real
    // line the characters already sent have arrived; so close only once they are read.
    readNotifier_->setEnabled(false);
    writeNotifier_->setEnabled(false);
    hangingUp_ = true;
    hangUpStartNs_ = clock_.nsecsElapsed();
    finishHangUp();
}

void PseudoTerminal::finishHangUp()
{
    const qint64 now = clock_.nsecsElapsed();
    int unread = 0;
    const bool known = ::ioctl(slave_, TIOCINQ, &unread) == 0;
    if (known && (unread > 0 || now - lastWriteNs_ < kInFlightNs) && now - hangUpStartNs_ < kHangUpDrainNs) {
        QTimer::singleShot(2, Qt::PreciseTimer, this, &PseudoTerminal::finishHangUp);
        return;
    }
    close();
    hungUp_ = true;
    emit hungUp();
}

void PseudoTerminal::close()
{
    // Notifiers go quiet before their fd goes, or the event loop would watch a stale number.
    for (QSocketNotifier *notifier : {readNotifier_, writeNotifier_}) {
        if (notifier)
            notifier->setEnabled(false);
    }
    for (int *fd : {&master_, &slave_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    hangingUp_ = false;
}

} // namespace vq::sim
