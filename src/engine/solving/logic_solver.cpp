// Hidden singles by rows, columns and blocks, then naked singles, each on a fresh table.
#include "solving/logic_solver.h"

#include "model/colour.h"
#include "model/square.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <span>

namespace kavrin {

namespace {
// The one square of the unit that still has the digit as a candidate.
int onlySquareWith(const Candidates& candidates, const Unit& unit, DigitMask digit)
{
    return *std::find_if(unit.begin(), unit.end(), [&](int s) { return (candidates.digits(s) & digit) != 0; });
}

// A digit with exactly one possible square in a unit goes there. Units are walked in the
// given order and the table is not rebuilt between placements.
bool placeHiddenSingles(Board& board, const Candidates& candidates, UnitKindSquares units)
{
    bool progress = false;
    for (const Unit& unit : units) {
        DigitMask once = 0;
        DigitMask more = 0;
        for (const std::uint8_t s : unit) {
            more |= static_cast<DigitMask>(once & candidates.digits(s));
            once |= candidates.digits(s);
        }
        for (DigitMask singles = once & static_cast<DigitMask>(~more); singles != 0; singles &= singles - 1) {
            const DigitMask digit = singles & static_cast<DigitMask>(-singles);
            board.SetSquare(onlySquareWith(candidates, unit, digit), std::countr_zero(digit), false, kWhite);
            progress = true;
        }
    }
    return progress;
}
} // namespace

bool HiddenSinglesInRows(Board& board, const Candidates& candidates)
{
    return placeHiddenSingles(board, candidates, kRowUnits);
}

bool HiddenSinglesInColumns(Board& board, const Candidates& candidates)
{
    return placeHiddenSingles(board, candidates, kColumnUnits);
}

bool HiddenSinglesInBlocks(Board& board, const Candidates& candidates)
{
    return placeHiddenSingles(board, candidates, BlockSquares);
}

bool NakedSingles(Board& board, const Candidates& candidates)
{
    bool progress = false;
    for (int s = 1; s <= kSquareCount; ++s) {
        const DigitMask digits = candidates.digits(s);
        if (board[s].Digit != 0 || std::popcount(digits) != 1)
            continue;
        board.SetSquare(s, std::countr_zero(digits), false, kWhite);
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
