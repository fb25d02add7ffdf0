#include "plan/PortControl.h"

#include "plan/Notice.h"
#include "radio/LinkController.h"
#include "radio/SerialLink.h"
#include "plan/LinkTexts.h"

#include <QFileInfo>

namespace vq {

namespace {

// Where a port problem is told: the port dialog, start-up moving on to the
// other port, or start-up with no port left.
enum class PortContext { Switch, Fallback, NoneLeft };

Notice portProblem(int port, const SerialLink &link, SerialLink::OpenResult why, PortContext context)
{
    using R = SerialLink::OpenResult;
    const int other = 3 - port;
    QString text;
    if (why == R::InUse) {
        // Port 1 falling back to port 2 reads "串行端口 1已被其它设备使用，已选择 COM2 ".
        if (context == PortContext::Switch)
            text = port == 1 ? texts::kPort1Used : texts::kPort2Used;
        else
            text = texts::portInUse(port) + (context == PortContext::Fallback
                                                 ? texts::kPortOtherChosen.arg(other) + QLatin1Char(' ')
                                                 : texts::kNoPortAtAll);
    } else {
        const QString &reason = why == R::Missing        ? texts::kPortMissing
                                : why == R::NotSerial    ? texts::kPortNotSerial
                                : why == R::NoPermission ? texts::kPortNoPermission
                                                         : texts::kPortCannotOpen;
        text = QCoreApplication::translate("vq::texts", "串行端口 %1 ").arg(port) + reason;
        if (context == PortContext::Fallback)
            text += texts::kPortOtherChosen.arg(other);
        else if (context == PortContext::NoneLeft)
            text += texts::kNoPortAtAll;
    }
    Notice notice = systemNotice(text);
    // "In use" alone would send the user looking for another program when
    // the device is simply missing or not open to this user.
    if (why == R::NoPermission)
        notice.informative = texts::permissionHint(link.devicePath(port));
    else if (why != R::InUse)
        notice.informative = link.errorDetail() + QLatin1Char('\n') + texts::kPortFixHint;
    return notice;
}

} // namespace

PortControl::PortControl(SerialLink &link, LinkController &controller, QObject *parent)
    : QObject(parent), link_(link), controller_(controller)
{
}

void PortControl::usePorts(const PortChoice &choice, PortSettings *settings)
{
    settings_ = settings;
    link_.setDevicePaths(choice.device(1), choice.device(2));
    firstPort_ = choice.port;
}

Result PortControl::openPort()
{
    const int first = firstPort_;
    link_.setCommPort(first);
    const SerialLink::OpenResult firstResult = link_.open();
    if (firstResult == SerialLink::OpenResult::Opened)
        return {};
    Result result{false, {portProblem(first, link_, firstResult, PortContext::Fallback)}};
    link_.setCommPort(3 - first);
    const SerialLink::OpenResult second = link_.open();
    result.ok = second == SerialLink::OpenResult::Opened;
    // Without a word the user would learn it only at the first transfer.
    if (!result.ok)
        result.notices << portProblem(3 - first, link_, second, PortContext::NoneLeft);
    return result;
}

Result PortControl::switchPort(int port)
{
    if (port != 1 && port != 2)
        return Result::nothing();
    if (controller_.transferRunning())
        return Result::refused(systemNotice(texts::kTransferBusy));
    if (settings_)
        settings_->savePort(port);
    // The current port is opened again when an earlier failure closed it.
    if (port == link_.commPort() && link_.isOpen()) {
        controller_.startPoll();
        return {};
    }
    return movePort(port);
}

Result PortControl::assignDevice(int port, const QString &device)
{
    if ((port != 1 && port != 2) || device.isEmpty())
        return Result::nothing();
    const bool active = port == link_.commPort();
    if (active && controller_.transferRunning())
        return Result::refused(systemNotice(texts::kTransferBusy));
    link_.setDevicePaths(port == 1 ? device : link_.devicePath(1), port == 2 ? device : link_.devicePath(2));
    if (settings_)
        settings_->saveDevice(port, device);
    return active ? movePort(port) : Result{};
}

PortSetup PortControl::portSetup() const
{
    return PortSetup{{link_.devicePath(1), link_.devicePath(2)},
                     link_.commPort(),
                     link_.isOpen(),
                     !controller_.transferRunning()};
}

Result PortControl::mayProbe() const
{
    if (controller_.transferRunning())
        return Result::refused(systemNotice(texts::kTransferBusyRetry));
    return {};
}

Result PortControl::mayCheckCable(const QString &device) const
{
    if (Result allowed = mayProbe(); !allowed.ok)
        return allowed;
    const auto canonical = [](const QString &path) {
        const QString real = QFileInfo(path).canonicalFilePath();
        return real.isEmpty() ? path : real;
    };
    if (link_.isOpen() && canonical(device) == canonical(deviceInUse()))
        return Result::refused(systemNotice(texts::kCheckingCurrentPort));
    return {};
}

Result PortControl::movePort(int port)
{
    link_.close();
    link_.setCommPort(port);
    // What the old port's radio said is no longer true of this one.
    emit portMoved();
    const SerialLink::OpenResult opened = link_.open();
    if (opened != SerialLink::OpenResult::Opened) {
        controller_.stop(); // no poll on a port that is not open
        return Result::refused(portProblem(port, link_, opened, PortContext::Switch));
    }
    // The user learns whether the radio is there, as after a transfer.
    controller_.startPoll();
    return {};
}

int PortControl::portInUse() const
{
    return link_.commPort();
}

QString PortControl::deviceInUse() const
{
    return link_.devicePath(link_.commPort());
}

qint64 PortControl::bytesSent() const
{
    return link_.bytesSent();
}

qint64 PortControl::bytesReceived() const
{
    return link_.bytesReceived();
}

} // namespace vq
