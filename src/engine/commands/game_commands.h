// Game > New and Game > Clear blue numbers.
#pragma once

#include "host/host.h"
#include "model/board.h"

namespace kavrin {

// Empties the grid after the warning is answered Yes.
void NewGame(Board& board, Prompter& prompter);
// Empties every square whose digit is not fixed.
void ClearBlueNumbers(Board& board);

} // namespace kavrin
