#pragma once

#include "radio/DeviceUsers.h"

#include <QByteArray>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QTimer>

class QSerialPort;

namespace vq {

// What one device said to a probe, or why it was not asked.
struct ProbeOutcome {
    enum class Kind {
        Answered,     // "C" came back
        Silent,       // nothing came back in time
        Noise,        // characters came back, but no "C"
        InUse,        // another program holds it: nothing was sent
        NoPermission, // this user may not open it
        Missing,      // no such device
        NotSerial,    // not a terminal
        Failed,       // it would not open or configure, or the line went away
    };
    QString path;   // as given
    QString device; // the real device behind it; empty when missing
    Kind kind = Kind::Failed;
    QByteArray received; // the first characters that came back, at most kKeptBytes
    QString detail;      // the system's own words, when something failed

    static constexpr qsizetype kKeptBytes = 64;
};

// Asks one device whether a radio is on the other end: sends the radio's
// probe "6" at 9600 8N1 and waits up to a limit for its "C". A device that
// another program holds (a lock, exclusive mode, or a lock file naming a
// live process) is left alone and nothing is written to it. The device is
// locked while the probe has it and let go before finished().
class PortProbe : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultLimitMs = 500;

    explicit PortProbe(QObject *parent = nullptr);
    ~PortProbe() override;

    void setLimit(int ms) { limitMs_ = ms; }
    void setLockFolders(const QStringList &folders) { lockFolders_ = folders; }

    // Starts the probe; finished() follows later, never from inside start().
    // A probe still running is abandoned first.
    void start(const QString &path);
    // Lets the device go at once; no finished() follows.
    void stop();
    bool isRunning() const { return running_; }
    const ProbeOutcome &outcome() const { return outcome_; }

signals:
    void finished(const vq::ProbeOutcome &outcome);

private:
    bool openPort();
    void onReadyRead();
    void finish(ProbeOutcome::Kind kind);
    void release();

    QSerialPort *port_ = nullptr;
    int lockFd_ = -1;
    QTimer limit_;
    int limitMs_ = kDefaultLimitMs;
    QStringList lockFolders_ = kLockFolders;
    ProbeOutcome outcome_;
    bool running_ = false;
    quint64 generation_ = 0;
};

} // namespace vq

Q_DECLARE_METATYPE(vq::ProbeOutcome)
