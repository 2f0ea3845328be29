// Where the i-th of 81 equal cells stands in a 9 x 9 grid with wider gaps between its blocks.
#pragma once

#include "model/geometry.h"
#include "model/square.h"

#include <QPoint>
#include <QSize>

namespace kavrin {

// Cells are 5 pixels apart, and every block of three starts 10 pixels further on.
inline QPoint blockGridPosition(int index, QSize cell, QPoint origin)
{
    const auto [row, col] = SquareRowCol(index);
    const int r = row - 1;
    const int c = col - 1;
    return origin + QPoint(c * (cell.width() + 5) + 10 * (stackOf(c) + 1), r * (cell.height() + 5) + 10 * (bandOf(r) + 1));
}

} // namespace kavrin
