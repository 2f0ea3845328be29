// Game > Solve: the logic solver, then, if the player agrees, the last attempt.
#pragma once

#include "host/host.h"
#include "model/board.h"
#include "model/candidates.h"

namespace kavrin {

void SolveCommand(Board& board, Candidates& candidates, SearchHost& host);

} // namespace kavrin
