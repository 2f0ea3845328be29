// Placing digits and reading a house's places for a digit.
#include "grading/pencilmarks.h"

#include "model/geometry.h"

#include <cstddef>

namespace kavrin {

Pencilmarks::Pencilmarks(const Grid& givens)
{
    candidates.fill(kAllDigits);
    for (int s = 0; s < 81; ++s)
        if (givens[static_cast<std::size_t>(s)] >= 1 && givens[static_cast<std::size_t>(s)] <= 9)
            place(s, givens[static_cast<std::size_t>(s)]);
}

void Pencilmarks::place(int square, int digit)
{
    digits[static_cast<std::size_t>(square)] = static_cast<std::uint8_t>(digit);
    candidates[static_cast<std::size_t>(square)] = 0;
    for (const std::uint8_t peer : kGeometry.peers[static_cast<std::size_t>(square)])
        candidates[peer] &= static_cast<DigitMask>(~(1u << digit));
}

void Pencilmarks::apply(std::span<const Candidate> placements, std::span<const Candidate> removals)
{
    for (const Candidate placed : placements)
        place(placed.square, placed.digit);
    for (const Candidate removed : removals)
        candidates[removed.square] &= static_cast<DigitMask>(~(1u << removed.digit));
}

bool Pencilmarks::solved() const
{
    for (const std::uint8_t digit : digits)
        if (digit == 0)
            return false;
    return true;
}

PlaceMask Pencilmarks::placesOf(int house, int digit) const
{
    PlaceMask places = 0;
    const HouseSquares& squares = kGeometry.houses[static_cast<std::size_t>(house)];
    for (std::size_t k = 0; k < squares.size(); ++k)
        if ((candidates[squares[k]] >> digit & 1u) != 0)
            places |= static_cast<PlaceMask>(1u << k);
    return places;
}

bool Pencilmarks::holds(int house, int digit) const
{
    for (const std::uint8_t s : kGeometry.houses[static_cast<std::size_t>(house)])
        if (digits[s] == digit)
            return true;
    return false;
}

} // namespace kavrin
