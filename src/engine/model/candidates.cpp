// The candidate table, rebuilt from scratch by direct elimination in rows, columns and blocks,
// and the per-unit digit sets the search keeps in step with the board.
#include "model/candidates.h"

#include <cstddef>
#include <span>

namespace kavrin {

namespace {
// The bit of every possible stored value, 0 for empty and for anything above 9: a lookup
// keeps the rebuild free of branches.
constexpr std::array<DigitMask, 256> kDigitBits = [] {
    std::array<DigitMask, 256> bits{};
    for (int d = 1; d <= 9; ++d)
        bits[d] = static_cast<DigitMask>(1u << d);
    return bits;
}();

DigitMask placedIn(const Board& board, const Unit& unit)
{
    DigitMask placed = 0;
    for (const std::uint8_t square : unit)
        placed |= kDigitBits[board[square].Digit];
    return placed;
}

// Every digit placed in a unit stops being a candidate of all the unit's squares.
void eliminateInUnits(std::array<DigitMask, kSquareCount>& masks, const Board& board,
                      UnitKindSquares units)
{
    for (const Unit& unit : units) {
        const auto keep = static_cast<DigitMask>(~placedIn(board, unit));
        for (const std::uint8_t square : unit)
            masks[square - 1] &= keep;
    }
}
} // namespace

UnitDigits::UnitDigits(const Board& board)
{
    for (std::size_t h = 0; h < kUnits.size(); ++h)
        houses_[h] = placedIn(board, kUnits[h]);
}

void Candidates::UpdateCandidates(const Board& board)
{
    ResetCandidates();
    DropFilledCandidates(board);
    EliminateInRows(board);
    EliminateInColumns(board);
    EliminateInBlocks(board);
}

void Candidates::ResetCandidates()
{
    masks_.fill(kAllDigits);
}

void Candidates::DropFilledCandidates(const Board& board)
{
    for (int s = 1; s <= kSquareCount; ++s)
        if (board[s].Digit != 0)
            masks_[s - 1] = 0;
}

void Candidates::EliminateInRows(const Board& board)
{
    eliminateInUnits(masks_, board, kRowUnits);
}

void Candidates::EliminateInColumns(const Board& board)
{
    eliminateInUnits(masks_, board, kColumnUnits);
}

void Candidates::EliminateInBlocks(const Board& board)
{
    eliminateInUnits(masks_, board, BlockSquares);
}

} // namespace kavrin
