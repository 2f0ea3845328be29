// The last attempt: a visible, cancellable depth-first search in square-index order.
#pragma once

#include "host/host.h"
#include "model/board.h"
#include "model/candidates.h"

namespace kavrin {

// True when the grid is solved or faulty: the refusal has been shown and nothing is searched.
bool CheckBeforeSearch(Board& board, Candidates& candidates, Prompter& prompter);

enum class SearchEnd { Refused, Solved, NoSolution, Cancelled };

struct SearchResult {
    SearchEnd end = SearchEnd::Refused;
    long long trials = 0; // trial digits placed
};

SearchResult LastAttempt(Board& board, Candidates& candidates, SearchHost& host);

} // namespace kavrin
