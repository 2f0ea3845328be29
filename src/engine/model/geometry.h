// The shape of the 9x9 grid, the one place it is defined: squares, houses, peers.
//
// Conventions: squares are 0..80, row-major from the top left; rows, columns and blocks are
// 0..8, blocks left to right, top to bottom. Houses are 0..26: rows 0..8, columns 9..17,
// blocks 18..26. The 1-based forms the window and the board's interfaces use are in square.h.
#pragma once

#include <array>
#include <cstdint>

namespace kavrin {

inline constexpr int kHouseCount = 27;
inline constexpr int kPeerCount = 20;

constexpr int rowOf(int square) { return square / 9; }
constexpr int columnOf(int square) { return square % 9; }
// Bands are the three rows of blocks, stacks the three columns of blocks, 0..2.
constexpr int bandOf(int row) { return row / 3; }
constexpr int stackOf(int column) { return column / 3; }
constexpr int blockBand(int block) { return block / 3; }
constexpr int blockStack(int block) { return block % 3; }
constexpr int blockOf(int row, int column) { return bandOf(row) * 3 + stackOf(column); }
// A row or column that is the first of its block's three.
constexpr bool startsBlock(int line) { return line % 3 == 0; }
// Where a square stands in its block, 0..8 in reading order.
constexpr int placeInBlock(int square) { return rowOf(square) % 3 * 3 + columnOf(square) % 3; }
constexpr int blockOf(int square) { return blockOf(rowOf(square), columnOf(square)); }
constexpr int squareAt(int row, int column) { return row * 9 + column; }

constexpr int rowHouse(int row) { return row; }
constexpr int columnHouse(int column) { return 9 + column; }
constexpr int blockHouse(int block) { return 18 + block; }

using HouseSquares = std::array<std::uint8_t, 9>;

struct GridGeometry {
    std::array<HouseSquares, kHouseCount> houses{};                 // each house's squares, in order
    std::array<std::array<std::uint8_t, 3>, 81> housesOf{};         // row, column and block house
    std::array<std::array<std::uint8_t, kPeerCount>, 81> peers{};   // the squares a square sees
};

constexpr GridGeometry makeGridGeometry()
{
    GridGeometry g;
    for (int s = 0; s < 81; ++s) {
        const int row = rowOf(s), col = columnOf(s), block = blockOf(s);
        g.housesOf[s] = {static_cast<std::uint8_t>(rowHouse(row)),
                         static_cast<std::uint8_t>(columnHouse(col)),
                         static_cast<std::uint8_t>(blockHouse(block))};
        g.houses[rowHouse(row)][col] = static_cast<std::uint8_t>(s);
        g.houses[columnHouse(col)][row] = static_cast<std::uint8_t>(s);
        g.houses[blockHouse(block)][placeInBlock(s)] = static_cast<std::uint8_t>(s);
    }
    for (int s = 0; s < 81; ++s) {
        int n = 0;
        for (int t = 0; t < 81; ++t)
            if (t != s && (rowOf(t) == rowOf(s) || columnOf(t) == columnOf(s) || blockOf(t) == blockOf(s)))
                g.peers[s][n++] = static_cast<std::uint8_t>(t);
    }
    return g;
}

inline constexpr GridGeometry kGeometry = makeGridGeometry();

constexpr bool sees(int a, int b)
{
    return a != b && (rowOf(a) == rowOf(b) || columnOf(a) == columnOf(b) || blockOf(a) == blockOf(b));
}

} // namespace kavrin
