// Hidden and naked singles, round after round, until a round places nothing.
#pragma once

#include "model/board.h"
#include "model/candidates.h"

namespace kavrin {

void LogicSolve(Board& board, Candidates& candidates);

// Each uses the table as last rebuilt and returns whether it placed a digit.
bool HiddenSinglesInRows(Board& board, const Candidates& candidates);
bool HiddenSinglesInColumns(Board& board, const Candidates& candidates);
bool HiddenSinglesInBlocks(Board& board, const Candidates& candidates);
bool NakedSingles(Board& board, const Candidates& candidates);

} // namespace kavrin
