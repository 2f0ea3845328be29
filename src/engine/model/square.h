// The 1-based squares of the board and the window, taken from the grid's geometry.
//
// Conventions: a square index runs 1..81 row-major from the top-left square; rows, columns and
// blocks run 1..9, blocks left to right, top to bottom. The unit tables are indexed from 0 but
// hold 1-based square indices. The shape itself is defined once, 0-based, in geometry.h.
#pragma once

#include "model/geometry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kavrin {

inline constexpr int kSquareCount = 81;

// The digits of a grid, square 1 first; 0 for an empty square.
using Grid = std::array<std::uint8_t, kSquareCount>;

using Unit = HouseSquares;

constexpr std::uint8_t SquareIndex(int row, int col)
{
    return static_cast<std::uint8_t>(squareAt(row - 1, col - 1) + 1);
}

struct RowCol {
    int row;
    int col;
};

constexpr RowCol SquareRowCol(int index)
{
    return {rowOf(index - 1) + 1, columnOf(index - 1) + 1};
}

// Every house of the geometry with the board's square indices, in the geometry's order.
inline constexpr std::array<Unit, kHouseCount> kUnits = [] {
    std::array<Unit, kHouseCount> units{};
    for (std::size_t h = 0; h < units.size(); ++h)
        for (std::size_t k = 0; k < 9; ++k)
            units[h][k] = static_cast<std::uint8_t>(kGeometry.houses[h][k] + 1);
    return units;
}();

// Nine units of one kind; unit u is row, column or block u + 1.
using UnitKindSquares = std::span<const Unit, 9>;

inline constexpr UnitKindSquares kRowUnits{kUnits.data() + rowHouse(0), 9};
inline constexpr UnitKindSquares kColumnUnits{kUnits.data() + columnHouse(0), 9};
// BlockSquares[b - 1][k - 1] is the k-th square of block b, in reading order.
inline constexpr UnitKindSquares BlockSquares{kUnits.data() + blockHouse(0), 9};

} // namespace kavrin
