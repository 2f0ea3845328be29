// How hard a puzzle is for a player: the hardest rung of the technique ladder it needs.
#pragma once

#include "grading/techniques.h"
#include "solving/fast_solver.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace kavrin {

// easy: singles alone; medium: up to locked sets and pairs; hard: the rest of the ladder;
// expert: the ladder stalls and trial and error is needed.
enum class Grade { Easy, Medium, Hard, Expert, NoSolution, ManySolutions };

std::string_view gradeName(Grade grade); // "easy" ... "no-solution", "many-solutions"
Grade gradeOf(Technique hardest);

struct Rating {
    Grade grade = Grade::Easy;
    std::array<int, kTechniqueCount> uses{}; // how often each rung was used
    std::optional<Technique> hardest;        // none when the ladder was not needed or did nothing
    std::vector<Deduction> steps;            // every step in order, when asked for
};

// Solves as a player would: after every step the ladder starts again from its first rung.
// Puzzles without exactly one solution are not graded.
Rating RatePuzzle(const Grid& grid, bool keepSteps = false);

} // namespace kavrin
