#pragma once

#include "radio/PortProbe.h"

#include <QList>
#include <QObject>
#include <QStringList>

namespace vq {

// Looks for the radio on several devices at once: every device gets its
// probe at the same moment, so the whole search takes one probe's limit
// however many devices there are. Two names for one device are probed once.
class RadioFinder : public QObject {
    Q_OBJECT
public:
    explicit RadioFinder(QObject *parent = nullptr);
    ~RadioFinder() override;

    void setLimit(int ms) { limitMs_ = ms; }
    void setLockFolders(const QStringList &folders) { lockFolders_ = folders; }

    // Starts the search; finished() follows later, never from inside start().
    // A search still running is abandoned first.
    void start(const QStringList &paths);
    // Lets every device go at once; no finished() follows.
    void stop();
    bool isRunning() const { return pending_ > 0; }
    // One outcome per path, in the order given, once finished.
    const QList<ProbeOutcome> &outcomes() const { return outcomes_; }

signals:
    void finished(const QList<vq::ProbeOutcome> &outcomes);

private:
    void onProbeFinished();

    QList<PortProbe *> probes_;
    QStringList paths_;
    QList<qsizetype> probeOfPath_;
    QList<ProbeOutcome> outcomes_;
    int pending_ = 0;
    quint64 generation_ = 0;
    int limitMs_ = PortProbe::kDefaultLimitMs;
    QStringList lockFolders_ = kLockFolders;
};

} // namespace vq
