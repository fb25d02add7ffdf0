#include "radio/RadioFinder.h"

#include <QFileInfo>
#include <QHash>

namespace vq {

RadioFinder::RadioFinder(QObject *parent) : QObject(parent) {}

RadioFinder::~RadioFinder()
{
    stop();
}

void RadioFinder::stop()
{
    // Later, not now: stop() may come from inside a probe's own signal.
    for (PortProbe *probe : std::as_const(probes_)) {
        probe->stop();
        probe->disconnect(this);
        probe->deleteLater();
    }
    probes_.clear();
    pending_ = 0;
    ++generation_;
}

void RadioFinder::start(const QStringList &paths)
{
    stop();
    paths_ = paths;
    outcomes_.clear();
    probeOfPath_.clear();
    // A second probe of a device the first one holds would find it in use.
    QHash<QString, qsizetype> probeOfDevice;
    for (const QString &path : paths) {
        const QString device = QFileInfo(path).canonicalFilePath();
        if (!device.isEmpty() && probeOfDevice.contains(device)) {
            probeOfPath_ << probeOfDevice.value(device);
            continue;
        }
        auto *probe = new PortProbe(this);
        probe->setLimit(limitMs_);
        probe->setLockFolders(lockFolders_);
        connect(probe, &PortProbe::finished, this, &RadioFinder::onProbeFinished);
        probeOfPath_ << probes_.size();
        if (!device.isEmpty())
            probeOfDevice.insert(device, probes_.size());
        probes_ << probe;
        ++pending_;
        probe->start(path);
    }
    if (probes_.isEmpty()) {
        pending_ = 1;
        QMetaObject::invokeMethod(
            this,
            [this, generation = generation_] {
                if (generation == generation_)
                    onProbeFinished();
            },
            Qt::QueuedConnection);
    }
}

void RadioFinder::onProbeFinished()
{
    if (pending_ == 0 || --pending_ > 0)
        return;
    for (qsizetype i = 0; i < paths_.size(); ++i) {
        ProbeOutcome outcome = probes_.at(probeOfPath_.at(i))->outcome();
        outcome.path = paths_.at(i);
        outcomes_ << outcome;
    }
    emit finished(outcomes_);
}

} // namespace vq
