#include "plan/FleetWrite.h"

#include "plan/LinkTexts.h"
#include "plan/Notice.h"
#include "radio/SerialLink.h"

#include <QTimer>

#include <algorithm>

namespace vq {

struct FleetWrite::Port {
    // The link first: the controller refers to it and goes before it.
    SerialLink link;
    LinkController controller{link};
    Phase phase = Phase::Waiting;
    int framesRead = 0;
    int shown = 0;
    bool released = false;
    PortResult result;
};

namespace {

QString openReason(SerialLink::OpenResult why)
{
    using R = SerialLink::OpenResult;
    switch (why) {
    case R::Missing:
        return texts::kPortMissing;
    case R::NotSerial:
        return texts::kPortNotSerial;
    case R::NoPermission:
        return texts::kPortNoPermission;
    case R::InUse:
        return texts::kPortUsed;
    case R::Opened:
    case R::Failed:
        break;
    }
    return texts::kPortCannotOpen;
}

bool isWrite(LinkController::State state)
{
    return state == LinkController::State::WritePending || state == LinkController::State::Writing;
}

} // namespace

FleetWrite::FleetWrite(QObject *parent) : QObject(parent) {}

FleetWrite::~FleetWrite() = default;

bool FleetWrite::start(const QStringList &devices, std::vector<QByteArray> frames, bool verify)
{
    if (running_ || devices.isEmpty())
        return false;
    const std::optional<ReadBackRows> expected = expectedReadBack(frames);
    if (!expected)
        return false;
    ++generation_;
    ports_.clear();
    frames_ = std::move(frames);
    expected_ = *expected;
    verify_ = verify;
    cancelling_ = false;
    running_ = true;
    for (const QString &device : devices) {
        auto port = std::make_unique<Port>();
        port->result.device = device;
        port->link.setDevicePaths(device, QString());
        port->link.setCommPort(1);
        port->controller.setIntervals(intervals_);
        ports_.push_back(std::move(port));
        connectPort(static_cast<int>(ports_.size()) - 1);
    }
    for (int i = 0; i < static_cast<int>(ports_.size()); ++i) {
        Port &port = *ports_[static_cast<std::size_t>(i)];
        const SerialLink::OpenResult opened = port.link.open();
        if (opened != SerialLink::OpenResult::Opened) {
            const QString &device = port.result.device;
            end(i, Stage::Failed, false, texts::devicePortProblem(device, openReason(opened)),
                opened == SerialLink::OpenResult::NoPermission ? texts::permissionHint(device)
                                                               : port.link.errorDetail());
            continue;
        }
        // Whatever the line held before we opened it is no answer to a probe.
        port.link.discardInput();
        port.controller.startPoll();
    }
    return true;
}

void FleetWrite::connectPort(int index)
{
    Port &port = *ports_[static_cast<std::size_t>(index)];
    LinkController *c = &port.controller;
    connect(c, &LinkController::radioReady, this, [this, index] { onReady(index); });
    connect(c, &LinkController::radioSilent, this, [this, index] { onSilent(index); });
    connect(c, &LinkController::stateChanged, this,
            [this, index](LinkController::State state) { onStateChanged(index, state); });
    connect(c, &LinkController::progressChanged, this,
            [this, index](int value) { onProgress(index, value); });
    connect(c, &LinkController::failed, this,
            [this, index](LinkController::Failure failure) { onFailed(index, failure); });
    connect(c, &LinkController::readBack, this,
            [this, index](const LinkController::ReadRows &rows) { onReadBack(index, rows); });
    // The controller ends a poll quietly when the line goes; here that is
    // the port's end.
    connect(&port.link, &SerialLink::lineLost, this, [this, index] { onLineLost(index); });
}

void FleetWrite::onReady(int index)
{
    Port &port = *ports_[static_cast<std::size_t>(index)];
    if (port.phase == Phase::Confirming) {
        end(index, Stage::Written, true, texts::kWriteDone);
        return;
    }
    if (port.phase != Phase::Waiting)
        return;
    // The controller is still finishing its poll tick: the write starts
    // once that tick is over.
    const int generation = generation_;
    QTimer::singleShot(0, this, [this, index, generation] {
        if (generation == generation_)
            beginSending(index);
    });
}

void FleetWrite::beginSending(int index)
{
    Port &port = *ports_[static_cast<std::size_t>(index)];
    if (port.phase != Phase::Waiting)
        return; // cancelled meanwhile
    port.phase = Phase::Sending;
    const auto after = verify_ ? LinkController::AfterWrite::Verify : LinkController::AfterWrite::Poll;
    if (port.controller.startWrite(frames_, after) != LinkController::Start::Started)
        end(index, Stage::Failed, false, texts::kPortFailed, port.link.errorDetail());
}

void FleetWrite::onSilent(int index)
{
    const Phase phase = ports_[static_cast<std::size_t>(index)]->phase;
    if (phase == Phase::Waiting)
        end(index, Stage::Failed, false, texts::kStatusSilent);
    else if (phase == Phase::Confirming)
        // Every frame went out, but nothing says the radio took them.
        end(index, Stage::Written, false, texts::kWriteNoReply);
}

void FleetWrite::onStateChanged(int index, LinkController::State state)
{
    Port &port = *ports_[static_cast<std::size_t>(index)];
    if (port.phase != Phase::Sending || isWrite(state))
        return;
    if (port.result.framesSent < kChannelCount)
        return; // the line broke; failed() follows and says so
    if (cancelling_)
        end(index, Stage::Written, !verify_, verify_ ? texts::kWriteNotVerified : texts::kWriteDone);
    else if (state == LinkController::State::VerifyPending)
        port.phase = Phase::Verifying;
    else if (state == LinkController::State::AwaitingReady)
        port.phase = Phase::Confirming;
    else
        end(index, Stage::Written, false, texts::kWriteNoReply, port.link.errorDetail());
}

void FleetWrite::onProgress(int index, int value)
{
    Port &port = *ports_[static_cast<std::size_t>(index)];
    // The controller says 0, 2 … 98 as each frame goes out or comes back,
    // and 0 again at the end; only the first kind moves a port on.
    const int frames = value / 2 + 1;
    if (port.phase == Phase::Sending && port.controller.state() == LinkController::State::Writing)
        port.result.framesSent = std::max(port.result.framesSent, frames);
    else if (port.phase == Phase::Verifying && port.controller.state() == LinkController::State::Verifying)
        port.framesRead = std::max(port.framesRead, frames);
    else
        return;
    showProgress(index);
}

void FleetWrite::showProgress(int index)
{
    Port &port = *ports_[static_cast<std::size_t>(index)];
    const int value = verify_ ? port.result.framesSent + port.framesRead : 2 * port.result.framesSent;
    if (value == port.shown)
        return;
    port.shown = value;
    emit portProgress(index, value);
}

void FleetWrite::onFailed(int index, LinkController::Failure failure)
{
    Port &port = *ports_[static_cast<std::size_t>(index)];
    using F = LinkController::Failure;
    switch (failure) {
    case F::LineFailed:
        end(index, Stage::Failed, false, texts::kPortFailed, port.link.errorDetail());
        break;
    case F::VerifySilent:
        end(index, Stage::Failed, false, texts::kVerifyNoReply);
        break;
    case F::VerifyFailed:
    case F::ReadFailed:
    case F::ReadNotKept:
        end(index, Stage::Failed, false, texts::kVerifyReadFailed);
        break;
    }
}

void FleetWrite::onReadBack(int index, const LinkController::ReadRows &rows)
{
    ports_[static_cast<std::size_t>(index)]->result.readBack = rows;
    const QList<int> differing = differingChannels(expected_, rows);
    if (differing.isEmpty())
        end(index, Stage::Verified, true, texts::kStatusVerified);
    else
        end(index, Stage::Failed, false, texts::verifyMismatch(differing));
}

void FleetWrite::onLineLost(int index)
{
    Port &port = *ports_[static_cast<std::size_t>(index)];
    if (port.phase == Phase::Waiting)
        end(index, Stage::Failed, false, texts::kPortFailed, port.link.errorDetail());
    else if (port.phase == Phase::Confirming)
        end(index, Stage::Written, false, texts::kWriteNoReply, port.link.errorDetail());
}

void FleetWrite::cancel()
{
    if (!running_)
        return;
    cancelling_ = true;
    for (int i = 0; i < static_cast<int>(ports_.size()); ++i) {
        switch (ports_[static_cast<std::size_t>(i)]->phase) {
        case Phase::Waiting:
            end(i, Stage::Cancelled, false, texts::kWriteCancelled);
            break;
        case Phase::Confirming:
            end(i, Stage::Written, true, texts::kWriteDone);
            break;
        case Phase::Verifying:
            end(i, Stage::Written, false, texts::kWriteNotVerified);
            break;
        case Phase::Sending: // ends when its frames are out
        case Phase::Done:
            break;
        }
    }
}

void FleetWrite::end(int index, Stage stage, bool ok, const QString &text, const QString &detail)
{
    Port &port = *ports_[static_cast<std::size_t>(index)];
    if (port.phase == Phase::Done)
        return;
    port.phase = Phase::Done;
    port.result.stage = stage;
    port.result.ok = ok;
    port.result.text = text;
    port.result.detail = detail;
    // Often called from inside one of the port's own signals: the
    // controller stops and the device closes once that call is over.
    const int generation = generation_;
    QTimer::singleShot(0, this, [this, index, generation] {
        if (generation == generation_)
            release(index);
    });
}

void FleetWrite::release(int index)
{
    Port &port = *ports_[static_cast<std::size_t>(index)];
    port.controller.stop();
    port.link.flush();
    port.link.close();
    port.released = true;
    if (port.result.ok && port.shown != 100) {
        port.shown = 100;
        emit portProgress(index, 100);
    }
    emit portFinished(index, port.result.ok, port.result.text);
    if (!std::all_of(ports_.begin(), ports_.end(), [](const auto &p) { return p->released; }))
        return;
    running_ = false;
    emit finished(succeeded());
}

QList<FleetWrite::PortResult> FleetWrite::results() const
{
    QList<PortResult> out;
    for (const auto &port : ports_)
        out << port->result;
    return out;
}

bool FleetWrite::succeeded() const
{
    return !ports_.empty() &&
           std::all_of(ports_.begin(), ports_.end(), [](const auto &p) { return p->result.ok; });
}

} // namespace vq
