// The C interface of libkavrin over the engine's core. Every entry point checks its arguments
// and turns any exception into a status, so nothing escapes across the C boundary.
#include "kavrin/kavrin.h"

#include "files/puzzle_line.h"
#include "generation/graded_generator.h"
#include "grading/finding.h"
#include "grading/rating.h"
#include "model/colour.h"
#include "model/square.h"
#include "solving/fast_solver.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace {

using namespace kavrin;

std::optional<Grid> parsed(const char* puzzle)
{
    const auto givens = parseGivens(puzzle);
    if (const Grid* grid = std::get_if<Grid>(&givens))
        return *grid;
    return std::nullopt;
}

void writeGrid(const Grid& grid, char* out)
{
    for (std::size_t s = 0; s < grid.size(); ++s)
        out[s] = static_cast<char>('0' + grid[s]);
    out[grid.size()] = '\0';
}

// Copies as much of the text as fits, NUL-terminated.
void copyText(std::string_view text, char* out, std::size_t size)
{
    if (out == nullptr || size == 0)
        return;
    const std::size_t kept = std::min(text.size(), size - 1);
    text.copy(out, kept);
    out[kept] = '\0';
}

template <typename Work>
kavrin_status guarded(Work work) noexcept
{
    try {
        return work();
    } catch (...) {
        return KAVRIN_FAILED;
    }
}

std::optional<Grade> gradeNamed(const char* name)
{
    for (const Grade grade : {Grade::Easy, Grade::Medium, Grade::Hard, Grade::Expert, Grade::Extreme})
        if (gradeName(grade) == name)
            return grade;
    return std::nullopt;
}

// The grade and range asked for; none when the grade is unknown or the range upside down.
std::optional<Wanted> wantedBy(const kavrin_generate_options& options)
{
    Wanted wanted;
    const bool ranged = options.highest_rating > 0;
    if (ranged) {
        if (!(options.lowest_rating <= options.highest_rating))
            return std::nullopt;
        wanted.lowestRating = options.lowest_rating;
        wanted.highestRating = options.highest_rating;
    }
    if (options.grade != nullptr || !ranged) {
        wanted.grade = gradeNamed(options.grade != nullptr ? options.grade : "hard");
        if (!wanted.grade)
            return std::nullopt;
    }
    return wanted;
}

std::string stepsText(const Rating& rating)
{
    std::string text;
    for (const LadderStep& step : rating.steps)
        text += step.finding.text + " [" + std::string(step.finding.technique) + "]\n";
    return text;
}

void fillRating(const Rating& rating, kavrin_rating& out)
{
    copyText(gradeName(rating.grade), out.grade, sizeof out.grade);
    copyText(rating.hardest, out.hardest, sizeof out.hardest);
    out.rating = rating.grade <= Grade::Extreme ? rating.rating : 0;
}

kavrin_status rated(const Grid& grid, kavrin_rating& out, char* steps, std::size_t size, std::size_t* needed)
{
    const bool wantSteps = steps != nullptr || needed != nullptr;
    const Rating rating = RatePuzzle(grid, wantSteps);
    fillRating(rating, out);
    if (wantSteps) {
        const std::string text = stepsText(rating);
        copyText(text, steps, size);
        if (needed != nullptr)
            *needed = text.size() + 1;
    }
    switch (rating.grade) {
    case Grade::NoSolution:
        return KAVRIN_NO_SOLUTION;
    case Grade::ManySolutions:
        return KAVRIN_NOT_UNIQUE;
    default:
        return KAVRIN_OK;
    }
}

} // namespace

extern "C" {

const char* kavrin_version(void)
{
    return KAVRIN_LIBRARY_VERSION;
}

const char* kavrin_status_text(kavrin_status status)
{
    switch (status) {
    case KAVRIN_OK:
        return "success";
    case KAVRIN_NO_SOLUTION:
        return "the puzzle has no solution";
    case KAVRIN_NOT_UNIQUE:
        return "the puzzle has more than one solution";
    case KAVRIN_BAD_PUZZLE:
        return "not an 81-character puzzle";
    case KAVRIN_BAD_ARGUMENT:
        return "an argument is missing or out of range";
    case KAVRIN_FAILED:
        return "the library could not finish the work";
    }
    return "unknown status";
}

kavrin_status kavrin_solve(const char* puzzle, char solution[KAVRIN_GRID_SIZE])
{
    return guarded([&] {
        if (puzzle == nullptr || solution == nullptr)
            return KAVRIN_BAD_ARGUMENT;
        const std::optional<Grid> grid = parsed(puzzle);
        if (!grid)
            return KAVRIN_BAD_PUZZLE;
        const SolutionCount solutions = CountSolutions(*grid, 1);
        if (solutions.count == 0)
            return KAVRIN_NO_SOLUTION;
        writeGrid(solutions.first, solution);
        return KAVRIN_OK;
    });
}

kavrin_status kavrin_count(const char* puzzle, long long limit, long long* count, char first[KAVRIN_GRID_SIZE])
{
    return guarded([&] {
        if (puzzle == nullptr || count == nullptr || limit < 1)
            return KAVRIN_BAD_ARGUMENT;
        const std::optional<Grid> grid = parsed(puzzle);
        if (!grid)
            return KAVRIN_BAD_PUZZLE;
        const SolutionCount solutions = CountSolutions(*grid, limit);
        *count = solutions.count;
        if (first != nullptr) {
            if (solutions.count > 0)
                writeGrid(solutions.first, first);
            else
                first[0] = '\0';
        }
        return KAVRIN_OK;
    });
}

kavrin_status kavrin_rate(const char* puzzle, kavrin_rating* rating, char* steps, size_t steps_size,
                          size_t* steps_needed)
{
    return guarded([&] {
        if (puzzle == nullptr || rating == nullptr || (steps != nullptr && steps_size == 0))
            return KAVRIN_BAD_ARGUMENT;
        const std::optional<Grid> grid = parsed(puzzle);
        if (!grid)
            return KAVRIN_BAD_PUZZLE;
        return rated(*grid, *rating, steps, steps_size, steps_needed);
    });
}

kavrin_status kavrin_generate(const kavrin_generate_options* options, char puzzle[KAVRIN_GRID_SIZE],
                              char solution[KAVRIN_GRID_SIZE])
{
    return guarded([&] {
        if (options == nullptr || puzzle == nullptr || options->symmetry < KAVRIN_SYMMETRY_NONE ||
            options->symmetry > KAVRIN_SYMMETRY_MIRROR)
            return KAVRIN_BAD_ARGUMENT;
        const std::optional<Wanted> wanted = wantedBy(*options);
        if (!wanted)
            return KAVRIN_BAD_ARGUMENT;
        std::mt19937_64 random(options->seed);
        const GradedPuzzle made = GenerateGraded(*wanted, static_cast<Symmetry>(options->symmetry), random);
        writeGrid(made.givens, puzzle);
        if (solution != nullptr)
            writeGrid(made.solution, solution);
        return KAVRIN_OK;
    });
}

} // extern "C"
