#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

namespace vq::sim {

class PseudoTerminal;

// Puts characters on the line no faster than the radio does, and does things once
// given amounts of them are out (a read answer done, a hang-up halfway through).
class PacedSender : public QObject {
    Q_OBJECT

public:
    static constexpr int CharsPerSecond = 960; // 9600 baud, 10 bits a character

    PacedSender(PseudoTerminal &line, bool paced, QObject *parent = nullptr);

    void send(const QByteArray &bytes);
    // Runs action once chars beyond all queued so far are sent; ties run in the order added.
    void markAfter(qint64 chars, std::function<void()> action);
    qsizetype pending() const { return out_.size(); } // queued, not yet on the line
    void clear();                                     // drops what is queued and all marks

signals:
    void failed(QString message);

private:
    struct Mark {
        qint64 at; // characters sent in total
        std::function<void()> action;
    };

    void pump();

    PseudoTerminal &line_;
    const bool paced_;
    QTimer timer_;
    QElapsedTimer clock_;
    QByteArray out_;
    std::deque<Mark> marks_;
    qint64 sent_ = 0;
    qint64 epochNs_ = 0;
    qint64 sentSinceEpoch_ = 0;
};

} // namespace vq::sim
