#include "radio/LinkTrace.h"

#include <QDateTime>

namespace vq {

namespace {

constexpr qsizetype kPerLine = 16;

char directionMark(LinkTrace::Direction direction)
{
    switch (direction) {
    case LinkTrace::Direction::Sent:
        return '>';
    case LinkTrace::Direction::Received:
        return '<';
    case LinkTrace::Direction::Opened:
        break;
    }
    return '=';
}

} // namespace

void LinkTrace::record(Direction direction, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    entries_.push_back(Entry{QDateTime::currentMSecsSinceEpoch(), direction, bytes});
    size_ += bytes.size();
    while (size_ > limit_) {
        QByteArray &oldest = entries_.front().bytes;
        const qsizetype excess = size_ - limit_;
        if (oldest.size() > excess) {
            oldest.remove(0, excess);
            size_ -= excess;
        } else {
            size_ -= oldest.size();
            entries_.pop_front();
        }
    }
    if (listener_)
        listener_(entries_.back());
}

QByteArray formatTraceEntry(const LinkTrace::Entry &entry)
{
    const QByteArray lead =
        QDateTime::fromMSecsSinceEpoch(entry.ms).toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1() + "  " +
        directionMark(entry.direction) + "  ";
    if (entry.direction == LinkTrace::Direction::Opened)
        return lead + entry.bytes + '\n';
    QByteArray out;
    for (qsizetype at = 0; at < entry.bytes.size(); at += kPerLine) {
        const QByteArray part = entry.bytes.mid(at, kPerLine);
        QByteArray shown = part;
        for (char &c : shown)
            if (c < 0x20 || c > 0x7e)
                c = '.';
        // The characters line up in a column whatever the line's length.
        out += lead + part.toHex(' ').toUpper().leftJustified(kPerLine * 3 - 1) + "  " + shown + '\n';
    }
    return out;
}

} // namespace vq
