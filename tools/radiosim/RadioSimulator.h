#pragma once

#include "PacedSender.h"
#include "PseudoTerminal.h"
#include "RadioProtocol.h"
#include "RadioSimulatorOptions.h"

#include <QElapsedTimer>

namespace vq::sim {

// The radio's end of a serial line, on a pseudo-terminal. Fully event driven,
// so a test can run it on the same event loop as the program that talks to it.
class RadioSimulator : public QObject {
    Q_OBJECT

public:
    using Options = RadioSimulatorOptions;

    static constexpr int FrameCount = RadioProtocol::FrameCount;
    static constexpr int FrameChars = RadioProtocol::FrameChars;
    static constexpr int LeadingChars = RadioProtocol::LeadingChars;
    static constexpr int ReadAnswerChars = LeadingChars + FrameCount * FrameChars; // 1632
    static constexpr int WriteChars = FrameCount * FrameChars;                     // 1600
    static constexpr int CharsPerSecond = PacedSender::CharsPerSecond;

    explicit RadioSimulator(const Options &options = {}, QObject *parent = nullptr);

    // False if the pty, the link or the memory file could not be set up; see errorString().
    bool isValid() const { return error_.isEmpty(); }
    QString errorString() const { return error_; }
    const Options &options() const { return protocol_.options(); }
    void setFaults(const Options &faults) { protocol_.setFaults(faults); }

    QString devicePath() const { return line_.devicePath(); } // the slave, e.g. /dev/pts/7
    bool isHungUp() const { return line_.isHungUp(); }

    QStringList frames() const { return protocol_.frames(); }
    // Exactly 50 frames of 32 Latin-1 characters, else returns false and keeps memory; not saved.
    bool setFrames(const QStringList &frames) { return protocol_.setFrames(frames); }
    bool saveMemory() { return protocol_.saveMemory(); } // to options().memoryFile, atomically

    QByteArray received() const { return received_; } // everything that arrived from the program
    // One entry per received byte, ns since construction.
    QList<qint64> receiveTimesNs() const { return receiveTimes_; }
    void clearReceived();
    qsizetype pendingOutput() const { return sender_.pending(); } // characters queued but not yet on the line

    void sendRaw(const QByteArray &bytes) { sender_.send(bytes); } // paced like everything else
    // Closes the line for good: stops sending and listening, lets the program read what
    // already went out, then closes and emits hungUp() (at once if nothing is left).
    void hangUp();

    static QString emptyFrame() { return RadioProtocol::emptyFrame(); }
    static QStringList defaultFrames() { return RadioProtocol::defaultFrames(); }

signals:
    void received(QByteArray chunk);    // overloads the getter: connect with qOverload<QByteArray>
    void commandReceived(char command); // '6', 'A' or 'B' seen while idle
    void writeStored();                 // all 50 frames of a write landed in memory
    void writeAbandoned(int charsReceived);
    void readServed(); // last character of a read answer sent
    void hungUp();
    void problem(QString message); // e.g. the memory file could not be saved

private:
    void onReadyRead();

    QString error_;
    PseudoTerminal line_;
    PacedSender sender_;
    RadioProtocol protocol_;
    QElapsedTimer clock_;
    QByteArray received_;
    QList<qint64> receiveTimes_;
};

} // namespace vq::sim
