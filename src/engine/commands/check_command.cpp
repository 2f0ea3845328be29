// Game > Check Diagram: repeated digits, dead squares and completion in one numbered report.
#include "commands/check_command.h"

#include "checking/completion.h"
#include "checking/dead_squares.h"
#include "checking/entries.h"
#include "host/messages.h"

namespace kavrin {

std::string CheckDiagramReport(Board& board, Candidates& candidates)
{
    ResetSquareColors(board);
    const int entries = CheckEntries(board);
    const int logical = CountLogicalErrors(board, candidates);
    std::string report;
    const int absent = CheckCompletion(board, &report);
    return checkDiagramText(entries, logical, absent, report);
}

void CheckCommand(Board& board, Candidates& candidates, Prompter& prompter)
{
    prompter.ask(information(CheckDiagramReport(board, candidates)));
}

} // namespace kavrin
