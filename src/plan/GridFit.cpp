#include "plan/GridFit.h"

#include <algorithm>

namespace vq {

RowFit fitRows(int viewHeight, int rows, int ownHeight, double ownPoints,
               const std::function<int(double points)> &lineHeight)
{
    const RowFit own{ownHeight, ownPoints, rows * ownHeight <= viewHeight};
    if (rows <= 0 || own.everyRow)
        return own;
    // In half points, from the own size down: the first whose line fits.
    const int height = viewHeight / rows;
    for (double points = ownPoints; points >= kSmallestGridPoints; points -= 0.5)
        if (lineHeight(points) <= height)
            return {std::min(height, ownHeight), points, true};
    return own;
}

} // namespace vq
