// The grid as a player keeps it: the digits placed, and the digits each empty square may still
// take, narrowed by the techniques of the grading ladder.
//
// Conventions: squares are 0..80, row-major from the top left (row s / 9, column s % 9, block
// s / 27 * 3 + s % 9 / 3); houses are 0..26: rows 0..8, columns 9..17, blocks 18..26. A
// DigitMask holds bit d for digit d.
#pragma once

#include "model/candidates.h"
#include "solving/fast_solver.h"

#include <array>
#include <cstdint>

namespace kavrin {

inline constexpr int kHouseCount = 27;

using HouseSquares = std::array<std::uint8_t, 9>;
// Bit k for the k-th square of a house, in house order.
using PlaceMask = std::uint16_t;

struct GridGeometry {
    std::array<HouseSquares, kHouseCount> houses{};            // each house's squares, in order
    std::array<std::array<std::uint8_t, 3>, 81> housesOf{};    // row, column and block of a square
    std::array<std::array<std::uint8_t, 20>, 81> peers{};      // the squares a square sees
};

constexpr GridGeometry makeGridGeometry()
{
    GridGeometry g;
    for (int s = 0; s < 81; ++s) {
        const int row = s / 9, col = s % 9, block = row / 3 * 3 + col / 3;
        g.housesOf[s] = {static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(9 + col),
                         static_cast<std::uint8_t>(18 + block)};
        g.houses[row][col] = static_cast<std::uint8_t>(s);
        g.houses[9 + col][row] = static_cast<std::uint8_t>(s);
        g.houses[18 + block][row % 3 * 3 + col % 3] = static_cast<std::uint8_t>(s);
    }
    for (int s = 0; s < 81; ++s) {
        int n = 0;
        for (int t = 0; t < 81; ++t)
            if (t != s && (t / 9 == s / 9 || t % 9 == s % 9 || g.housesOf[t][2] == g.housesOf[s][2]))
                g.peers[s][n++] = static_cast<std::uint8_t>(t);
    }
    return g;
}

inline constexpr GridGeometry kGrid = makeGridGeometry();

constexpr bool sees(int a, int b)
{
    return a != b && (a / 9 == b / 9 || a % 9 == b % 9 || kGrid.housesOf[a][2] == kGrid.housesOf[b][2]);
}

struct Pencilmarks {
    Grid digits{};
    std::array<DigitMask, 81> candidates{}; // none for a filled square

    // Every given placed; the empty squares keep the digits their peers do not hold.
    explicit Pencilmarks(const Grid& givens);

    // Fills the square, which no longer takes anything, and takes the digit from its peers.
    void place(int square, int digit);
    bool solved() const;
    // The squares of the house that may take the digit.
    PlaceMask placesOf(int house, int digit) const;
    bool holds(int house, int digit) const;
};

} // namespace kavrin
