// Solve for batch work: the fast solver's answer, the window's messages where it has none.
#include "solving/batch_solve.h"

#include "host/silent_host.h"
#include "model/board.h"
#include "model/candidates.h"
#include "solving/fast_solver.h"
#include "solving/logic_solver.h"
#include "solving/search.h"

namespace kavrin {

BatchResult SolveForBatch(const Grid& givens)
{
    const SolutionCount solutions = CountSolutions(givens, 1);
    // The logic solver's digits are forced in every solution, so with a solution at all the
    // last attempt ends on the first one in index order.
    if (solutions.count > 0)
        return {BatchEnd::Solved, solutions.first, {}};
    // Without a solution the search only undoes its own digits: what stays is the logic
    // solver's work, and the gate's refusal if it has one.
    Board board = Board::withGivens(givens);
    Candidates candidates;
    LogicSolve(board, candidates);
    SilentHost host;
    if (CheckBeforeSearch(board, candidates, host))
        return {BatchEnd::Refused, board.digits(), host.lastText};
    return {BatchEnd::NoSolution, board.digits(), {}};
}

} // namespace kavrin
