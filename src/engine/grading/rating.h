// How hard a puzzle is for a player: the techniques it needs, tried easiest first, and the
// hardest step's difficulty on the community's scale.
#pragma once

#include "grading/finding.h"
#include "grading/pencilmarks.h"
#include "model/square.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kavrin {

// easy: singles alone; medium: up to locked sets and pairs; hard: the rest of the basic ladder;
// expert: patterns and chains past it; extreme: forcing chains or nets; beyond: nothing finishes it.
enum class Grade { Easy, Medium, Hard, Expert, Extreme, Beyond, NoSolution, ManySolutions };

std::string_view gradeName(Grade grade); // "easy" ... "no-solution", "many-solutions"

// A rung of the ladder past the basic one: a finder of its easiest instance, and the grade a
// puzzle that needs it gets.
struct Rung {
    std::string_view family; // "unique-rectangle", "x-chain", ...; its findings name themselves
    Grade grade;
    std::optional<Finding> (*find)(const Pencilmarks& marks);
};

// The rungs past the basic ladder's 15, in the order they are tried.
std::span<const Rung> advancedRungs();

struct TechniqueUse {
    std::string_view technique;
    int rung = 0; // 0..14 the basic ladder, then the advanced rungs
    int count = 0;
};

struct LadderStep {
    int rung = 0;
    Finding finding; // its text only when the steps were asked for
};

struct Rating {
    Grade grade = Grade::Easy;
    double rating = 0;                // the hardest step's difficulty; 0 when no step was needed
    std::string_view hardest;         // the technique of the furthest rung used, if any
    std::vector<TechniqueUse> uses;   // in ladder order
    std::vector<LadderStep> steps;    // every step in order, when asked for
    Grid stoppedAt{};                 // the digits placed when a beyond puzzle stopped
};

// Solves as a player would: after every step the ladder starts again from its first rung.
// Puzzles without exactly one solution are not graded (so the uniqueness rungs are sound).
Rating RatePuzzle(const Grid& grid, bool keepSteps = false);

int rungCount();
// The rung's easiest instance on the marks, with its words when asked for.
std::optional<LadderStep> stepOn(int rung, const Pencilmarks& marks, bool withText);

} // namespace kavrin
