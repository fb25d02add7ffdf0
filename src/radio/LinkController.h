#pragma once

#include "radio/ReadEngine.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <vector>

namespace vq {

class SerialLink;

// Conducts every transfer with the radio: a write of 50 frames, a read, and
// the link poll that follows each of them until the radio answers "C". A
// write may be followed by a read-back that checks it: once the radio is
// ready again its memory is read as for a read, but the rows go to the
// verify, never to the table.
// Driven by its timers and the port's signals on the GUI thread; nothing
// waits in a loop. It reports states, progress and failures; what the user
// is told about them is decided above it.
class LinkController : public QObject {
    Q_OBJECT
public:
    // VerifyPending: the write is done and the poll waits for "C" before the
    // read-back; Verifying: the read-back's answer is coming in.
    enum class State {
        Idle,
        WritePending,
        Writing,
        ReadPending,
        Reading,
        VerifyPending,
        Verifying,
        AwaitingReady
    };
    Q_ENUM(State)

    // A transfer that ended before its end: the line broke during a write,
    // the read's answer was incomplete or malformed, or its rows could not
    // be kept; the read-back after a write failed likewise, or never began
    // because the radio did not answer after the write.
    enum class Failure { LineFailed, ReadFailed, ReadNotKept, VerifyFailed, VerifySilent };
    Q_ENUM(Failure)

    enum class Start { Started, Busy, NoPort, SendFailed };
    // What follows a write once its frames are out.
    enum class AfterWrite { Poll, Verify };

    struct Intervals {
        int writeTick = 100;     // one frame per tick
        int writeDelay = 800;    // from "A" to the first tick
        int poll = 100;          // one probe or reply per tick
        int readStart = 100;     // from the command to "B"
        int blockTimeout = 2000; // a block not complete by then ends the read
        int silence = 5000;      // a poll without "C" this long: the radio is not answering
        int verifyWait = 10000;  // after a write, how long the read-back waits for "C"
    };

    using ReadRows = std::array<DecodedFields, kChannelCount>;
    // Takes the 50 decoded rows of a complete read; false when they could
    // not be kept, which fails the read.
    using ReadSink = std::function<bool(const ReadRows &)>;

    explicit LinkController(SerialLink &link, QObject *parent = nullptr);

    void setIntervals(const Intervals &intervals);
    void setReadSink(ReadSink sink) { readSink_ = std::move(sink); }

    State state() const { return state_; }
    bool transferRunning() const;
    // The write's step: 0 outside a write, then 0, 2, … 98 per frame.
    int writeStep() const { return writeStep_; }

    // Sends "A" now and the frames one per tick after the write delay.
    Start startWrite(std::vector<QByteArray> frames, AfterWrite after = AfterWrite::Poll);
    // Sends "B" after the read-start delay and collects the answer.
    Start startRead();
    // Ends a read or a read-back at once without a word: nothing is kept,
    // the poll runs.
    void cancelRead();
    // Probes the radio until it answers, as after a transfer.
    void startPoll();
    // Stops every timer at once, as when the program ends or the port moves.
    void stop();
    // How long the running write still takes, 0 outside a write.
    int remainingWriteMs() const;

signals:
    void stateChanged(vq::LinkController::State state);
    void progressChanged(int value);
    // Frame `channel` (1 … 50) of a write went onto the line.
    void frameSent(int channel);
    void failed(vq::LinkController::Failure failure);
    // The poll saw "C".
    void radioReady();
    // The poll has had no "C" for the silence interval; said once per poll.
    void radioSilent();
    // A read's rows were taken by the sink; the poll runs.
    void readFinished();
    // The read-back after a write is complete; the poll runs.
    void readBack(const vq::LinkController::ReadRows &rows);

private:
    void setState(State state);
    void onWriteDelay();
    void onWriteTick();
    void endWrite(bool startPoll);
    void onReadStart();
    void onReceived();
    void finishRead();
    void failRead(Failure failure = Failure::ReadFailed);
    void endRead();
    void onPollTick();
    void onVerifyWait();
    void beginPoll();
    void endPoll();
    void onLineLost();

    SerialLink &link_;
    QTimer writeTick_;
    QTimer writeDelay_;
    QTimer pollTick_;
    QTimer readStart_;
    QTimer blockTimeout_;
    QTimer silence_;
    QTimer verifyWait_;
    State state_ = State::Idle;
    int writeStep_ = 0;
    AfterWrite afterWrite_ = AfterWrite::Poll;
    // After a broken read the radio may still be sending the rest of its
    // answer: the poll drops it until the line is quiet for a tick.
    bool draining_ = false;
    QElapsedTimer lastHeard_;
    int quietTicks_ = 0;
    std::vector<QByteArray> frames_;
    ReadEngine readEngine_;
    ReadSink readSink_;
};

} // namespace vq
