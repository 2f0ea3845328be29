// Puzzles of a chosen grade or rating: unique, minimal, and symmetric when asked.
#pragma once

#include "grading/rating.h"
#include "model/square.h"

#include <optional>
#include <random>

namespace kavrin {

// The squares whose givens come and go together: each alone, a square with its twin turned
// half round the centre, or with its twin across the middle column.
enum class Symmetry { None, Rotational, Mirror };

// What a puzzle must be to be kept: of a grade, with a rating in a range (both ends included),
// or both.
struct Wanted {
    std::optional<Grade> grade; // easy ... extreme
    std::optional<double> lowestRating;
    std::optional<double> highestRating;

    bool accepts(const Rating& rating) const;
};

struct GradedPuzzle {
    Grid givens{};
    Grid solution{};
    int failed = 0; // minimal puzzles made and thrown away as not wanted
};

// A random full grid, thinned group by group in random order while its solution stays unique,
// so that no group of givens can go; rated, and made again until it is what is wanted.
GradedPuzzle GenerateGraded(const Wanted& wanted, Symmetry symmetry, std::mt19937_64& random);

} // namespace kavrin
