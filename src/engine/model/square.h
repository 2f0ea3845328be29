// Square arithmetic of the 9x9 grid.
//
// Conventions: a square index runs 1..81 row-major from the top-left square;
// rows, columns and blocks run 1..9, blocks left to right, top to bottom.
// Every table here is indexed from 0 internally but holds 1-based square indices.
#pragma once

#include <array>
#include <cstdint>

namespace kavrin {

inline constexpr int kSquareCount = 81;
inline constexpr int kUnitSize = 9;

// The digits of a grid, square 1 first; 0 for an empty square.
using Grid = std::array<std::uint8_t, kSquareCount>;

using Unit = std::array<std::uint8_t, kUnitSize>;

constexpr std::uint8_t SquareIndex(int row, int col)
{
    return static_cast<std::uint8_t>(col + (row - 1) * 9);
}

struct RowCol {
    int row;
    int col;
};

constexpr RowCol SquareRowCol(int index)
{
    return {(index - 1) / 9 + 1, (index - 1) % 9 + 1};
}

constexpr int BlockOf(int row, int col)
{
    return (row - 1) / 3 * 3 + (col - 1) / 3 + 1;
}

namespace detail {
constexpr std::array<Unit, 9> makeUnits(int kind)
{
    std::array<Unit, 9> units{};
    for (int u = 1; u <= 9; ++u) {
        for (int k = 1; k <= 9; ++k) {
            int row = u, col = k;
            if (kind == 1) {
                row = k;
                col = u;
            } else if (kind == 2) {
                row = (u - 1) / 3 * 3 + (k - 1) / 3 + 1;
                col = (u - 1) % 3 * 3 + (k - 1) % 3 + 1;
            }
            units[u - 1][k - 1] = SquareIndex(row, col);
        }
    }
    return units;
}
} // namespace detail

// RowSquares[r-1] is row r left to right, ColumnSquares[c-1] column c top to
// bottom, BlockSquares[b-1] block b in reading order.
inline constexpr std::array<Unit, 9> RowSquares = detail::makeUnits(0);
inline constexpr std::array<Unit, 9> ColumnSquares = detail::makeUnits(1);
inline constexpr std::array<Unit, 9> BlockSquares = detail::makeUnits(2);

} // namespace kavrin
