#include "radio/DeviceAccess.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace vq {

namespace {

QString systemWords(const QString &device, int error)
{
    return QStringLiteral("%1: %2").arg(device, QString::fromLocal8Bit(std::strerror(error)));
}

// The kernel files every character device under a class; a serial port
// (and any terminal) is of class "tty". A pseudo-terminal has no entry, and
// without /sys nothing can be told: both pass.
bool classedAsOtherThanTty(const struct stat &st)
{
    const QString entry = QStringLiteral("/sys/dev/char/%1:%2/subsystem").arg(major(st.st_rdev)).arg(minor(st.st_rdev));
    const QString subsystem = QFileInfo(entry).canonicalFilePath();
    return !subsystem.isEmpty() && QFileInfo(subsystem).fileName() != QLatin1String("tty");
}

} // namespace

DeviceCheck inspectDevice(const QString &path)
{
    DeviceCheck check;
    if (path.isEmpty()) {
        check.detail = QStringLiteral("no device given");
        return check;
    }
    // Two names for one port (a by-id link and its tty) are one device.
    check.device = QFileInfo(path).canonicalFilePath();
    if (check.device.isEmpty()) {
        check.detail = systemWords(path, ENOENT);
        return check;
    }
    const QByteArray native = QFile::encodeName(check.device);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        check.detail = systemWords(check.device, errno);
        return check;
    }
    if (!S_ISCHR(st.st_mode)) {
        check.state = DeviceState::NotSerial;
        check.detail = QStringLiteral("%1: not a character device").arg(check.device);
        return check;
    }
    if (classedAsOtherThanTty(st)) {
        check.state = DeviceState::NotSerial;
        check.detail = QStringLiteral("%1: not a terminal device").arg(check.device);
        return check;
    }
    if (::access(native.constData(), R_OK | W_OK) != 0) {
        const int error = errno;
        check.state = (error == EACCES || error == EPERM) ? DeviceState::NoPermission : DeviceState::Missing;
        check.detail = systemWords(check.device, error);
        return check;
    }
    check.state = DeviceState::Free;
    return check;
}

int openLocked(const QString &device, DeviceCheck &check)
{
    const QByteArray native = QFile::encodeName(device);
    // Non-blocking: a modem line without carrier would otherwise hold the
    // open until carrier comes.
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        check.detail = systemWords(device, error);
        // A terminal in exclusive mode refuses every other open with EBUSY.
        check.state = error == EBUSY                        ? DeviceState::InUse
                      : (error == EACCES || error == EPERM) ? DeviceState::NoPermission
                      : error == ENOENT                     ? DeviceState::Missing
                                                            : DeviceState::NotSerial;
        return -1;
    }
    termios attributes {};
    if (::tcgetattr(fd, &attributes) != 0) {
        check.state = DeviceState::NotSerial;
        check.detail = QStringLiteral("%1: not a terminal").arg(device);
        ::close(fd);
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        check.state = DeviceState::InUse;
        check.detail = QStringLiteral("%1: locked by another program").arg(device);
        ::close(fd);
        return -1;
    }
    check.state = DeviceState::Free;
    return fd;
}

DeviceCheck checkDevice(const QString &path)
{
    DeviceCheck check = inspectDevice(path);
    if (check.state != DeviceState::Free)
        return check;
    const int fd = openLocked(check.device, check);
    if (fd >= 0)
        ::close(fd);
    return check;
}

} // namespace vq
