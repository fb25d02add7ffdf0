#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <deque>
#include <functional>

namespace vq {

// The last stretch of traffic on the serial link, each chunk with its time
// and direction: what a user sends in when the link misbehaves. A chunk is
// what one send or one arrival carried, so a long answer is a few entries,
// not one a character.
class LinkTrace {
public:
    enum class Direction { Sent, Received, Opened };
    struct Entry {
        qint64 ms = 0; // wall-clock time, milliseconds since the epoch
        Direction direction = Direction::Sent;
        // The characters; for Opened, the device's name.
        QByteArray bytes;
    };
    using Listener = std::function<void(const Entry &)>;

    static constexpr qsizetype kDefaultLimit = 64 * 1024;

    explicit LinkTrace(qsizetype limit = kDefaultLimit) : limit_(limit) {}

    // Keeps the entry, stamped now; the oldest characters go when the kept
    // ones pass the limit.
    void record(Direction direction, const QByteArray &bytes);
    const std::deque<Entry> &entries() const { return entries_; }
    // The characters kept, at most the limit.
    qsizetype size() const { return size_; }
    // Hears every entry as it is recorded (a live trace file); an empty
    // listener stops that.
    void setListener(Listener listener) { listener_ = std::move(listener); }

private:
    std::deque<Entry> entries_;
    qsizetype size_ = 0;
    qsizetype limit_;
    Listener listener_;
};

// An entry as text lines of sixteen characters each, every line complete
// in itself: time, ">" sent or "<" received, hex, and the characters with
// "." for what does not print:
//   12:03:04.567  <  43                                               C
// An opened device reads "12:03:04.567  =  /dev/ttyUSB0".
QByteArray formatTraceEntry(const LinkTrace::Entry &entry);

} // namespace vq
