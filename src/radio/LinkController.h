#pragma once

#include "channels/Notice.h"
#include "radio/ReadEngine.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <vector>

namespace vq {

class ChannelStore;
class SerialLink;

// Conducts every transfer with the radio: the start-up write, the write and
// read commands, and the link poll that follows each of them until the
// radio answers "C". Driven by four timers and the port's signals on the
// GUI thread; nothing waits in a loop.
class LinkController : public QObject {
    Q_OBJECT
public:
    // Which timer runs (or, for Reading, which block is awaited).
    enum class State { Idle, WritePending, Writing, ReadPending, Reading, AwaitingReady };
    Q_ENUM(State)

    struct Intervals {
        int writeTick = 100;     // Timer1: one frame per tick
        int writeDelay = 800;    // Timer2: from "A" to the write engine
        int poll = 100;          // Timer3: link poll
        int readStart = 100;     // Timer4: from the command to "B"
        int blockTimeout = 2000; // a block not complete by then ends the read
    };

    enum class SwitchResult { Unchanged, Switched, Failed, Busy };

    static constexpr int kChannels = 50;

    LinkController(SerialLink &link, ChannelStore &store, QObject *parent = nullptr);

    void setIntervals(const Intervals &intervals);

    State state() const;
    bool transferRunning() const;
    // The write engine's step: 0 outside a write, then 0, 2, … 98 per frame.
    int writeStep() const { return writeStep_; }

    // Start-up: first channel numbered "1", "A", Timer2, its own status text.
    void startUpWrite();
    // 写信道 and 读信道.
    void startWrite();
    void startRead();
    // Stops every timer at once, as when the program ends.
    void stop();
    // The port dialog's OK: refused while a transfer runs.
    SwitchResult switchPort(int port);

signals:
    void statusChanged(const QString &text); // Label2
    void progressChanged(int value);         // ProgressBar1
    void menusLocked(bool locked);           // the five transfer menus
    void firstRowCurrent();                  // the table's cursor back to row 1
    void notice(const vq::Notice &notice);
    void stateChanged(vq::LinkController::State state);
    // All 50 frames of a read are in the store.
    void readStored();

private:
    void beginWrite(bool fromStartUp);
    bool prepareFrames();
    void onWriteDelay();
    void onWriteTick();
    void endWrite(bool startPoll);
    void onReadStart();
    void onReceived();
    void finishRead();
    void failRead(const QString &why);
    void onPollTick();
    void onLineLost();
    void report(Notice::Icon icon, const QString &title, const QString &text);
    void updateState();

    SerialLink &link_;
    ChannelStore &store_;
    QTimer timer1_; // write tick
    QTimer timer2_; // write start delay
    QTimer timer3_; // link poll
    QTimer timer4_; // read start
    QTimer blockTimer_;
    Intervals intervals_;
    int writeStep_ = 0;
    std::vector<QByteArray> frames_;
    bool reading_ = false;
    ReadEngine readEngine_;
    State lastState_ = State::Idle;
};

} // namespace vq
