// An exact solver and solution counter for batch work: no board, no observer, nothing shown.
//
// A grid is 81 digits in square-index order, square 1 first (row by row from the top left):
// 0 for an empty square, 1..9 for a digit. Digits above 9 count as empty.
#pragma once

#include "model/square.h"

#include <random>

namespace kavrin {

struct SolutionCount {
    long long count = 0;   // solutions found, never more than the limit
    Grid first{};          // the first solution in index order (the smallest as an 81-digit number)
    long long guesses = 0; // digits tried at branch points, over every search made
};

// Counts solutions up to the limit (at least 1) and finds the first one in index order.
// Givens that repeat a digit in a row, column or block give no solution.
SolutionCount CountSolutions(const Grid& grid, long long limit);

// A full valid grid drawn at random: the same search, with each square's digits tried in a
// random order.
Grid RandomFullGrid(std::mt19937_64& random);

} // namespace kavrin
