#include "plan/Transfers.h"

#include "plan/AirCheck.h"

#include "channels/ChannelJudge.h"
#include "channels/ChannelStore.h"
#include "plan/LinkTexts.h"
#include "plan/PortControl.h"
#include "plan/RefusalText.h"
#include "plan/StoreTexts.h"
#include "plan/TableEditor.h"
#include "radio/SerialLink.h"

#include <QTimer>

#include <algorithm>
#include <utility>

namespace vq {

namespace {

bool isTransfer(LinkController::State state)
{
    using S = LinkController::State;
    return state != S::Idle && state != S::AwaitingReady;
}

bool isWrite(LinkController::State state)
{
    using S = LinkController::State;
    return state == S::WritePending || state == S::Writing;
}

bool isReadState(LinkController::State state)
{
    using S = LinkController::State;
    return state == S::ReadPending || state == S::Reading;
}

} // namespace

Transfers::Transfers(ChannelStore &store, ChannelHistory &history, SerialLink &link, LinkController &controller,
                     TableEditor &editor, PortControl &ports, QObject *parent)
    : QObject(parent), store_(store), history_(history), link_(link), controller_(controller), editor_(editor),
      ports_(ports)
{
    controller_.setReadSink([this](const LinkController::ReadRows &rows) { return storeRead(rows); });
    connect(&controller_, &LinkController::stateChanged, this, &Transfers::onStateChanged);
    connect(&controller_, &LinkController::failed, this, &Transfers::onFailed);
    connect(&controller_, &LinkController::progressChanged, this, &Transfers::progressChanged);
    connect(&controller_, &LinkController::radioReady, this, [this] {
        if (!std::exchange(keepVerifiedStatus_, false))
            showStatus(texts::kStatusReady);
    });
    connect(&controller_, &LinkController::radioSilent, this, [this] {
        keepVerifiedStatus_ = false;
        showStatus(texts::kStatusSilent);
    });
    connect(&controller_, &LinkController::readFinished, this, &Transfers::readStored);
    connect(&controller_, &LinkController::frameSent, this, [this](int channel) {
        if (pendingWrite_) {
            writeReason_ = pendingWrite_->reason;
            writeDevice_ = pendingWrite_->device;
            writeRecord_ = recordWriteBegun({pendingWrite_->device}, pendingWrite_->sent);
            allSent_ = false;
        }
        pendingWrite_.reset();
        if (channel == kChannelCount)
            allSent_ = true;
    });
    connect(&controller_, &LinkController::readBack, this, &Transfers::onReadBack);
    connect(&ports_, &PortControl::portMoved, this, &Transfers::forgetStatus);
}

bool Transfers::isReading() const
{
    return isReadState(controller_.state());
}

void Transfers::forgetStatus()
{
    keepVerifiedStatus_ = false;
    showStatus({});
}

Result Transfers::startUpWrite()
{
    // A table without a single channel would erase the radio: a first start
    // on a new store is the usual case. The poll still looks for the radio.
    const PlanRows plan = editor_.plan();
    bool anyChannel = false;
    for (int row = 0; row < static_cast<int>(plan.size()) && !anyChannel; ++row)
        anyChannel = !judgeChannel(plan[static_cast<std::size_t>(row)]).empty;
    if (!anyChannel && link_.isOpen() && !controller_.transferRunning()) {
        controller_.startPoll();
        showStatus(texts::kStatusTableEmpty);
        return Result::nothing();
    }
    return beginWrite(true);
}

Result Transfers::requestClose()
{
    if (isWrite(controller_.state())) {
        const int seconds = (controller_.remainingWriteMs() + 999) / 1000;
        return Result::refused(systemNotice(texts::closeDuringWrite(std::max(seconds, 1))));
    }
    // A read or a read-back is only collecting: ending it leaves the table
    // as it was.
    controller_.cancelRead();
    return {};
}

void Transfers::closeWhenWritten(std::function<void()> close)
{
    closeAfterWrite_ = std::move(close);
    closeIfWritten();
}

void Transfers::closeIfWritten()
{
    if (!closeAfterWrite_ || !requestClose().ok)
        return;
    std::exchange(closeAfterWrite_, {})();
}

Result Transfers::write(const std::function<bool(const Notice &question)> &mayWriteFlagged)
{
    if (controller_.transferRunning() || !link_.isOpen() || !air_ || !mayWriteFlagged)
        return beginWrite(false);
    if (const std::optional<Notice> question = air_->writeQuestion(); question && !mayWriteFlagged(*question))
        return Result::nothing();
    return beginWrite(false);
}

void Transfers::setVerifyAfterWrite(bool on)
{
    verifyAfterWrite_ = on;
    if (PortSettings *settings = ports_.settings())
        settings->saveVerifyAfterWrite(on);
}

Result Transfers::prepareWrite(PlanFrames &plan)
{
    editor_.refresh();
    if (store_.rowCount() < kChannelCount)
        return Result::refused(errorNotice(texts::kTooFewRows50));
    // Encoded once, here: moving the grid, editing or opening a file during
    // the write must not change what the radio receives.
    plan = judgedPlan();
    if (!plan.ok()) {
        const PlanFrames::Problem &first = plan.problems.front();
        return Result::refused(withReason(errorNotice(texts::unencodableRow(first.channel)), first.why));
    }
    // The first channel is always sent, and kept, as number 1. A plan in a
    // read-only file still goes out; the user learns that the renumbering
    // could not be kept.
    const FieldValue one = std::string("1");
    Result result;
    if (store_.field(0, ChannelNumber) != one &&
        !editor_.commit(QCoreApplication::translate("vq::texts", "信道号"), {{0, ChannelNumber, one}}))
        result.notices << errorNotice(texts::kStoreWriteFailed);
    return result;
}

PlanFrames Transfers::judgedPlan() const
{
    return encodePlan(editor_.plan());
}

qint64 Transfers::recordWriteBegun(const QStringList &devices, const PlanRows &sent)
{
    return history_.beginWrite(devices.join(QStringLiteral(", ")), sent);
}

bool Transfers::recordWriteEnded(qint64 id, const QStringList &whole, const QStringList &partial)
{
    return history_.endWrite(id, ChannelHistory::Reason::Write, whole.join(QStringLiteral(", ")),
                             partial.join(QStringLiteral(", ")));
}

std::optional<Notice> Transfers::writeCutShort()
{
    const QStringList devices = history_.unfinishedWrites();
    if (devices.isEmpty())
        return std::nullopt;
    return errorNotice(texts::writeCutShort(devices));
}

bool Transfers::recordReadBack(const QString &device, const LinkController::ReadRows &rows)
{
    // What the radio really holds goes into the history; the table stays.
    PlanRows radio = editor_.plan();
    for (std::size_t row = 0; row < rows.size() && row < radio.size(); ++row)
        rows[row].applyTo(radio[row]);
    return editor_.keep(ChannelHistory::Reason::VerifyReadBack, device, radio);
}

Result Transfers::beginWrite(bool startUp)
{
    if (controller_.transferRunning())
        return Result::nothing();
    if (!link_.isOpen())
        return startUp ? Result::nothing() : Result::refused(systemNotice(texts::kPortNotOpen));
    PlanFrames plan;
    Result result = prepareWrite(plan);
    if (!result.ok)
        return result;
    std::vector<QByteArray> frames = std::move(plan.frames);
    // Every frame the encoder gives decodes again.
    if (verifyAfterWrite_)
        sentRows_ = *expectedReadBack(frames);
    startUpWrite_ = startUp;
    editor_.showFirstRow();
    const auto after =
        verifyAfterWrite_ ? LinkController::AfterWrite::Verify : LinkController::AfterWrite::Poll;
    if (controller_.startWrite(std::move(frames), after) != LinkController::Start::Started) {
        result.ok = false;
        result.notices << systemNotice(texts::kPortFailed);
        return result;
    }
    // Kept once the first frame is on the line: a write the line never
    // carried is no write.
    pendingWrite_ =
        PendingWrite{startUp ? ChannelHistory::Reason::StartUpWrite : ChannelHistory::Reason::Write,
                     ports_.deviceInUse(), plan.sent};
    return result;
}

Result Transfers::read()
{
    if (controller_.transferRunning())
        return Result::nothing();
    editor_.refresh();
    if (!link_.isOpen())
        return Result::refused(systemNotice(texts::kPortNotOpen));
    if (store_.rowCount() < kChannelCount)
        return Result::refused(errorNotice(texts::kTooFewRows50));
    comparedWith_.reset();
    controller_.startRead();
    return {};
}

Result Transfers::compare()
{
    if (controller_.transferRunning())
        return Result::nothing();
    if (!link_.isOpen())
        return Result::refused(systemNotice(texts::kPortNotOpen));
    editor_.refresh();
    if (store_.rowCount() < kChannelCount)
        return Result::refused(errorNotice(texts::kTooFewRows50));
    const PlanFrames plan = judgedPlan();
    if (!plan.ok()) {
        const PlanFrames::Problem &first = plan.problems.front();
        return Result::refused(withReason(errorNotice(texts::unencodableRow(first.channel)), first.why));
    }
    comparedWith_ = expectedReadBack(plan.frames);
    controller_.startRead();
    return {};
}

bool Transfers::storeRead(const LinkController::ReadRows &rows)
{
    if (const std::optional<ReadBackRows> plan = std::exchange(comparedWith_, std::nullopt)) {
        PlanRows radio = editor_.plan();
        for (std::size_t row = 0; row < rows.size(); ++row)
            rows[row].applyTo(radio[row]);
        const bool kept = editor_.keep(ChannelHistory::Reason::Read, ports_.deviceInUse(), radio);
        emit compared(differingFields(*plan, rows), kept ? editor_.newestSnapshot() : 0);
        return true;
    }
    std::vector<ChannelStore::Change> changes;
    changes.reserve(static_cast<std::size_t>(kChannelCount * (kFieldCount - 1)));
    // The table as the read leaves it goes into the history in the same
    // transaction: one commit, and never the one without the other.
    PlanRows radio = editor_.plan();
    for (int row = 0; row < kChannelCount; ++row) {
        const auto &read = rows[static_cast<std::size_t>(row)];
        read.applyTo(radio[static_cast<std::size_t>(row)]);
        for (int f = RxFrequency; f < kFieldCount; ++f)
            changes.push_back({row, f, read.at(static_cast<Field>(f))});
    }
    const auto keepRead = [this, &radio] {
        editor_.keep(ChannelHistory::Reason::Read, ports_.deviceInUse(), radio);
    };
    // A refusal reaches the user as ReadNotKept, with the store's reason.
    if (!editor_.commit(texts::kReadStep, std::move(changes), keepRead))
        return false;
    editor_.showFirstRow();
    return true;
}

Result Transfers::cancelTransfer(const std::function<bool()> &confirm)
{
    if (isWrite(controller_.state())) {
        const int seconds = (controller_.remainingWriteMs() + 999) / 1000;
        return Result::refused(systemNotice(texts::writeCannotStop(std::max(seconds, 1))));
    }
    // A verify's read-back is a read too: stopping it changes nothing.
    const auto reading = [this] {
        using S = LinkController::State;
        const S state = controller_.state();
        return isReadState(state) || state == S::VerifyPending || state == S::Verifying;
    };
    if (!reading())
        return Result::nothing();
    // The read may have ended while the question was open.
    if (!confirm() || !reading())
        return Result::nothing();
    controller_.cancelRead();
    return {};
}

void Transfers::onStateChanged(LinkController::State state)
{
    using S = LinkController::State;
    const S previous = lastState_;
    lastState_ = state;
    if (isTransfer(state))
        keepVerifiedStatus_ = false;
    if (!isWrite(state)) {
        pendingWrite_.reset();
        // A write that ends with every frame out is finished; one the line
        // broke stays unfinished in the history.
        if (const qint64 id = std::exchange(writeRecord_, 0); id && allSent_)
            history_.endWrite(id, writeReason_, writeDevice_);
    }
    if (state == S::WritePending)
        showStatus(startUpWrite_ ? texts::kStatusStartUp : texts::kStatusWriting);
    else if (state == S::ReadPending)
        showStatus(texts::kStatusReading);
    else if (state == S::VerifyPending)
        showStatus(texts::kStatusVerifying);
    else if (isTransfer(previous) && !isTransfer(state))
        showStatus({});
    if (state == S::Reading || (isWrite(previous) && !isWrite(state)))
        editor_.showFirstRow();
    if (isTransfer(previous) != isTransfer(state))
        emit transferRunningChanged(isTransfer(state));
    if (isReadState(previous) != isReadState(state))
        emit readingChanged(isReadState(state));
    // Out of the link's own state change before the read-back is ended.
    if (closeAfterWrite_ && isWrite(previous) && !isWrite(state))
        QTimer::singleShot(0, this, &Transfers::closeIfWritten);
}

void Transfers::onFailed(LinkController::Failure failure)
{
    comparedWith_.reset(); // a comparison that failed is no comparison
    switch (failure) {
    case LinkController::Failure::LineFailed:
        emit notice(systemNotice(texts::kPortFailed));
        break;
    case LinkController::Failure::ReadFailed:
        emit notice(errorNotice(texts::kReadError));
        break;
    case LinkController::Failure::ReadNotKept:
        // The radio answered well; it is the database that failed.
        emit notice(editor_.storeFailed());
        break;
    case LinkController::Failure::VerifyFailed:
        emit notice(errorNotice(texts::kVerifyReadFailed));
        break;
    case LinkController::Failure::VerifySilent:
        emit notice(errorNotice(texts::kVerifyNoReply));
        break;
    }
}

void Transfers::onReadBack(const LinkController::ReadRows &rows)
{
    const QList<int> differing = differingChannels(sentRows_, rows);
    if (differing.isEmpty()) {
        showStatus(texts::kStatusVerified);
        keepVerifiedStatus_ = true;
        return;
    }
    recordReadBack(ports_.deviceInUse(), rows);
    emit verifyMismatch(rows);
    emit notice(errorNotice(texts::verifyMismatch(differing)));
}

} // namespace vq
