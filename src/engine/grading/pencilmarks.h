// The grid as a player keeps it: the digits placed, and the digits each empty square may still
// take, narrowed by the techniques of the grading ladder.
//
// Squares and houses are numbered as in model/geometry.h; a DigitMask holds bit d for digit d.
#pragma once

#include "grading/finding.h"
#include "model/candidates.h"
#include "model/square.h"

#include <array>
#include <cstdint>
#include <span>

namespace kavrin {

// Bit k for the k-th square of a house, in house order.
using PlaceMask = std::uint16_t;

struct Pencilmarks {
    Grid digits{};
    std::array<DigitMask, 81> candidates{}; // none for a filled square

    // Every given placed; the empty squares keep the digits their peers do not hold.
    explicit Pencilmarks(const Grid& givens);

    // Fills the square, which no longer takes anything, and takes the digit from its peers.
    void place(int square, int digit);
    // What a step concludes: the digits it places, then those it takes away.
    void apply(std::span<const Candidate> placements, std::span<const Candidate> removals);
    bool solved() const;
    // The squares of the house that may take the digit.
    PlaceMask placesOf(int house, int digit) const;
    bool holds(int house, int digit) const;
};

} // namespace kavrin
