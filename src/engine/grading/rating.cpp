// The ladder's driver, its rungs past the basic techniques, and the grades.
#include "grading/rating.h"

#include "grading/als.h"
#include "grading/chains.h"
#include "grading/explanation.h"
#include "grading/forcing.h"
#include "grading/techniques.h"
#include "grading/uniqueness.h"
#include "solving/fast_solver.h"

#include <algorithm>
#include <compare>
#include <functional>
#include <iterator>
#include <ranges>
#include <string>
#include <utility>

namespace kavrin {

namespace {
// Easiest first by the community's rating of their simplest instance; every forcing rung after
// every pattern and chain, so that the furthest rung used gives the grade.
constexpr Rung kAdvancedRungs[] = {
    {"unique-rectangle", Grade::Expert, findUniqueRectangle},
    {"skyscraper", Grade::Expert, findSkyscraper},
    {"2-string-kite", Grade::Expert, findTwoStringKite},
    {"turbot-crane", Grade::Expert, findTurbotCrane},
    {"x-chain", Grade::Expert, findXChain},
    {"x-cycle", Grade::Expert, findXCycle},
    {"bivalue-universal-grave", Grade::Expert, findBivalueUniversalGrave},
    {"aligned-pair-exclusion", Grade::Expert, findAlignedPairExclusion},
    {"w-wing", Grade::Expert, findWWing},
    {"remote-pair", Grade::Expert, findRemotePair},
    {"xy-chain", Grade::Expert, findXYChain},
    {"als-xz", Grade::Expert, findAlsXz},
    {"aic", Grade::Expert, findAlternatingChain},
    {"contradiction-forcing-chain", Grade::Extreme, findContradictionForcingChain},
    {"cell-forcing-chain", Grade::Extreme, findCellForcingChain},
    {"house-forcing-chain", Grade::Extreme, findHouseForcingChain},
    {"dynamic-forcing-chain", Grade::Extreme, findDynamicForcingChain},
    {"forcing-net", Grade::Extreme, findForcingNet},
    {"nested-forcing-chain", Grade::Extreme, findNestedForcingChain},
};

Grade basicGrade(int rung)
{
    const auto technique = static_cast<Technique>(rung);
    if (technique <= Technique::NakedSingle)
        return Grade::Easy;
    return technique <= Technique::HiddenPair ? Grade::Medium : Grade::Hard;
}

Grade gradeOfRung(int rung)
{
    return rung < kTechniqueCount ? basicGrade(rung) : kAdvancedRungs[rung - kTechniqueCount].grade;
}

void count(std::vector<TechniqueUse>& uses, std::string_view technique, int rung)
{
    auto at = std::ranges::find_if(uses, [&](const TechniqueUse& use) {
        return use.rung > rung || (use.rung == rung && use.technique >= technique);
    });
    if (at == uses.end() || at->rung != rung || at->technique != technique)
        at = uses.insert(at, {technique, rung, 0});
    ++at->count;
}
} // namespace

std::string_view gradeName(Grade grade)
{
    static constexpr std::string_view kNames[] = {"easy",   "medium", "hard",        "expert",
                                                  "extreme", "beyond", "no-solution", "many-solutions"};
    return kNames[static_cast<int>(grade)];
}

std::span<const Rung> advancedRungs()
{
    return kAdvancedRungs;
}

int rungCount()
{
    return kTechniqueCount + static_cast<int>(std::size(kAdvancedRungs));
}

std::optional<LadderStep> stepOn(int rung, const Pencilmarks& marks, bool withText)
{
    if (rung >= kTechniqueCount) {
        std::optional<Finding> found = kAdvancedRungs[rung - kTechniqueCount].find(marks);
        if (!found)
            return std::nullopt;
        return LadderStep{rung, std::move(*found)};
    }
    std::optional<Deduction> found = findStep(static_cast<Technique>(rung), marks);
    if (!found)
        return std::nullopt;
    const double rating = ratingOf(*found, marks);
    std::string text = withText ? explain(*found) : std::string();
    return LadderStep{rung, {techniqueName(found->technique), rating, std::move(found->placements),
                             std::move(found->removals), std::move(text)}};
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
    int hardestRung = -1;
    while (!marks.solved()) {
        std::optional<LadderStep> step;
        for (int rung = 0; rung < rungCount() && !step; ++rung)
            step = stepOn(rung, marks, keepSteps);
        if (!step) {
            rating.grade = Grade::Beyond;
            rating.stoppedAt = marks.digits;
            return rating;
        }
        marks.apply(step->finding.placements, step->finding.removals);
        count(rating.uses, step->finding.technique, step->rung);
        rating.rating = std::max(rating.rating, step->finding.rating);
        if (step->rung > hardestRung) {
            hardestRung = step->rung;
            rating.hardest = step->finding.technique;
        }
        if (keepSteps)
            rating.steps.push_back(std::move(*step));
    }
    rating.grade = hardestRung < 0 ? Grade::Easy : gradeOfRung(hardestRung);
    return rating;
}

} // namespace kavrin
