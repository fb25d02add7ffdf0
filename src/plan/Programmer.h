#pragma once

#include "channels/ChannelHistory.h"
#include "channels/ChannelStore.h"
#include "plan/HistoryModel.h"
#include "plan/LinkTraces.h"
#include "plan/PlanFiles.h"
#include "plan/AdapterOffer.h"
#include "plan/AirCheck.h"
#include "plan/PortControl.h"
#include "plan/Result.h"
#include "plan/TableEditor.h"
#include "plan/Transfers.h"
#include "radio/LinkController.h"
#include "radio/SerialLink.h"

namespace vq {

// The channel programmer without a window: it builds the store, the serial
// link and the units that do what a user asks (editing the table, files,
// transfers, ports, traces), connects them, and gathers what they report.
// The window and the command line call the units' operations; each
// operation decides everything itself and returns what the user must be
// told.
class Programmer : public QObject {
    Q_OBJECT
public:
    explicit Programmer(QObject *parent = nullptr);
    ~Programmer() override;

    // Opens the channel database, creating a missing one; the default
    // store's folder is created too.
    Result openStore(const QString &path);
    QString storePath() const { return store_.path(); }
    // Stops every transfer and lets the port go.
    void shutDown();

    TableEditor &editor() { return editor_; }
    PlanFiles &files() { return files_; }
    Transfers &transfers() { return transfers_; }
    PortControl &ports() { return ports_; }
    LinkTraces &traces() { return traces_; }
    // A free USB adapter offered while the radio does not answer.
    AdapterOffer &adapterOffer() { return adapterOffer_; }
    // The rules of the air over the table.
    AirCheck &airCheck() { return airCheck_; }
    // The snapshots of the table, and a list of them for a window.
    ChannelHistory &history() { return history_; }
    HistoryModel *newHistoryModel(QObject *parent);

    // The parts below the units, for tests that look at them directly; the
    // window and the command line never do.
    ChannelStore &store() { return store_; }
    SerialLink &link() { return link_; }
    LinkController &controller() { return controller_; }

signals:
    // What the units report, gathered for the faces to listen to in one
    // place (see Transfers, TableEditor and LinkTraces for each).
    void notice(const vq::Notice &notice);
    void statusChanged(const QString &text);
    void progressChanged(int value);
    void transferRunningChanged(bool running);
    void readingChanged(bool reading);
    void firstRowCurrent();
    void readStored();
    void verifyMismatch(const vq::LinkController::ReadRows &readBack);

private:
    ChannelStore store_;
    ChannelHistory history_{store_};
    SerialLink link_;
    LinkController controller_{link_};
    TableEditor editor_;
    PlanFiles files_{store_, history_, editor_};
    PortControl ports_{link_, controller_};
    Transfers transfers_{store_, history_, link_, controller_, editor_, ports_};
    LinkTraces traces_{link_};
    AdapterOffer adapterOffer_{ports_, link_, controller_};
    AirCheck airCheck_{editor_};
};

} // namespace vq
