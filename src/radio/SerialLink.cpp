#include "radio/SerialLink.h"

#include "radio/DeviceAccess.h"

#include <QSerialPort>

#include <unistd.h>

namespace vq {

namespace {

// Replies the radio may leave unread for a long time (a poll that nobody
// answers, noise on an open line) must not grow without bound.
constexpr qsizetype kInboxLimit = 64 * 1024;
// Long enough for a whole write still in Qt's buffer, short enough that a
// line that takes nothing more cannot hold the program's end for long.
constexpr int kDrainMs = 2000;

SerialLink::OpenResult openResultOf(DeviceState state)
{
    switch (state) {
    case DeviceState::Free:
        break;
    case DeviceState::Missing:
        return SerialLink::OpenResult::Missing;
    case DeviceState::NotSerial:
        return SerialLink::OpenResult::NotSerial;
    case DeviceState::NoPermission:
        return SerialLink::OpenResult::NoPermission;
    case DeviceState::InUse:
        return SerialLink::OpenResult::InUse;
    }
    return SerialLink::OpenResult::Failed;
}

} // namespace

SerialLink::SerialLink(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("MSComm1"));
    paths_[0] = QStringLiteral("/dev/ttyS0");
    paths_[1] = QStringLiteral("/dev/ttyS1");
}

SerialLink::~SerialLink()
{
    close();
}

void SerialLink::setDevicePaths(const QString &port1, const QString &port2)
{
    paths_[0] = port1;
    paths_[1] = port2;
}

QString SerialLink::devicePath(int port) const
{
    return (port == 1 || port == 2) ? paths_[port - 1] : QString();
}

bool SerialLink::isOpen() const
{
    return port_ && port_->isOpen();
}

SerialLink::OpenResult SerialLink::open()
{
    lastResult_ = openDevice();
    return lastResult_;
}

SerialLink::OpenResult SerialLink::openDevice()
{
    close();
    errorDetail_.clear();
    // A second descriptor holds an exclusive lock for as long as the port is
    // ours; any program that locks the device the same way is kept out, and
    // we stay out while another one holds it. The real device is locked, so
    // that two names for one port cannot both be opened.
    DeviceCheck check = inspectDevice(devicePath(commPort_));
    const int fd = check.state == DeviceState::Free ? openLocked(check.device, check) : -1;
    if (fd < 0) {
        errorDetail_ = check.detail;
        return openResultOf(check.state);
    }
    const QString device = check.device;

    auto *port = new QSerialPort(this);
    port->setPortName(device);
    if (!port->open(QIODevice::ReadWrite)) {
        const auto error = port->error();
        errorDetail_ = QStringLiteral("%1: %2").arg(device, port->errorString());
        delete port;
        ::close(fd);
        // The serial layer's own lock file says "permission" when another
        // program holds the port; real access rights were checked above.
        if (error == QSerialPort::DeviceNotFoundError)
            return OpenResult::Missing;
        if (error == QSerialPort::PermissionError)
            return OpenResult::InUse;
        return OpenResult::Failed;
    }
    bool ok = port->setBaudRate(QSerialPort::Baud9600) && port->setDataBits(QSerialPort::Data8) &&
              port->setParity(QSerialPort::NoParity) && port->setStopBits(QSerialPort::OneStop) &&
              port->setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        errorDetail_ = QStringLiteral("%1: %2").arg(device, port->errorString());
        port->close();
        delete port;
        ::close(fd);
        return OpenResult::Failed;
    }
    lockFd_ = fd;
    port_ = port;
    const QString name = devicePath(commPort_);
    trace_.record(LinkTrace::Direction::Opened,
                  (name == device ? device : QStringLiteral("%1 (%2)").arg(name, device)).toUtf8());
    inbox_.clear();
    connect(port_, &QSerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(port_, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { onError(static_cast<int>(error)); });
    return OpenResult::Opened;
}

void SerialLink::close()
{
    if (port_) {
        QSerialPort *port = port_;
        port_ = nullptr;
        port->disconnect(this);
        port->close();
        port->deleteLater();
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

bool SerialLink::send(const QByteArray &bytes)
{
    if (!isOpen())
        return false;
    const qint64 written = port_->write(bytes);
    if (written > 0) {
        bytesSent_ += written;
        trace_.record(LinkTrace::Direction::Sent, bytes.left(written));
    }
    return written == bytes.size();
}

void SerialLink::drain()
{
    if (isOpen() && port_->bytesToWrite() > 0)
        port_->waitForBytesWritten(kDrainMs);
}

void SerialLink::flush()
{
    if (isOpen())
        port_->flush();
}

QByteArray SerialLink::take(qsizetype n)
{
    QByteArray out = inbox_.left(n);
    inbox_.remove(0, out.size());
    return out;
}

void SerialLink::discardInput()
{
    if (isOpen()) {
        // Dropped unread, but they came over the line all the same: taken
        // for the trace before the clear empties the port's buffer too.
        const QByteArray dropped = port_->readAll();
        bytesReceived_ += dropped.size();
        trace_.record(LinkTrace::Direction::Received, dropped);
        port_->clear(QSerialPort::Input);
    }
    inbox_.clear();
}

void SerialLink::onReadyRead()
{
    if (!port_)
        return;
    const QByteArray chunk = port_->readAll();
    bytesReceived_ += chunk.size();
    trace_.record(LinkTrace::Direction::Received, chunk);
    inbox_.append(chunk);
    if (inbox_.size() > kInboxLimit)
        inbox_.remove(0, inbox_.size() - kInboxLimit);
    emit received();
}

void SerialLink::onError(int error)
{
    const auto e = static_cast<QSerialPort::SerialPortError>(error);
    if (e != QSerialPort::ResourceError && e != QSerialPort::ReadError && e != QSerialPort::WriteError)
        return;
    if (!port_)
        return;
    // Qt keeps reporting a vanished line while the port stays open; close it
    // here so the loss is seen, and said, once.
    errorDetail_ = port_->errorString();
    close();
    emit lineLost();
}

} // namespace vq
