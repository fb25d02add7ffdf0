#include "radio/PortProbe.h"

#include "radio/DeviceAccess.h"

#include <QSerialPort>

#include <unistd.h>

namespace vq {

namespace {

constexpr char kProbe = '6';
constexpr char kReady = 'C';

ProbeOutcome::Kind kindOf(DeviceState state)
{
    switch (state) {
    case DeviceState::Free:
        break;
    case DeviceState::Missing:
        return ProbeOutcome::Kind::Missing;
    case DeviceState::NotSerial:
        return ProbeOutcome::Kind::NotSerial;
    case DeviceState::NoPermission:
        return ProbeOutcome::Kind::NoPermission;
    case DeviceState::InUse:
        return ProbeOutcome::Kind::InUse;
    }
    return ProbeOutcome::Kind::Failed;
}

} // namespace

PortProbe::PortProbe(QObject *parent) : QObject(parent)
{
    limit_.setSingleShot(true);
    // A coarse timer may end a 500 ms wait 25 ms early.
    limit_.setTimerType(Qt::PreciseTimer);
    connect(&limit_, &QTimer::timeout, this, [this] {
        // An answer already in the driver counts, even when a busy event loop
        // has not got to it yet: a look without waiting.
        if (port_)
            port_->waitForReadyRead(0);
        if (port_)
            finish(outcome_.received.isEmpty() ? ProbeOutcome::Kind::Silent : ProbeOutcome::Kind::Noise);
    });
}

PortProbe::~PortProbe()
{
    release();
}

void PortProbe::stop()
{
    release();
    limit_.stop();
    ++generation_; // a report still queued is dropped
    running_ = false;
}

void PortProbe::start(const QString &path)
{
    stop();
    running_ = true;
    outcome_ = ProbeOutcome{path, {}, ProbeOutcome::Kind::Failed, {}, {}};

    DeviceCheck check = inspectDevice(path);
    outcome_.device = check.device;
    outcome_.detail = check.detail;
    if (check.state != DeviceState::Free)
        return finish(kindOf(check.state));
    if (const qint64 pid = lockFileHolder(check.device, lockFolders_)) {
        outcome_.detail = QStringLiteral("%1: lock file of process %2").arg(check.device).arg(pid);
        return finish(ProbeOutcome::Kind::InUse);
    }
    lockFd_ = openLocked(check.device, check);
    outcome_.detail = check.detail;
    if (lockFd_ < 0)
        return finish(kindOf(check.state));
    if (!openPort())
        return;

    connect(port_, &QSerialPort::readyRead, this, &PortProbe::onReadyRead);
    connect(port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
            error != QSerialPort::WriteError)
            return;
        outcome_.detail = QStringLiteral("%1: %2").arg(outcome_.device, port_->errorString());
        finish(ProbeOutcome::Kind::Failed);
    });
    limit_.start(limitMs_);
    if (port_->write(&kProbe, 1) != 1) {
        outcome_.detail = QStringLiteral("%1: %2").arg(outcome_.device, port_->errorString());
        finish(ProbeOutcome::Kind::Failed);
    }
}

bool PortProbe::openPort()
{
    port_ = new QSerialPort(this);
    port_->setPortName(outcome_.device);
    port_->setBaudRate(QSerialPort::Baud9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!port_->open(QIODevice::ReadWrite)) {
        const auto error = port_->error();
        outcome_.detail = QStringLiteral("%1: %2").arg(outcome_.device, port_->errorString());
        // The serial layer's own lock file reads as "permission"; real access
        // rights were checked before.
        finish(error == QSerialPort::PermissionError       ? ProbeOutcome::Kind::InUse
               : error == QSerialPort::DeviceNotFoundError ? ProbeOutcome::Kind::Missing
                                                           : ProbeOutcome::Kind::Failed);
        return false;
    }
    // Whatever the line picked up before the probe is not its answer.
    port_->clear(QSerialPort::Input);
    return true;
}

void PortProbe::onReadyRead()
{
    if (!port_)
        return;
    // Read everything, keep only the start: a device that never stops
    // talking must not fill memory before the limit ends the probe.
    const QByteArray chunk = port_->readAll();
    const qsizetype room = ProbeOutcome::kKeptBytes - outcome_.received.size();
    if (room > 0)
        outcome_.received += chunk.left(room);
    if (chunk.contains(kReady))
        finish(ProbeOutcome::Kind::Answered);
}

void PortProbe::finish(ProbeOutcome::Kind kind)
{
    limit_.stop();
    release();
    outcome_.kind = kind;
    // Always later, so that whoever called start() sees finished() after it returns.
    QMetaObject::invokeMethod(
        this,
        [this, generation = ++generation_] {
            if (generation != generation_)
                return;
            running_ = false;
            emit finished(outcome_);
        },
        Qt::QueuedConnection);
}

void PortProbe::release()
{
    if (port_) {
        port_->disconnect(this);
        port_->close();
        port_->deleteLater();
        port_ = nullptr;
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

} // namespace vq
