#include "plan/BandChart.h"

#include "channels/FrequencyRules.h"
#include "plan/FileSave.h"
#include "plan/FileTexts.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace vq {

namespace {

constexpr double kMargin = 24;
constexpr double kBreak = 28;              // between two stretches
constexpr std::int64_t kJoin = 200000;      // frequencies 2 MHz apart or closer share a stretch
constexpr std::int64_t kPad = 2500;         // 25 kHz either side of a stretch's channels
constexpr double kLabelWidth = 22;          // a mark's number needs this much room beside the next
constexpr double kLane = 22;                // height of one row of marks

const QColor kPlain(30, 90, 160);
const QColor kFlagged(200, 40, 30);

QString mhz(std::int64_t units)
{
    return QString::number(static_cast<double>(units) / 100000.0, 'f', 4);
}

// A mark's shape says what its colour says: a circle for a channel the
// rules allow, a diamond for a flagged one; a transmit mark is a triangle.
void drawMark(QPainter &p, QPointF at, bool flagged, bool transmit)
{
    const double r = BandChart::kMarkRadius;
    p.setPen(QPen(flagged ? kFlagged : kPlain, 1.5));
    p.setBrush(flagged ? kFlagged : kPlain);
    QPainterPath path;
    if (transmit) {
        path.moveTo(at.x(), at.y() - r);
        path.lineTo(at.x() + r, at.y() + r);
        path.lineTo(at.x() - r, at.y() + r);
    } else if (flagged) {
        path.moveTo(at.x(), at.y() - r);
        path.lineTo(at.x() + r, at.y());
        path.lineTo(at.x(), at.y() + r);
        path.lineTo(at.x() - r, at.y());
    } else {
        path.addEllipse(at, r, r);
    }
    path.closeSubpath();
    p.drawPath(path);
}

} // namespace

std::optional<double> BandChart::xOf(std::int64_t frequency) const
{
    for (const Stretch &s : stretches)
        if (frequency >= s.low && frequency <= s.high)
            return s.left + (s.right - s.left) * static_cast<double>(frequency - s.low) /
                                static_cast<double>(std::max<std::int64_t>(s.high - s.low, 1));
    return std::nullopt;
}

int BandChart::channelAt(QPointF point) const
{
    for (const Mark &m : marks)
        for (const std::optional<double> x : {std::optional(m.rxX), m.txX})
            if (x && std::hypot(point.x() - *x, point.y() - m.y) <= kMarkRadius + 3)
                return m.channel;
    return 0;
}

BandChart layOutChart(const PlanRows &plan, const std::vector<AirFlag> &flags, QSizeF size)
{
    BandChart chart;
    chart.size = size;
    chart.axis = size.height() > 0 ? size.height() - BandChart::kAxisRoom : 0;
    struct Channel {
        int number;
        std::int64_t rx;
        std::optional<std::int64_t> tx;
    };
    std::vector<Channel> channels;
    std::vector<std::int64_t> used;
    for (int row = 0; row < static_cast<int>(plan.size()); ++row) {
        const auto rx = frequencyUnits(plan[static_cast<std::size_t>(row)][RxFrequency]);
        if (!rx || *rx <= 0)
            continue;
        auto tx = frequencyUnits(plan[static_cast<std::size_t>(row)][TxFrequency]);
        if (tx && (*tx == *rx || *tx <= 0))
            tx.reset();
        channels.push_back({row + 1, *rx, tx});
        used.push_back(*rx);
        if (tx)
            used.push_back(*tx);
    }
    if (used.empty()) {
        chart.size.setHeight(std::max(size.height(), 120.0));
        return chart;
    }
    std::sort(used.begin(), used.end());
    for (std::int64_t f : used)
        if (chart.stretches.empty() || f - chart.stretches.back().high > kJoin)
            chart.stretches.push_back({f, f, 0, 0});
        else
            chart.stretches.back().high = f;
    // Each stretch an equal share of the width, its channels clear of its ends.
    const double count = static_cast<double>(chart.stretches.size());
    const double share = std::max((size.width() - 2 * kMargin - kBreak * (count - 1)) / count, 8.0);
    double left = kMargin;
    for (BandChart::Stretch &s : chart.stretches) {
        s.low -= kPad;
        s.high += kPad;
        s.left = left;
        s.right = left + share;
        left = s.right + kBreak;
    }
    // Marks in rows above the axis, each in the lowest row where its number
    // stays clear of the one before it; the axis goes under the rows used.
    std::sort(channels.begin(), channels.end(), [](const Channel &a, const Channel &b) { return a.rx < b.rx; });
    std::vector<double> laneEnds;
    std::vector<std::size_t> lanes;
    for (const Channel &c : channels) {
        BandChart::Mark mark;
        mark.channel = c.number;
        mark.rxX = *chart.xOf(c.rx);
        if (c.tx)
            mark.txX = chart.xOf(*c.tx);
        mark.flagged = std::any_of(flags.begin(), flags.end(), [&c](const AirFlag &f) { return f.row + 1 == c.number; });
        const double from = std::min(mark.rxX, mark.txX.value_or(mark.rxX));
        const double to = std::max(mark.rxX, mark.txX.value_or(mark.rxX));
        std::size_t lane = 0;
        while (lane < laneEnds.size() && laneEnds[lane] > from - kLabelWidth)
            ++lane;
        if (lane == laneEnds.size())
            laneEnds.push_back(0);
        laneEnds[lane] = to;
        lanes.push_back(lane);
        chart.marks.push_back(mark);
    }
    const double needed = kMargin + kLane * static_cast<double>(laneEnds.size());
    chart.axis = size.height() > 0 ? std::min(needed, size.height() - BandChart::kAxisRoom) : needed;
    chart.size.setHeight(size.height() > 0 ? size.height() : chart.axis + BandChart::kAxisRoom);
    for (std::size_t i = 0; i < chart.marks.size(); ++i)
        chart.marks[i].y = chart.axis - kLane * (static_cast<double>(lanes[i]) + 0.5);
    return chart;
}

void drawChart(QPainter &p, const BandChart &chart)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(QPointF(0, 0), chart.size), Qt::white);
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    const double axis = chart.axis;
    if (chart.stretches.empty()) {
        p.setPen(Qt::darkGray);
        p.drawText(QRectF(QPointF(0, 0), chart.size), Qt::AlignCenter,
                   QCoreApplication::translate("vq::chart", "没有信道"));
        return;
    }
    for (std::size_t i = 0; i < chart.stretches.size(); ++i) {
        const BandChart::Stretch &s = chart.stretches[i];
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(QPointF(s.left, axis), QPointF(s.right, axis));
        p.drawText(QRectF(s.left, axis + 4, s.right - s.left, 14), Qt::AlignLeft, mhz(s.low));
        p.drawText(QRectF(s.left, axis + 18, s.right - s.left, 14), Qt::AlignRight, mhz(s.high) + QStringLiteral(" MHz"));
        if (i + 1 < chart.stretches.size()) { // the axis is broken here
            const double x = s.right + kBreak / 2;
            p.drawLine(QPointF(x - 5, axis + 5), QPointF(x - 1, axis - 5));
            p.drawLine(QPointF(x + 1, axis + 5), QPointF(x + 5, axis - 5));
        }
    }
    for (const BandChart::Mark &m : chart.marks) {
        const QPointF rx(m.rxX, m.y);
        p.setPen(QPen(QColor(180, 180, 180), 1, Qt::DotLine));
        p.drawLine(rx, QPointF(m.rxX, axis));
        if (m.txX) {
            p.setPen(QPen(m.flagged ? kFlagged : kPlain, 1.5));
            p.drawLine(rx, QPointF(*m.txX, m.y));
            drawMark(p, QPointF(*m.txX, m.y), m.flagged, true);
        }
        drawMark(p, rx, m.flagged, false);
        p.setPen(Qt::black);
        p.drawText(QRectF(m.rxX - 12, m.y - 18, 24, 12), Qt::AlignCenter, QString::number(m.channel));
    }
}

QByteArray chartPng(const BandChart &chart)
{
    QImage image(chart.size.toSize(), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    QPainter painter(&image);
    drawChart(painter, chart);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? bytes : QByteArray();
}

QByteArray chartSvg(const BandChart &chart)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(chart.size.toSize());
    svg.setViewBox(QRectF(QPointF(0, 0), chart.size));
    svg.setTitle(QCoreApplication::translate("vq::chart", "频段图"));
    QPainter painter;
    if (!painter.begin(&svg))
        return {};
    drawChart(painter, chart);
    painter.end();
    return bytes;
}

Result saveChart(const QString &path, const BandChart &chart)
{
    const bool svg = path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
    if (!svg && !path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return Result::refused(withReason(errorNotice(texts::kFileSaveFailed),
                                          QCoreApplication::translate("vq::chart", "频段图只能保存为 .png 或 .svg 文件")));
    const QByteArray bytes = svg ? chartSvg(chart) : chartPng(chart);
    if (bytes.isEmpty())
        return Result::refused(errorNotice(texts::kFileSaveFailed));
    return saveFile(path, bytes);
}

} // namespace vq
