// The table of digits still possible per square, always rebuilt whole from the board.
#pragma once

#include "model/board.h"

#include <array>
#include <cstdint>

namespace kavrin {

class Candidates {
public:
    // Entry (square, digit) is the digit while it is still possible there, else 0.
    std::uint8_t operator()(int square, int digit) const { return entries_[slot(square, digit)]; }
    bool hasAny(int square) const;

    void UpdateCandidates(const Board& board);
    void ResetCandidates();

private:
    void DropFilledCandidates(const Board& board);
    void EliminateInRows(const Board& board);
    void EliminateInColumns(const Board& board);
    void EliminateInBlocks(const Board& board);

    // The square index varies fastest: entry (s, d) lives at (d - 1) * 81 + (s - 1).
    static constexpr int slot(int square, int digit) { return (digit - 1) * kSquareCount + square - 1; }

    std::array<std::uint8_t, kSquareCount * 9> entries_{};
};

} // namespace kavrin
