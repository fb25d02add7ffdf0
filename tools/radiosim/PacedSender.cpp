#include "PacedSender.h"

#include "PseudoTerminal.h"

#include <algorithm>

namespace vq::sim {

PacedSender::PacedSender(PseudoTerminal &line, bool paced, QObject *parent)
    : QObject(parent), line_(line), paced_(paced)
{
    clock_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(paced ? 2 : 0);
    connect(&timer_, &QTimer::timeout, this, &PacedSender::pump);
    // The reader stalled us; go on at line rate from here instead of bursting the backlog.
    connect(&line_, &PseudoTerminal::writable, this, [this] {
        epochNs_ = clock_.nsecsElapsed();
        sentSinceEpoch_ = 0;
        timer_.start();
    });
}

void PacedSender::send(const QByteArray &bytes)
{
    if (!line_.isUp() || bytes.isEmpty())
        return;
    if (out_.isEmpty()) { // the line was idle: the first character is due one character time from now
        epochNs_ = clock_.nsecsElapsed();
        sentSinceEpoch_ = 0;
    }
    out_ += bytes;
    if (!timer_.isActive())
        timer_.start();
}

void PacedSender::markAfter(qint64 chars, std::function<void()> action)
{
    const qint64 at = sent_ + out_.size() + chars;
    const auto later = std::upper_bound(marks_.begin(), marks_.end(), at,
                                        [](qint64 value, const Mark &mark) { return value < mark.at; });
    marks_.insert(later, Mark{at, std::move(action)});
}

void PacedSender::clear()
{
    timer_.stop();
    out_.clear();
    marks_.clear();
}

void PacedSender::pump()
{
    for (;;) {
        // An action may hang up, which clears everything here.
        while (!marks_.empty() && marks_.front().at <= sent_) {
            const std::function<void()> action = std::move(marks_.front().action);
            marks_.pop_front();
            action();
        }
        if (out_.isEmpty()) {
            timer_.stop();
            return;
        }
        qint64 allowed = out_.size();
        if (paced_) {
            // From elapsed time rather than counting ticks, so late timers do not slow the average.
            const qint64 due = (clock_.nsecsElapsed() - epochNs_) * CharsPerSecond / 1'000'000'000;
            allowed = std::min(allowed, due - sentSinceEpoch_);
        }
        if (!marks_.empty())
            allowed = std::min(allowed, marks_.front().at - sent_);
        if (allowed <= 0)
            return; // the timer brings us back
        const qint64 n = line_.write(out_.constData(), allowed);
        if (n <= 0) {
            timer_.stop(); // on a full line, writable() brings us back
            if (n < 0)
                emit failed(line_.errorString());
            return;
        }
        out_.remove(0, n);
        sent_ += n;
        sentSinceEpoch_ += n;
    }
}

} // namespace vq::sim
