// Digging givens out of a random full grid while the solution stays unique.
#include "generation/graded_generator.h"

#include "model/geometry.h"
#include "solving/fast_solver.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace kavrin {

namespace {
int twinOf(int square, Symmetry symmetry)
{
    switch (symmetry) {
    case Symmetry::Rotational:
        return 80 - square;
    case Symmetry::Mirror:
        return squareAt(rowOf(square), 8 - columnOf(square));
    case Symmetry::None:
        break;
    }
    return square;
}

// Each group once, in random order: squares that come and go together.
std::vector<std::vector<int>> shuffledGroups(Symmetry symmetry, std::mt19937_64& random)
{
    std::vector<std::vector<int>> groups;
    for (int s = 0; s < 81; ++s) {
        const int twin = twinOf(s, symmetry);
        if (twin >= s)
            groups.push_back(twin == s ? std::vector<int>{s} : std::vector<int>{s, twin});
    }
    std::shuffle(groups.begin(), groups.end(), random);
    return groups;
}

// Takes every group away that can go without a second solution. One pass is enough: a group
// kept has a second solution without it, and taking others away only adds solutions.
Grid minimalPuzzle(const Grid& solution, Symmetry symmetry, std::mt19937_64& random)
{
    Grid puzzle = solution;
    for (const std::vector<int>& group : shuffledGroups(symmetry, random)) {
        for (const int s : group)
            puzzle[static_cast<std::size_t>(s)] = 0;
        if (CountSolutions(puzzle, 2).count != 1)
            for (const int s : group)
                puzzle[static_cast<std::size_t>(s)] = solution[static_cast<std::size_t>(s)];
    }
    return puzzle;
}
} // namespace

bool Wanted::accepts(const Rating& rating) const
{
    const bool finished = rating.grade <= Grade::Extreme;
    return finished && (!grade || rating.grade == *grade) && rating.rating >= lowestRating.value_or(0) - 1e-9 &&
           rating.rating <= highestRating.value_or(rating.rating) + 1e-9;
}

GradedPuzzle GenerateGraded(const Wanted& wanted, Symmetry symmetry, std::mt19937_64& random)
{
    GradedPuzzle made;
    while (true) {
        made.solution = RandomFullGrid(random);
        made.givens = minimalPuzzle(made.solution, symmetry, random);
        if (wanted.accepts(RatePuzzle(made.givens)))
            return made;
        ++made.failed;
    }
}

} // namespace kavrin
