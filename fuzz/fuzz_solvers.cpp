// Fuzz target: the batch solver, the solution counter and the grading ladder on any grid. The
// input's bytes are squares: a byte below 90 is that byte % 10 (0 empty), anything else empty,
// so that both crowded and sparse grids come up.
#include "fuzz_expect.h"
#include "grading/finding.h"
#include "grading/pencilmarks.h"
#include "grading/rating.h"
#include "model/geometry.h"
#include "model/square.h"
#include "plain_backtracker.h"
#include "solving/fast_solver.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace kavrin;
using kavrin::fuzz::expect;

namespace {

// Enough trial digits for a grid with few empty squares, or one that plain backtracking solves
// early; the sparse grids where it wanders are left to the other checks.
constexpr long long kOracleBudget = 100'000;

std::string line(const Grid& grid)
{
    std::string digits;
    for (const std::uint8_t d : grid)
        digits += static_cast<char>('0' + d);
    return digits;
}

bool completes(const Grid& solution, const Grid& givens)
{
    for (std::size_t s = 0; s < 81; ++s) {
        const int d = solution[s];
        if (d < 1 || d > 9 || (givens[s] != 0 && givens[s] != d))
            return false;
        for (std::size_t t = 0; t < 81; ++t)
            if (t != s && sees(int(s), int(t)) && solution[t] == d)
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Grid grid{};
    for (std::size_t i = 0; i < size && i < grid.size(); ++i)
        grid[i] = static_cast<std::uint8_t>(data[i] < 90 ? data[i] % 10 : 0);

    const SolutionCount three = CountSolutions(grid, 3);
    const SolutionCount one = CountSolutions(grid, 1);
    expect(three.count >= 0 && three.count <= 3, "the count stays within its limit");
    expect((one.count > 0) == (three.count > 0), "a limit of one finds a solution when there is one");
    const test::OracleSolutions plain = test::oracleSolutions(line(grid), 3, kOracleBudget);
    expect(plain.gaveUp || three.count == plain.count, "the count is the plain backtracker's");
    expect(plain.gaveUp || three.count == 0 || line(three.first) == plain.first,
           "the first solution is the plain backtracker's");
    if (three.count == 0)
        return 0;
    expect(completes(three.first, grid), "the first solution completes the givens validly");
    expect(one.first == three.first, "the first solution in index order is the same at any limit");

    const Rating rating = RatePuzzle(grid, true);
    if (three.count > 1) {
        expect(rating.grade == Grade::ManySolutions, "a puzzle with more solutions is not graded");
        return 0;
    }
    // Every step of the ladder is true to the one solution.
    Pencilmarks marks(grid);
    for (const LadderStep& step : rating.steps) {
        for (const Candidate c : step.finding.placements)
            expect(c.digit == three.first[c.square], "a step fills in the solution");
        for (const Candidate c : step.finding.removals)
            expect(c.digit != three.first[c.square], "no step takes away the solution's digit");
        marks.apply(step.finding.placements, step.finding.removals);
    }
    expect(rating.grade == Grade::Beyond || marks.solved(), "a graded puzzle ends solved");
    return 0;
}
