#pragma once

#include "channels/ChannelHistory.h"
#include "channels/ChannelStore.h"
#include "plan/BulkEdit.h"
#include "plan/ChannelPresets.h"
#include "plan/CsvExchange.h"
#include "plan/PortInventory.h"
#include "plan/PortSettings.h"
#include "plan/Result.h"
#include "radio/LinkController.h"
#include "radio/SerialLink.h"
#include "radio/TraceFile.h"

#include <QUndoStack>

#include <functional>
#include <memory>

namespace vq {

class StoreCommand;

// The channel programmer without a window: the store, the serial link and
// the transfers, and every operation a user can ask for. Each operation
// decides everything itself and returns what the user must be told; the
// window and the command line only ask and show. Every change to the table
// is a StoreCommand on the undo stack, applied to the store as one batch.
class Programmer : public QObject {
    Q_OBJECT
public:
    // Asks the user for a file; an empty text is a cancel.
    using PathChooser = std::function<QString()>;
    // Shows a message at once, while the operation waits for it.
    using Tell = std::function<void(const Notice &)>;

    explicit Programmer(QObject *parent = nullptr);
    ~Programmer() override;

    ChannelStore &store() { return store_; }
    ChannelHistory &history() { return history_; }
    SerialLink &link() { return link_; }
    LinkController &controller() { return controller_; }
    QUndoStack &undoStack() { return undoStack_; }
    // A read is collecting: the table takes no changes until it lands.
    bool isReading() const;

    // The user's data folder of the program (~/.local/share/vq4471r): the
    // same for the window and the command line.
    static QString dataFolder();
    // The store used when none is named, in the data folder.
    static QString defaultStorePath();
    // Where link traces and logs go; only the newest kLogsKept stay.
    static QString logFolder();
    static constexpr int kLogsKept = 20;
    // A new time-stamped file name for a saved trace, in the log folder
    // (made here when it can be, so a file dialog can start in it).
    static QString newTracePath();
    // Opens the channel database, creating a missing one; the default
    // store's folder is created too.
    Result openStore(const QString &path);
    // The devices of the two ports and the one to try first; choices made
    // later are remembered in `settings` when given.
    void usePorts(const PortChoice &choice, PortSettings *settings = nullptr);
    // The first port, else the other after saying why the first could not
    // be used; when neither opens, that is said too.
    Result openPort();
    // The whole table into the radio; without a port nothing happens and
    // nothing is said (the user learns it at the first transfer). A table
    // without any channel is not written: the radio keeps its plan.
    Result startUpWrite();
    Result write();
    Result read();
    // Whether each write is read back and compared with what it sent; a
    // change is remembered in the settings given to usePorts().
    void setVerifyAfterWrite(bool on);
    bool verifyAfterWrite() const { return verifyAfterWrite_; }
    // Moves the link to a port (the port dialog) and polls the radio there.
    Result switchPort(int port);
    // Puts a device behind port 1 or 2; the link moves at once when that
    // port is the one in use.
    Result assignDevice(int port, const QString &device);
    // The two ports as the device window marks them.
    PortSetup portSetup() const;
    // Whether a search for the radio or a cable check may open devices now:
    // not while a transfer needs the line to itself.
    Result mayProbe() const;
    // Whether the program may close now: never half-way through a write; a
    // running read or read-back is ended without keeping anything.
    Result requestClose();
    // Stops every transfer and lets the port go.
    void shutDown();

    // The user's text for 接收频率 or 发送频率, checked and stored together
    // with what the check makes of the other frequency. An out-of-range text
    // stands in the row while `tellNow` shows why it goes (without `tellNow`
    // the warning comes back in the result).
    Result applyTypedValue(int row, int column, const QString &text, const Tell &tellNow = {});
    // A picker choice (Combo1 … Combo7) for a row.
    Result applyPick(int picker, int row, const QString &text);
    Result saveChannelFile(const PathChooser &choosePath);

    // Spreadsheet-style editing (see BulkEdit.h for what each one stores).
    // Each change is one undoable step, checked by the rules of typing and
    // picking, all of it or nothing; refused while a read is collecting,
    // allowed during a write, which sends what it took at its start.
    QString copyCells(const std::vector<Cell> &cells) const;
    Result paste(const QString &text, const std::vector<Cell> &selection, Cell current);
    Result clearCells(const std::vector<Cell> &cells);
    Result fillDown(const std::vector<Cell> &cells);
    Result changeMany(const std::vector<int> &rows, const ManyChange &change);
    Result insertPreset(const std::vector<int> &rows, const ChannelPreset &preset);
    Result openChannelFile(const PathChooser &choosePath);

    // The whole table as a CSV file in `layout`; a chosen name without an
    // extension gets ".csv", a given path is used exactly.
    Result exportCsv(CsvLayout layout, const PathChooser &choosePath);
    Result exportCsvTo(CsvLayout layout, const QString &path);
    // A CSV file of either layout into the table as one undoable step,
    // after a snapshot of the table it changes; all of it or nothing.
    Result importCsv(const PathChooser &choosePath);

    // The last change to the table taken back, or the last one taken back
    // done again; each one batch of the store. Refused while a read is
    // collecting: its batch must land on the table it started from.
    Result undo();
    Result redo();
    // A snapshot of the history put back as one undoable step, after a
    // snapshot of the table it replaces.
    Result restoreSnapshot(qint64 id);
    // A snapshot saved as a channel file, or as CSV in the layout given.
    Result exportSnapshot(qint64 id, const PathChooser &choosePath, std::optional<CsvLayout> csv = {});
    // The user wants the running transfer to stop: a read ends at once when
    // `confirm` says yes and leaves the table as it was; a write is never
    // cut off, and the user learns how long it still takes.
    Result cancelTransfer(const std::function<bool()> &confirm);
    // The link's recent traffic as a text file, for a support request; a
    // save into the log folder prunes it to the newest kLogsKept files.
    Result saveTrace(const PathChooser &choosePath);
    // The same lines into `path` as they happen, from now on. A write that
    // fails later is told once through notice() and ends the live trace;
    // the transfer goes on.
    Result startTrace(const QString &path);
    // The status line again, in the language now in use.
    void restateStatus() { showStatus(status_); }

signals:
    // A running transfer ended in a failure the user must read.
    void notice(const vq::Notice &notice);
    void statusChanged(const QString &text);
    void progressChanged(int value);
    void transferRunningChanged(bool running);
    // While a read runs the table takes no edits: its batch must land on
    // the table the read started from.
    void readingChanged(bool reading);
    // The grid's cursor goes back to the first row.
    void firstRowCurrent();
    // All 50 channels of a read are in the store.
    void readStored();
    // The read-back after a write differs from what was sent: the radio's
    // rows as they came. The table is left as it is.
    void verifyMismatch(const vq::LinkController::ReadRows &readBack);

private:
    // Whether the table takes an edit now: not while a read collects, and
    // not over rows another program has changed since they were shown.
    Result mayEdit();
    Result beginWrite(bool startUp);
    // A bulk edit stored as the step `step`, or the refusal `refusal` with
    // its problems.
    Result commitEdit(const QString &step, const QString &refusal, const BulkEdit &edit);
    // `first` runs in the batch's own transaction, before the changes.
    bool commit(std::unique_ptr<StoreCommand> command, const std::function<void()> &first = {});
    bool commit(const QString &text, std::vector<ChannelStore::Change> changes,
                const std::function<void()> &first = {});
    // Keeps `rows` in the history; a history that cannot take it never
    // stops what the user asked for.
    void snapshot(ChannelHistory::Reason reason, const QString &device, const PlanRows &rows);
    QString deviceInUse() const;
    Result saveRows(const PlanRows &rows, const PathChooser &choosePath);
    Result saveCsv(const PlanRows &rows, CsvLayout layout, const PathChooser &choosePath);
    // Undo (back) or redo through the store first.
    Result step(bool back);
    bool storeRead(const LinkController::ReadRows &rows);
    Result movePort(int port);
    void onStateChanged(LinkController::State state);
    void onFailed(LinkController::Failure failure);
    void onTraced(const LinkTrace::Entry &entry);
    QByteArray traceHeader() const;
    void onReadBack(const LinkController::ReadRows &rows);

    ChannelStore store_;
    ChannelHistory history_{store_};
    SerialLink link_;
    LinkController controller_;
    QUndoStack undoStack_;
    LinkController::State lastState_ = LinkController::State::Idle;
    bool startUpWrite_ = false;
    bool historyWarned_ = false;
    bool verifyAfterWrite_ = false;
    // The write started and not yet on the line, for the history.
    struct PendingWrite {
        ChannelHistory::Reason reason;
        QString device;
        PlanRows sent;
    };
    std::optional<PendingWrite> pendingWrite_;
    // What the running write sent, decoded as a read would decode it.
    LinkController::ReadRows sentRows_{};
    // "校验通过" is not replaced by "ready" when the radio then answers the
    // poll: it said as much by answering the read-back.
    bool keepVerifiedStatus_ = false;
    texts::Text status_{nullptr};
    void showStatus(texts::Text status)
    {
        status_ = status;
        emit statusChanged(status.source ? status.text() : QString());
    }
    PortSettings *settings_ = nullptr;
    int firstPort_ = 1;
    TraceFile traceFile_;
};

} // namespace vq
