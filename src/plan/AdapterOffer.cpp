#include "plan/AdapterOffer.h"

#include "plan/PortControl.h"
#include "radio/LinkController.h"
#include "radio/SerialLink.h"

namespace vq {

namespace {
constexpr int kLookEveryMs = 2000;
} // namespace

AdapterOffer::AdapterOffer(PortControl &ports, SerialLink &link, LinkController &controller, QObject *parent)
    : QObject(parent), ports_(ports), link_(link), controller_(controller)
{
}

void AdapterOffer::start()
{
    if (timer_.isActive())
        return;
    connect(&controller_, &LinkController::radioSilent, this, [this] {
        silent_ = true;
        look();
    });
    // The radio answers, or the port moved: what was silent no longer is.
    const auto answered = [this] {
        silent_ = false;
        offer({});
    };
    connect(&controller_, &LinkController::radioReady, this, answered);
    connect(&ports_, &PortControl::portMoved, this, answered);
    timer_.setInterval(kLookEveryMs);
    connect(&timer_, &QTimer::timeout, this, &AdapterOffer::look);
    timer_.start();
}

void AdapterOffer::look()
{
    if ((!silent_ && link_.isOpen()) || controller_.transferRunning()) {
        offer({});
        return;
    }
    offer(freeUsbAdapter(listSerialDevices(ports_.portSetup(), folders_)));
}

void AdapterOffer::offer(const QString &device)
{
    if (device == offered_)
        return;
    offered_ = device;
    emit offerChanged(device);
}

Result AdapterOffer::take()
{
    const QString device = offered_;
    if (device.isEmpty())
        return Result::nothing();
    Result result = ports_.assignDevice(1, device);
    if (result.ok && ports_.portInUse() != 1)
        result = ports_.switchPort(1);
    if (result.ok)
        offer({});
    return result;
}

} // namespace vq
