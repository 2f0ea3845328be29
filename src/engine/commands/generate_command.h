// Game > Generate: the wait window without the Esc line, attempts until one succeeds, and the
// retry count.
#pragma once

#include "generation/uniform_source.h"
#include "host/host.h"
#include "model/board.h"
#include "model/candidates.h"

namespace kavrin {

void GenerateCommand(Board& board, Candidates& candidates, UniformSource& random, WaitWindow& wait,
                     Prompter& prompter);

} // namespace kavrin
