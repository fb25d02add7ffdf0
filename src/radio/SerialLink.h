#pragma once

#include "radio/LinkTrace.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QSerialPort;

namespace vq {

// The serial line to the radio: 9600 baud, 8 data bits, no parity, 1 stop
// bit, no flow control, on port 1 or port 2 (two device paths given at
// start). Received characters collect in an inbox that the link takes from;
// nothing here waits or loops.
class SerialLink : public QObject {
    Q_OBJECT
public:
    enum class OpenResult { Opened, Missing, NotSerial, InUse, NoPermission, Failed };

    explicit SerialLink(QObject *parent = nullptr);
    ~SerialLink() override;

    void setDevicePaths(const QString &port1, const QString &port2);
    QString devicePath(int port) const;

    // The port in use, 1 or 2; changing it does not reopen anything.
    int commPort() const { return commPort_; }
    void setCommPort(int port) { commPort_ = port; }

    // Opens the device of commPort(). The device is locked while open, so no
    // other program can use it at the same time.
    OpenResult open();
    void close();
    bool isOpen() const;
    // How the last open() ended, for messages that tell access rights
    // apart from a device in use.
    OpenResult lastOpenResult() const { return lastResult_; }
    // The system's own words for the last failure.
    QString errorDetail() const { return errorDetail_; }

    // Queues bytes for sending; false when no port is open or the write is
    // refused at once.
    bool send(const QByteArray &bytes);
    // Hands what send() queued to the device now, without waiting: closing
    // the port drops whatever is still queued.
    void flush();
    // Waits until what send() queued has gone out (a while at most): at
    // 9600 baud a frame takes 33 ms.
    void drain();

    qsizetype available() const { return inbox_.size(); }
    // Takes up to n received characters, oldest first.
    QByteArray take(qsizetype n);
    // Puts characters taken but not used back in front of the inbox.
    void unread(const QByteArray &bytes) { inbox_.prepend(bytes); }
    // Drops everything received so far, including what the driver holds.
    void discardInput();

    // Characters put on the line and taken from it since the program
    // started, over every port: what the device window shows live.
    qint64 bytesSent() const { return bytesSent_; }
    qint64 bytesReceived() const { return bytesReceived_; }
    // The latest of that traffic with its times, and each device opened:
    // the trace a support request needs.
    LinkTrace &trace() { return trace_; }
    const LinkTrace &trace() const { return trace_; }

signals:
    void received();
    // The line went away (cable pulled, far end closed): the port is closed
    // already; reported once per loss.
    void lineLost();

private:
    OpenResult openDevice();
    void onReadyRead();
    void onError(int error);

    QSerialPort *port_ = nullptr;
    QString paths_[2];
    int commPort_ = 1;
    QByteArray inbox_;
    QString errorDetail_;
    int lockFd_ = -1;
    qint64 bytesSent_ = 0;
    qint64 bytesReceived_ = 0;
    LinkTrace trace_;
    OpenResult lastResult_ = OpenResult::Failed;
};

} // namespace vq
