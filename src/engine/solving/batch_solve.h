// Solve for batch work: what the Solve command leaves when every question is answered Yes,
// found by the fast solver instead of the visible search.
#pragma once

#include "model/square.h"

#include <string>

namespace kavrin {

enum class BatchEnd { Solved, Refused, NoSolution };

struct BatchResult {
    BatchEnd end = BatchEnd::Solved;
    // The digits as the logic solver and then the last attempt would leave the puzzle's board:
    // the first solution in index order, or, when there is none, the logic solver's digits alone.
    Grid digits{};
    std::string refusal; // the search gate's message when it refuses
};

BatchResult SolveForBatch(const Grid& givens);

} // namespace kavrin
