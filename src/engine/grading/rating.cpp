// The ladder's driver and the grades.
#include "grading/rating.h"

namespace kavrin {

std::string_view gradeName(Grade grade)
{
    static constexpr std::string_view kNames[] = {"easy", "medium", "hard", "expert", "no-solution",
                                                  "many-solutions"};
    return kNames[static_cast<int>(grade)];
}

Grade gradeOf(Technique hardest)
{
    if (hardest <= Technique::NakedSingle)
        return Grade::Easy;
    return hardest <= Technique::HiddenPair ? Grade::Medium : Grade::Hard;
}

Rating RatePuzzle(const Grid& grid, bool keepSteps)
{
    Rating rating;
    const long long solutions = CountSolutions(grid, 2).count;
    if (solutions != 1) {
        rating.grade = solutions == 0 ? Grade::NoSolution : Grade::ManySolutions;
        return rating;
    }
    Pencilmarks marks(grid);
    while (!marks.solved()) {
        std::optional<Deduction> step;
        for (int rung = 0; rung < kTechniqueCount && !step; ++rung)
            step = findStep(static_cast<Technique>(rung), marks);
        if (!step) {
            rating.grade = Grade::Expert;
            return rating;
        }
        apply(*step, marks);
        ++rating.uses[static_cast<std::size_t>(step->technique)];
        rating.hardest = std::max(rating.hardest.value_or(step->technique), step->technique);
        if (keepSteps)
            rating.steps.push_back(*step);
    }
    rating.grade = rating.hardest ? gradeOf(*rating.hardest) : Grade::Easy;
    return rating;
}

} // namespace kavrin
