// Hidden singles by rows, columns and blocks, then naked singles, each on a fresh table.
#include "solving/logic_solver.h"

namespace kavrin {

namespace {
// A digit with exactly one possible square in a unit goes there. Units are walked in the
// given order and the table is not rebuilt between placements.
bool placeHiddenSingles(Board& board, const Candidates& candidates, const std::array<Unit, 9>& units)
{
    bool progress = false;
    for (const Unit& unit : units) {
        std::array<int, 10> count{};
        std::array<int, 10> last{};
        for (const std::uint8_t s : unit)
            for (int d = 1; d <= 9; ++d)
                if (candidates(s, d) != 0) {
                    ++count[d];
                    last[d] = s;
                }
        for (int d = 1; d <= 9; ++d)
            if (count[d] == 1) {
                board.SetSquare(last[d], d, false, kWhite);
                progress = true;
            }
    }
    return progress;
}
} // namespace

bool HiddenSinglesInRows(Board& board, const Candidates& candidates)
{
    return placeHiddenSingles(board, candidates, RowSquares);
}

bool HiddenSinglesInColumns(Board& board, const Candidates& candidates)
{
    return placeHiddenSingles(board, candidates, ColumnSquares);
}

bool HiddenSinglesInBlocks(Board& board, const Candidates& candidates)
{
    return placeHiddenSingles(board, candidates, BlockSquares);
}

bool NakedSingles(Board& board, const Candidates& candidates)
{
    bool progress = false;
    for (int s = 1; s <= kSquareCount; ++s) {
        if (board[s].Digit != 0)
            continue;
        int impossible = 0;
        for (int d = 1; d <= 9; ++d)
            impossible += candidates(s, d) == 0;
        if (impossible != 8)
            continue;
        for (int d = 1; d <= 9; ++d)
            if (candidates(s, d) != 0)
                board.SetSquare(s, candidates(s, d), false, kWhite);
        progress = true;
    }
    return progress;
}

void LogicSolve(Board& board, Candidates& candidates)
{
    using Strategy = bool (*)(Board&, const Candidates&);
    static constexpr Strategy kStrategies[] = {HiddenSinglesInRows, HiddenSinglesInColumns,
                                               HiddenSinglesInBlocks, NakedSingles};
    bool progress = true;
    while (progress) {
        progress = false;
        for (const Strategy strategy : kStrategies) {
            candidates.UpdateCandidates(board);
            progress |= strategy(board, candidates);
        }
    }
}

} // namespace kavrin
