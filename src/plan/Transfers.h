#pragma once

#include "channels/ChannelHistory.h"
#include "plan/Notice.h"
#include "plan/PlanFrames.h"
#include "plan/Result.h"
#include "radio/LinkController.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace vq {

class ChannelStore;
class PortControl;
class SerialLink;
class TableEditor;
class AirCheck;

// The plan to and from the radio: the start-up write, write, read, verify
// and cancel, with the link's state and the status line. A write is one
// use case for the window and the command line, one radio or many: the
// plan is judged and encoded once, when it starts, and kept in the
// history once a frame of it is on the line.
class Transfers : public QObject {
    Q_OBJECT
public:
    Transfers(ChannelStore &store, ChannelHistory &history, SerialLink &link, LinkController &controller,
              TableEditor &editor, PortControl &ports, QObject *parent = nullptr);

    // The whole table into the radio; without a port nothing happens and
    // nothing is said (the user learns it at the first transfer). A table
    // without any channel is not written: the radio keeps its plan.
    Result startUpWrite();
    // The user's write. When channels transmit where the rules of the air
    // do not allow, `mayWriteFlagged` is asked first (naming them); the
    // write goes on when it says yes. The start-up write never asks.
    Result write(const std::function<bool(const Notice &question)> &mayWriteFlagged = {});
    // The rules of the air the user's write asks about.
    void useAirCheck(const AirCheck *air) { air_ = air; }
    Result read();
    // Reads the radio to compare it with the table (judged and encoded as a
    // write would send it): nothing is stored but the radio's rows as a read
    // snapshot in the history; `compared` brings the differences.
    Result compare();
    // A read is collecting: the table takes no changes until it lands.
    bool isReading() const;
    // Whether each write is read back and compared with what it sent; a
    // change is remembered in the port settings.
    void setVerifyAfterWrite(bool on);
    bool verifyAfterWrite() const { return verifyAfterWrite_; }
    // The user wants the running transfer to stop: a read ends at once when
    // `confirm` says yes and leaves the table as it was; a write is never
    // cut off, and the user learns how long it still takes.
    Result cancelTransfer(const std::function<bool()> &confirm);
    // Whether the program may close now: never half-way through a write; a
    // running read or read-back is ended without keeping anything.
    Result requestClose();
    // The program must end without the user (the terminal hung up, a
    // kill): `close` runs once no write is running, at once or when the
    // write running now has finished; a read or read-back is ended.
    void closeWhenWritten(std::function<void()> close);

    // The table as a write would send it now: its 50 frames, or each row
    // the judge refuses. What check shows.
    PlanFrames judgedPlan() const;
    // The write's first half, for every face: the plan judged and encoded
    // as it stands, and channel 1 kept as number 1. Refused, with the first
    // row that cannot go, when anything stands in the way.
    Result prepareWrite(PlanFrames &plan);
    // A write into `devices` (one radio or many) kept in the history as
    // unfinished once its first frame is out, then ended: `whole` took every
    // frame, `partial` some. Returns the snapshot's id, 0 when the history
    // could not keep it.
    qint64 recordWriteBegun(const QStringList &devices, const PlanRows &sent);
    bool recordWriteEnded(qint64 id, const QStringList &whole, const QStringList &partial);
    // Radios that may hold part of a plan: their last write never finished.
    // Told at every start until they are written or read again.
    std::optional<Notice> writeCutShort();
    // A verify's read-back that differs from what was sent: what the radio
    // behind `device` really holds, in the history.
    bool recordReadBack(const QString &device, const LinkController::ReadRows &rows);

    // The status line again, in the language now in use.
    void restateStatus() { showStatus(status_); }
    // What the radio said of itself no longer holds (the port moved).
    void forgetStatus();

signals:
    // A running transfer ended in a failure the user must read.
    void notice(const vq::Notice &notice);
    void statusChanged(const QString &text);
    void progressChanged(int value);
    void transferRunningChanged(bool running);
    // While a read runs the table takes no edits: its batch must land on
    // the table the read started from.
    void readingChanged(bool reading);
    // All 50 channels of a read are in the store.
    void readStored();
    // The read-back after a write differs from what was sent: the radio's
    // rows as they came. The table is left as it is.
    void verifyMismatch(const vq::LinkController::ReadRows &readBack);
    // A comparison's read is complete: what differs, and the snapshot of
    // the radio's rows (0 when the history could not keep it).
    void compared(const std::vector<vq::FieldDifference> &differences, qint64 snapshot);

private:
    Result beginWrite(bool startUp);
    bool storeRead(const LinkController::ReadRows &rows);
    void onStateChanged(LinkController::State state);
    void closeIfWritten();
    void onFailed(LinkController::Failure failure);
    void onReadBack(const LinkController::ReadRows &rows);
    void showStatus(texts::Text status)
    {
        status_ = status;
        emit statusChanged(status.source ? status.text() : QString());
    }

    ChannelStore &store_;
    ChannelHistory &history_;
    SerialLink &link_;
    LinkController &controller_;
    TableEditor &editor_;
    const AirCheck *air_ = nullptr;
    PortControl &ports_;
    LinkController::State lastState_ = LinkController::State::Idle;
    bool startUpWrite_ = false;
    std::function<void()> closeAfterWrite_;
    bool verifyAfterWrite_ = false;
    // The write started and not yet on the line, for the history.
    struct PendingWrite {
        ChannelHistory::Reason reason;
        QString device;
        PlanRows sent;
    };
    std::optional<PendingWrite> pendingWrite_;
    // The running write's snapshot, and whether its last frame went out.
    qint64 writeRecord_ = 0;
    ChannelHistory::Reason writeReason_ = ChannelHistory::Reason::Write;
    QString writeDevice_;
    bool allSent_ = false;
    // What the running write sent, decoded as a read would decode it.
    LinkController::ReadRows sentRows_{};
    // Set while a read is a comparison: the rows the plan would give.
    std::optional<ReadBackRows> comparedWith_;
    // "校验通过" is not replaced by "ready" when the radio then answers the
    // poll: it said as much by answering the read-back.
    bool keepVerifiedStatus_ = false;
    texts::Text status_{nullptr};
};

} // namespace vq
