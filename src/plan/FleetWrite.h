#pragma once

#include "plan/PlanFrames.h"
#include "radio/LinkController.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace vq {

// One plan written into several radios at once, one cable each. Every port
// has a link and a link controller of its own, the same engines as the
// window's write, so each keeps the radio's pace by itself; all of them run
// on this thread's event loop. A port waits for its radio's "C", writes, and
// then either waits for "C" again or reads the radio back and compares. One
// port failing never stops the others.
class FleetWrite : public QObject {
    Q_OBJECT
public:
    // How far a port got. Written: all 50 frames went out; Cancelled: the
    // radio never got "A" and keeps the plan it had.
    enum class Stage { NotStarted, Written, Verified, Failed, Cancelled };
    Q_ENUM(Stage)

    struct PortResult {
        QString device;
        Stage stage = Stage::NotStarted;
        bool ok = false;
        // What the user reads, e.g. "第3、7信道校验不符", "对讲机未响应".
        QString text;
        // The system's own words or what the user can do, when there are any.
        QString detail;
        // 0 … 50: how much of the plan went out. Anything between means the
        // radio holds a plan nobody knows.
        int framesSent = 0;
        // The radio's rows as its verify read them back, when it did.
        std::optional<ReadBackRows> readBack;
    };

    explicit FleetWrite(QObject *parent = nullptr);
    ~FleetWrite() override;

    // For every port of the next start().
    void setIntervals(const LinkController::Intervals &intervals) { intervals_ = intervals; }

    // Writes `frames` (the 50 of encodePlan) into the radio behind each
    // device; with `verify`, each radio is read back and compared. False,
    // and nothing starts, while a write runs, without devices, or when the
    // frames are not 50 that a read could give back.
    bool start(const QStringList &devices, std::vector<QByteArray> frames, bool verify);
    // Ports still waiting for their radio, and read-backs, stop at once. A
    // port whose radio has had "A" sends the rest of its frames (a radio
    // left half-way would hold a plan nobody knows) and then stops.
    void cancel();

    bool isRunning() const { return running_; }
    // One per device, in the order given; final once portFinished() said so.
    QList<PortResult> results() const;
    // Every port reached what was asked of it.
    bool succeeded() const;

signals:
    // 0 … 100 for one port: its frames, and its read-back when verifying.
    void portProgress(int port, int value);
    // The port's device is closed again by then.
    void portFinished(int port, bool ok, const QString &text);
    // Every port finished and every device is closed.
    void finished(bool ok);

private:
    struct Port;
    enum class Phase { Waiting, Sending, Confirming, Verifying, Done };

    void connectPort(int index);
    void beginSending(int index);
    void onReady(int index);
    void onSilent(int index);
    void onStateChanged(int index, LinkController::State state);
    void onProgress(int index, int value);
    void onFailed(int index, LinkController::Failure failure);
    void onReadBack(int index, const LinkController::ReadRows &rows);
    void onLineLost(int index);
    void end(int index, Stage stage, bool ok, const QString &text, const QString &detail = {});
    void release(int index);
    void showProgress(int index);

    LinkController::Intervals intervals_;
    std::vector<std::unique_ptr<Port>> ports_;
    std::vector<QByteArray> frames_;
    ReadBackRows expected_{};
    bool verify_ = false;
    bool running_ = false;
    bool cancelling_ = false;
    // Deferred calls of an earlier write find the ports gone.
    int generation_ = 0;
};

} // namespace vq
