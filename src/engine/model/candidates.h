// The table of digits still possible per square, and the per-unit digit sets it is made from.
#pragma once

#include "model/board.h"
#include "model/geometry.h"
#include "model/square.h"

#include <array>
#include <cstdint>

namespace kavrin {

// Bit d set for digit d (bits 1 to 9).
using DigitMask = std::uint16_t;

inline constexpr DigitMask kAllDigits = 0x3FE;

// The digits placed in the row, the column and the block of one square.
struct SquareUnits {
    DigitMask row = 0;
    DigitMask column = 0;
    DigitMask block = 0;
};

// The digits placed in every row, column and block; a stored value outside 1 to 9 adds none.
// The search keeps one of these in step with the board instead of rebuilding the table.
class UnitDigits {
public:
    explicit UnitDigits(const Board& board);

    SquareUnits around(int square) const
    {
        const auto& [row, column, block] = kGeometry.housesOf[square - 1];
        return {houses_[row], houses_[column], houses_[block]};
    }
    void setAround(int square, SquareUnits units)
    {
        const auto& [row, column, block] = kGeometry.housesOf[square - 1];
        houses_[row] = units.row;
        houses_[column] = units.column;
        houses_[block] = units.block;
    }
    // The candidates of the square if it is empty.
    DigitMask freeDigits(int square) const
    {
        const SquareUnits units = around(square);
        return kAllDigits & static_cast<DigitMask>(~(units.row | units.column | units.block));
    }

private:
    std::array<DigitMask, kHouseCount> houses_{}; // by the geometry's house number
};

// The units with one more digit placed in them.
constexpr SquareUnits withDigit(SquareUnits units, int digit)
{
    const auto bit = static_cast<DigitMask>(1u << digit);
    return {static_cast<DigitMask>(units.row | bit), static_cast<DigitMask>(units.column | bit),
            static_cast<DigitMask>(units.block | bit)};
}

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

    // Rebuilt whole from the board: a filled square has none, an empty one every digit that its
    // row, column and block do not hold.
    void UpdateCandidates(const Board& board);
    void ResetCandidates();

private:
    void DropFilledCandidates(const Board& board);
    void EliminateInRows(const Board& board);
    void EliminateInColumns(const Board& board);
    void EliminateInBlocks(const Board& board);

    // One mask of nine entries per square rather than 729 bytes: the rebuild is then a few
    // hundred word operations.
    std::array<DigitMask, kSquareCount> masks_{};
};

} // namespace kavrin
