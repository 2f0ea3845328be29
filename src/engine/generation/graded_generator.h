// Puzzles of a chosen grade: unique, minimal, and symmetric when asked.
#pragma once

#include "grading/rating.h"

#include <random>

namespace kavrin {

// The squares whose givens come and go together: each alone, a square with its twin turned
// half round the centre, or with its twin across the middle column.
enum class Symmetry { None, Rotational, Mirror };

struct GradedPuzzle {
    Grid givens{};
    Grid solution{};
    int failed = 0; // minimal puzzles made and thrown away for another grade
};

// A random full grid, thinned group by group in random order while its solution stays unique,
// so that no group of givens can go; rated, and made again until the grade is the one asked
// for, which must be easy, medium, hard or expert.
GradedPuzzle GenerateGraded(Grade grade, Symmetry symmetry, std::mt19937_64& random);

} // namespace kavrin
