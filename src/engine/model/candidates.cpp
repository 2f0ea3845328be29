// The candidate table, rebuilt from scratch by direct elimination in rows, columns and blocks.
#include "model/candidates.h"

namespace kavrin {

bool Candidates::hasAny(int square) const
{
    for (int d = 1; d <= 9; ++d)
        if (entries_[slot(square, d)] != 0)
            return true;
    return false;
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
    for (int d = 1; d <= 9; ++d)
        for (int s = 1; s <= kSquareCount; ++s)
            entries_[slot(s, d)] = static_cast<std::uint8_t>(d);
}

void Candidates::DropFilledCandidates(const Board& board)
{
    for (int s = 1; s <= kSquareCount; ++s)
        if (board[s].Digit != 0)
            for (int d = 1; d <= 9; ++d)
                entries_[slot(s, d)] = 0;
}

namespace {
template <typename Entries>
void eliminateInUnits(Entries& entries, const Board& board, const std::array<Unit, 9>& units,
                      auto slotOf)
{
    for (const Unit& unit : units)
        for (const std::uint8_t square : unit) {
            const int v = board[square].Digit;
            if (v == 0)
                continue;
            for (const std::uint8_t peer : unit)
                entries[slotOf(peer, v)] = 0;
        }
}
} // namespace

void Candidates::EliminateInRows(const Board& board)
{
    eliminateInUnits(entries_, board, RowSquares, slot);
}

void Candidates::EliminateInColumns(const Board& board)
{
    eliminateInUnits(entries_, board, ColumnSquares, slot);
}

void Candidates::EliminateInBlocks(const Board& board)
{
    eliminateInUnits(entries_, board, BlockSquares, slot);
}

} // namespace kavrin
