#pragma once

#include "plan/AirRules.h"
#include "plan/Result.h"

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <cstdint>
#include <optional>
#include <vector>

class QPainter;

namespace vq {

// The plan as a picture: a frequency axis broken into the stretches the
// plan uses, each channel a mark at its receive frequency and, when it
// differs, one at its transmit frequency joined to it, labelled with the
// channel's number. Marks of channels the rules of the air flag differ in
// colour and in shape. This decides where everything goes; drawChart puts
// it on any paint device, the same for the window, PNG and SVG.
struct BandChart {
    struct Stretch {
        std::int64_t low = 0, high = 0; // 10 Hz steps
        double left = 0, right = 0;     // pixels
    };
    struct Mark {
        int channel = 0; // 1 … 50
        double rxX = 0;
        std::optional<double> txX;
        double y = 0;
        bool flagged = false;
    };
    QSizeF size;
    double axis = 0; // the axis's height; the marks stand above it
    std::vector<Stretch> stretches;
    std::vector<Mark> marks;

    // The pixel column of a frequency on the axis; none when it lies in no stretch.
    std::optional<double> xOf(std::int64_t frequency) const;
    // The channel whose mark is at `point`, 0 for none.
    int channelAt(QPointF point) const;

    static constexpr double kAxisRoom = 36; // under the axis: its frequencies
    static constexpr double kMarkRadius = 5;
};

// The chart in `size`; a height of 0 is as high as the marks need.
BandChart layOutChart(const PlanRows &plan, const std::vector<AirFlag> &flags, QSizeF size);
void drawChart(QPainter &painter, const BandChart &chart);
// The chart as a PNG image or an SVG drawing; empty when it could not be drawn.
QByteArray chartPng(const BandChart &chart);
QByteArray chartSvg(const BandChart &chart);
// Saves the chart through the one save guard, as SVG when the name ends in
// .svg and as PNG when it ends in .png; any other name is refused.
Result saveChart(const QString &path, const BandChart &chart);
// The size a chart is saved in without a window.
inline constexpr QSizeF kChartFileSize{1200, 0};

} // namespace vq
