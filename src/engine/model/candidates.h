// The table of digits still possible per square, always rebuilt whole from the board.
#pragma once

#include "model/board.h"

#include <array>
#include <cstdint>

namespace kavrin {

// Bit d set for digit d (bits 1 to 9).
using DigitMask = std::uint16_t;

class Candidates {
public:
    // Entry (square, digit) is the digit while it is still possible there, else 0.
    std::uint8_t operator()(int square, int digit) const
    {
        return (digits(square) >> digit & 1u) != 0 ? static_cast<std::uint8_t>(digit) : 0;
    }
    // All the square's entries at once, bit d for a non-zero entry d.
    DigitMask digits(int square) const { return masks_[square - 1]; }
    bool hasAny(int square) const { return digits(square) != 0; }

    void UpdateCandidates(const Board& board);
    void ResetCandidates();

private:
    void DropFilledCandidates(const Board& board);
    void EliminateInRows(const Board& board);
    void EliminateInColumns(const Board& board);
    void EliminateInBlocks(const Board& board);

    // One mask of nine entries per square rather than 729 bytes: the search rebuilds the
    // table after every trial digit, and the rebuild is then a few hundred word operations.
    std::array<DigitMask, kSquareCount> masks_{};
};

} // namespace kavrin
