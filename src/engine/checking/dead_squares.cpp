// Counting and marking the empty squares that can take no digit.
#include "checking/dead_squares.h"

#include "model/colour.h"
#include "model/square.h"

namespace kavrin {

std::int16_t CountLogicalErrors(Board& board, Candidates& candidates)
{
    candidates.UpdateCandidates(board);
    int count = 0;
    for (int s = 1; s <= kSquareCount; ++s)
        if (board[s].Digit == 0 && !candidates.hasAny(s)) {
            board.SetSquare(s, 0, false, kYellow);
            ++count;
        }
    return static_cast<std::int16_t>(count);
}

} // namespace kavrin
