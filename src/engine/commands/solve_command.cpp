// Game > Solve: the logic solver first; the last attempt only if the player agrees.
#include "commands/solve_command.h"

#include "checking/completion.h"
#include "host/messages.h"
#include "solving/logic_solver.h"
#include "solving/search.h"

namespace kavrin {

void SolveCommand(Board& board, Candidates& candidates, SearchHost& host)
{
    LogicSolve(board, candidates);
    if (CheckCompletion(board) > 0) {
        if (host.prompter.ask(lastAttemptQuestion()) == Answer::Yes)
            LastAttempt(board, candidates, host);
        return;
    }
    host.prompter.ask(information(kPuzzleSolved));
}

} // namespace kavrin
