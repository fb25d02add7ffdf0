#pragma once

#include "RadioSimulatorOptions.h"

#include <QObject>
#include <QTimer>

namespace vq::sim {

class PacedSender;

// The radio's side of the conversation: "6" is answered with "C"; "A" is followed by 50
// frames that replace the memory; "B" is answered with the leading block and the 50 frames.
class RadioProtocol : public QObject {
    Q_OBJECT

public:
    static constexpr int FrameCount = 50;
    static constexpr int FrameChars = 32;
    static constexpr int LeadingChars = 32;

    RadioProtocol(const RadioSimulatorOptions &options, PacedSender &sender, QObject *parent = nullptr);

    const RadioSimulatorOptions &options() const { return options_; }
    // The fault modes (and nothing else) from now on, for a radio that
    // misbehaves only now and then.
    void setFaults(const RadioSimulatorOptions &faults);
    // Checks the options and loads the memory file if there is one; says what is wrong, if anything.
    QString prepare();
    bool saveMemory();
    QStringList frames() const { return memory_; }
    bool setFrames(const QStringList &frames);

    void consume(char c);
    void stop(); // the line went down: drop a write in progress and ignore the rest

    static QString emptyFrame();
    static QStringList defaultFrames();

signals:
    void commandReceived(char command);
    void writeStored();
    void writeAbandoned(int charsReceived);
    void readServed();
    void hangUpWanted();
    void problem(QString message);

private:
    enum class State { Idle, Writing, Reading, Stopped };

    void startRead();

    RadioSimulatorOptions options_;
    PacedSender &sender_;
    QTimer writeTimer_;
    State state_ = State::Idle;
    bool written_ = false; // a whole write has landed since the start
    QStringList memory_;
    QByteArray writeBuffer_;
};

} // namespace vq::sim
