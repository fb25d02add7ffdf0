#pragma once

#include <functional>

namespace vq {

// How the channel rows are drawn in a view of a given height.
struct RowFit {
    int rowHeight = 0;
    double points = 0; // the cells' font size
    bool everyRow = false; // every row is in view, no scrolling
};

// Rows keep their own height and font, and the view scrolls, unless the
// view can hold every row at a readable size: then every row is in view,
// as large as fits and never larger than its own height. `lineHeight` gives
// the height of a line of text at a font size in points.
RowFit fitRows(int viewHeight, int rows, int ownHeight, double ownPoints,
               const std::function<int(double points)> &lineHeight);

// The smallest font the cells are drawn in when every row is shown.
inline constexpr double kSmallestGridPoints = 8.0;

} // namespace vq
