// kvr show and kvr check: one puzzle, as a grid or as the Check report.
#include "commands/check_command.h"
#include "checking/completion.h"
#include "commands.h"
#include "messages.h"
#include "model/board.h"
#include "model/candidates.h"
#include "model/square.h"
#include "output.h"
#include "puzzle_input.h"

#include <string>

namespace kavrin::cli {

namespace {
// The grid with rules between blocks; a solver's digit is followed by '*'.
std::string gridText(const Board& board)
{
    const std::string rule = "+-------+-------+-------+\n";
    std::string text;
    for (int r = 1; r <= 9; ++r) {
        if (r % 3 == 1)
            text += rule;
        for (int c = 1; c <= 9; ++c) {
            const SquareInfo& square = board[SquareIndex(r, c)];
            if (c % 3 == 1)
                text += "| ";
            text += square.Digit == 0 ? '.' : static_cast<char>('0' + square.Digit);
            text += square.Digit != 0 && !square.Fixed ? '*' : ' ';
        }
        text += "|\n";
    }
    return text + rule;
}

// Message boxes break lines with CR LF; a terminal wants LF alone.
std::string withoutCarriageReturns(std::string text)
{
    std::erase(text, '\r');
    return text;
}
} // namespace

ExitStatus runShow(const std::string& puzzle)
{
    const Board board = readPuzzle(puzzle);
    Output output = Output::standardOutput();
    output.write(gridText(board));
    output.finish();
    return kSuccess;
}

ExitStatus runCheck(const std::string& puzzle)
{
    Board board = readPuzzle(puzzle);
    Candidates candidates;
    Output output = Output::standardOutput();
    output.write(withoutCarriageReturns(CheckDiagramReport(board, candidates)) + "\n");
    output.finish();
    return CheckCompletion(board) == 0 ? kSuccess : kNotSolved;
}

} // namespace kavrin::cli
