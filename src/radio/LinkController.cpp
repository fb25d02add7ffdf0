#include "radio/LinkController.h"

#include "channels/ChannelStore.h"
#include "radio/ChannelFrame.h"
#include "radio/SerialLink.h"

namespace vq {

LinkController::LinkController(SerialLink &link, ChannelStore &store, QObject *parent)
    : QObject(parent), link_(link), store_(store)
{
    // A coarse timer drifts by several milliseconds a tick; the radio takes
    // one frame every 100 ms and nothing tells us when it misses one.
    QTimer *timers[] = {&timer1_, &timer2_, &timer3_, &timer4_, &blockTimer_};
    const char *names[] = {"Timer1", "Timer2", "Timer3", "Timer4", "blockTimer"};
    for (int i = 0; i < 5; ++i) {
        timers[i]->setParent(this);
        timers[i]->setObjectName(QString::fromLatin1(names[i]));
        timers[i]->setTimerType(Qt::PreciseTimer);
    }
    blockTimer_.setSingleShot(true);
    setIntervals(Intervals{});

    connect(&timer1_, &QTimer::timeout, this, &LinkController::onWriteTick);
    connect(&timer2_, &QTimer::timeout, this, &LinkController::onWriteDelay);
    connect(&timer3_, &QTimer::timeout, this, &LinkController::onPollTick);
    connect(&timer4_, &QTimer::timeout, this, &LinkController::onReadStart);
    connect(&blockTimer_, &QTimer::timeout, this, [this] { failRead(QStringLiteral("time-out")); });
    connect(&link_, &SerialLink::received, this, &LinkController::onReceived);
    connect(&link_, &SerialLink::lineLost, this, &LinkController::onLineLost);
}

void LinkController::setIntervals(const Intervals &intervals)
{
    intervals_ = intervals;
    timer1_.setInterval(intervals.writeTick);
    timer2_.setInterval(intervals.writeDelay);
    timer3_.setInterval(intervals.poll);
    timer4_.setInterval(intervals.readStart);
    blockTimer_.setInterval(intervals.blockTimeout);
}

LinkController::State LinkController::state() const
{
    if (reading_)
        return State::Reading;
    if (timer4_.isActive())
        return State::ReadPending;
    if (timer2_.isActive())
        return State::WritePending;
    if (timer1_.isActive())
        return State::Writing;
    if (timer3_.isActive())
        return State::AwaitingReady;
    return State::Idle;
}

bool LinkController::transferRunning() const
{
    const State s = state();
    return s != State::Idle && s != State::AwaitingReady;
}

void LinkController::updateState()
{
    const State s = state();
    if (s != lastState_) {
        lastState_ = s;
        emit stateChanged(s);
    }
}

void LinkController::report(Notice::Icon icon, const QString &title, const QString &text)
{
    emit notice(Notice{icon, title, text, {}});
}

// ---- write ----------------------------------------------------------------

bool LinkController::prepareFrames()
{
    if (store_.rowCount() < kChannels) {
        report(Notice::Icon::Information, texts::kErrorTitle, texts::kTooFewRows50);
        return false;
    }
    // The first channel is always sent as number 1.
    const FieldValue one = std::string("1");

    // Encoded once, here: moving the grid, editing or opening a file during
    // the write must not change what the radio receives.
    std::vector<QByteArray> frames;
    frames.reserve(kChannels);
    for (int row = 0; row < kChannels; ++row) {
        ChannelRecord record = store_.record(row);
        if (row == 0)
            record[ChannelNumber] = one;
        const EncodeResult result = encodeChannelFrame(record);
        if (!result.ok()) {
            report(Notice::Icon::Information, texts::kErrorTitle, texts::unencodableRow(row + 1));
            return false;
        }
        frames.push_back(QByteArray::fromStdString(*result.frame));
    }
    // A refused write leaves the table alone; the store is only touched when
    // it says otherwise, so a plan in a read-only file still goes out.
    if (store_.field(0, ChannelNumber) != one && !store_.setField(0, ChannelNumber, one))
        report(Notice::Icon::Information, texts::kErrorTitle, texts::kStoreWriteFailed);
    frames_ = std::move(frames);
    return true;
}

void LinkController::beginWrite(bool fromStartUp)
{
    if (transferRunning())
        return;
    if (!link_.isOpen()) {
        // Start-up goes on quietly without a port; a user's command is told.
        if (!fromStartUp)
            report(Notice::Icon::Exclamation, texts::kSystemTitle, texts::kPortNotOpen);
        return;
    }
    if (!prepareFrames())
        return;
    timer3_.stop();
    emit firstRowCurrent();
    writeStep_ = 0;
    if (!link_.send(QByteArray(1, kWriteCommand))) {
        report(Notice::Icon::Exclamation, texts::kSystemTitle, texts::kPortFailed);
        updateState();
        return;
    }
    emit menusLocked(true);
    timer2_.start();
    emit statusChanged(fromStartUp ? texts::kStatusStartUp : texts::kStatusWriting);
    updateState();
}

void LinkController::startUpWrite()
{
    beginWrite(true);
}

void LinkController::startWrite()
{
    beginWrite(false);
}

void LinkController::onWriteDelay()
{
    timer1_.start();
    timer2_.stop();
    updateState();
}

void LinkController::onWriteTick()
{
    if (writeStep_ < 100) {
        const auto index = static_cast<std::size_t>(writeStep_ / 2);
        if (index >= frames_.size() || !link_.send(frames_[index])) {
            endWrite(false);
            report(Notice::Icon::Exclamation, texts::kSystemTitle, texts::kPortFailed);
            return;
        }
        emit progressChanged(writeStep_);
    }
    writeStep_ += 2;
    if (writeStep_ > 99)
        endWrite(true);
}

void LinkController::endWrite(bool startPoll)
{
    timer1_.stop();
    timer2_.stop();
    emit statusChanged(QString());
    emit progressChanged(0);
    emit firstRowCurrent();
    emit menusLocked(false);
    writeStep_ = 0;
    frames_.clear();
    if (startPoll && link_.isOpen())
        timer3_.start();
    updateState();
}

// ---- read -----------------------------------------------------------------

void LinkController::startRead()
{
    if (transferRunning())
        return;
    if (!link_.isOpen()) {
        report(Notice::Icon::Exclamation, texts::kSystemTitle, texts::kPortNotOpen);
        return;
    }
    if (store_.rowCount() < kChannels) {
        report(Notice::Icon::Information, texts::kErrorTitle, texts::kTooFewRows50);
        return;
    }
    emit menusLocked(true);
    timer3_.stop();
    timer4_.start();
    emit statusChanged(texts::kStatusReading);
    updateState();
}

void LinkController::onReadStart()
{
    timer4_.stop();
    // Anything already waiting would shift every block of the answer.
    link_.discardInput();
    readEngine_.reset();
    reading_ = true;
    timer3_.stop();
    emit firstRowCurrent();
    updateState();
    if (!link_.send(QByteArray(1, kReadCommand))) {
        failRead(QStringLiteral("send"));
        return;
    }
    blockTimer_.start();
}

void LinkController::onReceived()
{
    if (!reading_)
        return; // the poll takes replies one per tick
    QByteArray input = link_.take(link_.available());
    for (;;) {
        const bool leadingBefore = readEngine_.leadingBlockDone();
        const ReadEngine::Step step = readEngine_.feed(input);
        if (step == ReadEngine::Step::Malformed) {
            failRead(readEngine_.malformedDetail());
            return;
        }
        if (step == ReadEngine::Step::Frame || step == ReadEngine::Step::Complete)
            emit progressChanged((readEngine_.framesDone() - 1) * 2);
        if (step == ReadEngine::Step::Frame || step == ReadEngine::Step::Complete ||
            readEngine_.leadingBlockDone() != leadingBefore)
            blockTimer_.start(); // the next block gets its own time
        if (step == ReadEngine::Step::Complete) {
            // Characters after the 50th frame are the poll's to take.
            link_.unread(input);
            finishRead();
            return;
        }
        if (input.isEmpty())
            return;
    }
}

void LinkController::finishRead()
{
    blockTimer_.stop();
    std::vector<ChannelStore::Change> changes;
    changes.reserve(static_cast<std::size_t>(kChannels * (kFieldCount - 1)));
    const auto &rows = readEngine_.rows();
    for (int row = 0; row < kChannels; ++row)
        for (int f = RxFrequency; f < kFieldCount; ++f)
            changes.push_back({row, f, rows[static_cast<std::size_t>(row)].at(static_cast<Field>(f))});
    if (!store_.apply(changes)) {
        failRead(QStringLiteral("store: ") + store_.errorDetail());
        return;
    }
    reading_ = false;
    emit firstRowCurrent();
    emit statusChanged(QString());
    emit progressChanged(0);
    timer3_.start();
    emit menusLocked(false);
    updateState();
    emit readStored();
}

void LinkController::failRead(const QString &why)
{
    qWarning("read from the radio failed: %s", qUtf8Printable(why));
    blockTimer_.stop();
    timer4_.stop();
    reading_ = false;
    // The rest of a broken answer is frame text, not replies for the poll
    // (a "C" among its hex digits would read as the radio being ready).
    link_.discardInput();
    updateState();
    report(Notice::Icon::Information, texts::kErrorTitle, texts::kReadError);
    if (link_.isOpen())
        timer3_.start();
    emit progressChanged(0);
    emit statusChanged(QString());
    emit menusLocked(false);
    updateState();
}

// ---- poll and line --------------------------------------------------------

void LinkController::onPollTick()
{
    const QByteArray c = link_.take(1);
    if (c.size() == 1 && c[0] == kReadyReply) {
        emit statusChanged(texts::kStatusReady);
        timer3_.stop();
        updateState();
        return;
    }
    if (!link_.send(QByteArray(1, kProbeCommand))) {
        timer3_.stop();
        updateState();
    }
}

void LinkController::onLineLost()
{
    switch (state()) {
    case State::WritePending:
    case State::Writing:
        endWrite(false);
        report(Notice::Icon::Exclamation, texts::kSystemTitle, texts::kPortFailed);
        break;
    case State::ReadPending:
    case State::Reading:
        failRead(QStringLiteral("line lost"));
        break;
    case State::AwaitingReady:
        timer3_.stop(); // the poll ends quietly; the next transfer will say why
        updateState();
        break;
    case State::Idle:
        break;
    }
}

void LinkController::stop()
{
    for (QTimer *t : {&timer1_, &timer2_, &timer3_, &timer4_, &blockTimer_})
        t->stop();
    reading_ = false;
    writeStep_ = 0;
    frames_.clear();
    updateState();
}

LinkController::SwitchResult LinkController::switchPort(int port)
{
    if (transferRunning()) {
        report(Notice::Icon::Exclamation, texts::kSystemTitle, texts::kTransferBusy);
        return SwitchResult::Busy;
    }
    if (port == link_.commPort() && link_.isOpen())
        return SwitchResult::Unchanged;
    link_.close();
    link_.setCommPort(port);
    if (link_.open() != SerialLink::OpenResult::Opened) {
        timer3_.stop();
        updateState();
        return SwitchResult::Failed;
    }
    return SwitchResult::Switched;
}

} // namespace vq
