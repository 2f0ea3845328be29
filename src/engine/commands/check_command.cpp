// Game > Check Diagram: repeated digits, dead squares and completion in one numbered report.
#include "commands/check_command.h"

#include "checking/completion.h"
#include "checking/dead_squares.h"
#include "checking/entries.h"
#include "host/messages.h"

namespace kavrin {

namespace {
std::string counted(int n, std::string_view noun, std::string_view tail)
{
    return std::to_string(n) + std::string(noun) + (n == 1 ? "" : "s") + std::string(tail);
}
} // namespace

std::string CheckDiagramReport(Board& board, Candidates& candidates)
{
    ResetSquareColors(board);
    const int entries = CheckEntries(board);
    std::string text = "1- ";
    text += entries == 0 ? "Entries matched." : counted(entries, " error", " found in entries!");
    text += kCrLf;
    text += "2- ";
    const int logical = CountLogicalErrors(board, candidates);
    text += logical == 0 ? "No logical error found." : counted(logical, " logical error", " found!");
    std::string report;
    const int absent = CheckCompletion(board, &report);
    text += kCrLf;
    text += "3- ";
    if (absent == 0) {
        text += kPuzzleSolved;
    } else {
        text += "Correct this errors:";
        text += kCrLf;
        text += report;
    }
    return text;
}

void CheckCommand(Board& board, Candidates& candidates, Prompter& prompter)
{
    prompter.ask(information(CheckDiagramReport(board, candidates)));
}

} // namespace kavrin
