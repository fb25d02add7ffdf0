#include "radio/LinkController.h"

#include "radio/ChannelFrame.h"
#include "radio/SerialLink.h"

namespace vq {

namespace {

// A radio's answer comes without gaps; this long without a character (some
// fifty character times at 9600 baud) and it is over.
constexpr qint64 kQuietMs = 50;

bool isVerify(LinkController::State state)
{
    return state == LinkController::State::VerifyPending || state == LinkController::State::Verifying;
}

} // namespace

LinkController::LinkController(SerialLink &link, QObject *parent) : QObject(parent), link_(link)
{
    // A coarse timer drifts by several milliseconds a tick; the radio takes
    // one frame every 100 ms and nothing tells us when it misses one. The
    // object names are the ones the form gave its timers.
    const std::pair<QTimer *, const char *> timers[] = {{&writeTick_, "Timer1"},
                                                        {&writeDelay_, "Timer2"},
                                                        {&pollTick_, "Timer3"},
                                                        {&readStart_, "Timer4"},
                                                        {&blockTimeout_, "blockTimer"}};
    for (const auto &[timer, name] : timers) {
        timer->setParent(this);
        timer->setObjectName(QString::fromLatin1(name));
        timer->setTimerType(Qt::PreciseTimer);
    }
    blockTimeout_.setSingleShot(true);
    silence_.setSingleShot(true);
    silence_.setObjectName(QStringLiteral("silenceTimer"));
    silence_.setParent(this);
    verifyWait_.setSingleShot(true);
    verifyWait_.setObjectName(QStringLiteral("verifyTimer"));
    verifyWait_.setParent(this);
    setIntervals(Intervals{});

    connect(&writeTick_, &QTimer::timeout, this, &LinkController::onWriteTick);
    connect(&writeDelay_, &QTimer::timeout, this, &LinkController::onWriteDelay);
    connect(&pollTick_, &QTimer::timeout, this, &LinkController::onPollTick);
    connect(&readStart_, &QTimer::timeout, this, &LinkController::onReadStart);
    connect(&blockTimeout_, &QTimer::timeout, this, [this] { failRead(); });
    connect(&silence_, &QTimer::timeout, this, &LinkController::radioSilent);
    connect(&verifyWait_, &QTimer::timeout, this, &LinkController::onVerifyWait);
    connect(&link_, &SerialLink::received, this, &LinkController::onReceived);
    connect(&link_, &SerialLink::lineLost, this, &LinkController::onLineLost);
}

void LinkController::setIntervals(const Intervals &intervals)
{
    writeTick_.setInterval(intervals.writeTick);
    writeDelay_.setInterval(intervals.writeDelay);
    pollTick_.setInterval(intervals.poll);
    readStart_.setInterval(intervals.readStart);
    blockTimeout_.setInterval(intervals.blockTimeout);
    silence_.setInterval(intervals.silence);
    verifyWait_.setInterval(intervals.verifyWait);
}

bool LinkController::transferRunning() const
{
    return state_ != State::Idle && state_ != State::AwaitingReady;
}

void LinkController::setState(State state)
{
    if (state == state_)
        return;
    state_ = state;
    emit stateChanged(state);
}

// ---- write ----------------------------------------------------------------

LinkController::Start LinkController::startWrite(std::vector<QByteArray> frames, AfterWrite after)
{
    if (transferRunning())
        return Start::Busy;
    if (!link_.isOpen())
        return Start::NoPort;
    endPoll();
    writeStep_ = 0;
    if (!link_.send(QByteArray(1, kWriteCommand))) {
        setState(State::Idle);
        return Start::SendFailed;
    }
    frames_ = std::move(frames);
    afterWrite_ = after;
    writeDelay_.start();
    setState(State::WritePending);
    return Start::Started;
}

void LinkController::onWriteDelay()
{
    writeTick_.start();
    writeDelay_.stop();
    setState(State::Writing);
}

void LinkController::onWriteTick()
{
    if (writeStep_ < 100) {
        const auto index = static_cast<std::size_t>(writeStep_ / 2);
        if (index >= frames_.size() || !link_.send(frames_[index])) {
            endWrite(false);
            emit failed(Failure::LineFailed);
            return;
        }
        emit frameSent(static_cast<int>(index) + 1);
        emit progressChanged(writeStep_);
    }
    writeStep_ += 2;
    if (writeStep_ > 99)
        endWrite(true);
}

void LinkController::endWrite(bool startPoll)
{
    writeTick_.stop();
    writeDelay_.stop();
    writeStep_ = 0;
    frames_.clear();
    emit progressChanged(0);
    const bool polling = startPoll && link_.isOpen();
    if (polling && afterWrite_ == AfterWrite::Verify) {
        // The same probes as after any write; only the limit is the verify's.
        pollTick_.start();
        verifyWait_.start();
        setState(State::VerifyPending);
        return;
    }
    if (polling)
        beginPoll();
    setState(polling ? State::AwaitingReady : State::Idle);
}

// ---- read -----------------------------------------------------------------

LinkController::Start LinkController::startRead()
{
    if (transferRunning())
        return Start::Busy;
    if (!link_.isOpen())
        return Start::NoPort;
    endPoll();
    readStart_.start();
    setState(State::ReadPending);
    return Start::Started;
}

void LinkController::onReadStart()
{
    readStart_.stop();
    // Anything already waiting would shift every block of the answer.
    link_.discardInput();
    readEngine_.reset();
    setState(state_ == State::VerifyPending ? State::Verifying : State::Reading);
    if (!link_.send(QByteArray(1, kReadCommand))) {
        failRead();
        return;
    }
    blockTimeout_.start();
}

void LinkController::onReceived()
{
    if (draining_) {
        // Dropped from the inbox only: flushing the driver would hide
        // whether more is still coming.
        link_.take(link_.available());
        lastHeard_.start();
        quietTicks_ = 0;
        return;
    }
    if (state_ != State::Reading && state_ != State::Verifying)
        return; // the poll takes replies on its tick
    QByteArray input = link_.take(link_.available());
    for (;;) {
        const bool leadingBefore = readEngine_.leadingBlockDone();
        const ReadEngine::Step step = readEngine_.feed(input);
        if (step == ReadEngine::Step::Malformed) {
            failRead();
            return;
        }
        const bool frameDone = step == ReadEngine::Step::Frame || step == ReadEngine::Step::Complete;
        if (frameDone)
            emit progressChanged((readEngine_.framesDone() - 1) * 2);
        if (frameDone || readEngine_.leadingBlockDone() != leadingBefore)
            blockTimeout_.start(); // the next block gets its own time
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
    blockTimeout_.stop();
    if (state_ == State::Verifying) {
        // A copy: whoever takes the rows may run the event loop meanwhile.
        const ReadRows rows = readEngine_.rows();
        emit progressChanged(0);
        beginPoll();
        setState(State::AwaitingReady);
        emit readBack(rows);
        return;
    }
    if (readSink_ && !readSink_(readEngine_.rows())) {
        failRead(Failure::ReadNotKept);
        return;
    }
    emit progressChanged(0);
    beginPoll();
    setState(State::AwaitingReady);
    emit readFinished();
}

void LinkController::failRead(Failure failure)
{
    // The failure reaches the user once, in the language in use, from
    // whoever hears failed(); the link trace keeps what came over the line.
    if (isVerify(state_))
        failure = Failure::VerifyFailed;
    blockTimeout_.stop();
    readStart_.stop();
    pollTick_.stop();
    verifyWait_.stop();
    // The rest of a broken answer is frame text, not replies for the poll
    // (a "C" among its hex digits would read as the radio being ready), and
    // it may still be coming for a second or more.
    link_.discardInput();
    draining_ = true;
    quietTicks_ = 0;
    lastHeard_.start();
    emit failed(failure);
    endRead();
}

void LinkController::endRead()
{
    const bool polling = link_.isOpen();
    if (polling)
        beginPoll();
    emit progressChanged(0);
    setState(polling ? State::AwaitingReady : State::Idle);
}

void LinkController::cancelRead()
{
    if (state_ != State::ReadPending && state_ != State::Reading && !isVerify(state_))
        return;
    blockTimeout_.stop();
    readStart_.stop();
    verifyWait_.stop();
    link_.discardInput();
    // The radio goes on with its answer after the user stops listening.
    draining_ = state_ == State::Reading || state_ == State::Verifying;
    quietTicks_ = 0;
    lastHeard_.start();
    endRead();
}

void LinkController::startPoll()
{
    if (transferRunning() || !link_.isOpen())
        return;
    beginPoll();
    setState(State::AwaitingReady);
}

int LinkController::remainingWriteMs() const
{
    if (state_ == State::WritePending)
        return writeDelay_.remainingTime() + 50 * writeTick_.interval();
    if (state_ == State::Writing)
        return (100 - writeStep_) / 2 * writeTick_.interval();
    return 0;
}

// ---- poll and line --------------------------------------------------------

void LinkController::beginPoll()
{
    pollTick_.start();
    silence_.start();
}

void LinkController::endPoll()
{
    pollTick_.stop();
    silence_.stop();
    draining_ = false;
}

void LinkController::onPollTick()
{
    if (draining_) {
        link_.take(link_.available());
        // Two ticks, so that characters that came while the program was
        // busy elsewhere are seen before the line is called quiet.
        if (++quietTicks_ < 2 || !lastHeard_.hasExpired(kQuietMs))
            return;
        draining_ = false;
    }
    // Everything that came since the last tick: noise before the reply must
    // not delay it by a tick a character, nor stay behind for the next read.
    const QByteArray replies = link_.take(link_.available());
    if (replies.contains(kReadyReply)) {
        endPoll();
        if (state_ == State::VerifyPending) {
            verifyWait_.stop();
            readStart_.start(); // the same pause as before a read's "B"
            return;
        }
        emit radioReady();
        setState(State::Idle);
        return;
    }
    if (!link_.send(QByteArray(1, kProbeCommand))) {
        endPoll();
        if (state_ == State::VerifyPending) {
            verifyWait_.stop();
            emit failed(Failure::VerifyFailed);
        }
        setState(State::Idle);
    }
}

void LinkController::onVerifyWait()
{
    // Stopped before the user is told, so that nothing moves meanwhile; then
    // the poll goes on as after any write.
    endPoll();
    emit failed(Failure::VerifySilent);
    const bool polling = link_.isOpen();
    if (polling)
        beginPoll();
    setState(polling ? State::AwaitingReady : State::Idle);
}

void LinkController::onLineLost()
{
    switch (state_) {
    case State::WritePending:
    case State::Writing:
        endWrite(false);
        emit failed(Failure::LineFailed);
        break;
    case State::ReadPending:
    case State::Reading:
    case State::VerifyPending:
    case State::Verifying:
        failRead();
        break;
    case State::AwaitingReady:
        endPoll(); // the poll ends quietly; the next transfer will say why
        setState(State::Idle);
        break;
    case State::Idle:
        break;
    }
}

void LinkController::stop()
{
    for (QTimer *t :
         {&writeTick_, &writeDelay_, &pollTick_, &readStart_, &blockTimeout_, &silence_, &verifyWait_})
        t->stop();
    draining_ = false;
    writeStep_ = 0;
    frames_.clear();
    setState(State::Idle);
}

} // namespace vq
