#pragma once

#include <QElapsedTimer>
#include <QObject>

class QSocketNotifier;

namespace vq::sim {

// A raw pseudo-terminal: the program opens devicePath(), we work the other end.
// We keep the slave open ourselves, so the line stays up while the program reopens it.
class PseudoTerminal : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~PseudoTerminal() override;

    bool open(); // false with errorString() if it could not be set up
    // Also makes the device reachable at path (a symbolic link), until destroyed.
    bool createLink(const QString &path);
    QString errorString() const { return error_; }
    QString devicePath() const { return devicePath_; } // the slave, e.g. /dev/pts/7
    bool isUp() const { return master_ >= 0 && !hangingUp_; }
    bool isHungUp() const { return hungUp_; }

    void listen();        // emit readyRead() whenever something arrives
    QByteArray readAll(); // what arrived so far, without waiting
    // What the line took: 0 when it is full (writable() follows), -1 on error.
    qint64 write(const char *data, qint64 size);
    // For good: stops listening, lets the far side read what already went out,
    // then closes and emits hungUp() (at once if nothing is left).
    void hangUp();
    void close(); // at once, dropping whatever the far side has not read

signals:
    void readyRead();
    void writable();
    void hungUp();

private:
    void finishHangUp();

    QString error_;
    QString devicePath_;
    QString linkPath_;
    int master_ = -1;
    int slave_ = -1;
    QSocketNotifier *readNotifier_ = nullptr;
    QSocketNotifier *writeNotifier_ = nullptr;
    QElapsedTimer clock_;
    qint64 lastWriteNs_ = -1'000'000'000;
    qint64 hangUpStartNs_ = 0;
    bool hangingUp_ = false;
    bool hungUp_ = false;
};

} // namespace vq::sim
