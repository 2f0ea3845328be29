// Game > Check Diagram: the three checks and their numbered report.
#pragma once

#include "host/host.h"
#include "model/board.h"
#include "model/candidates.h"

#include <string>

namespace kavrin {

// Runs the checks (leaving the marks) and returns the report text.
std::string CheckDiagramReport(Board& board, Candidates& candidates);
void CheckCommand(Board& board, Candidates& candidates, Prompter& prompter);

} // namespace kavrin
