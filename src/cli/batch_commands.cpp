// The commands that take one puzzle or every line of standard input: solve, count and rate.
#include "batch.h"
#include "commands.h"
#include "files/puzzle_line.h"
#include "grading/explanation.h"
#include "grading/rating.h"
#include "puzzle_input.h"
#include "solving/batch_solve.h"
#include "solving/fast_solver.h"

#include <iostream>
#include <unistd.h>

namespace kavrin::cli {

namespace {
// The solved line, and why the puzzle is left unsolved.
LineResult solved(Board& board)
{
    const BatchResult result = SolveForBatch(board);
    const std::string line = formatPuzzleLine(board) + "\n";
    switch (result.end) {
    case BatchEnd::Solved:
        return {line, {}, kSuccess};
    case BatchEnd::Refused:
        return {line, result.refusal, kNotSolved};
    case BatchEnd::NoSolution:
        break;
    }
    return {line, noSolution(), kNotSolved};
}

// PUZZLE:COUNT:SOLUTION, COUNT written N+ when it reaches the limit.
LineResult counted(const Board& board, long long limit)
{
    const SolutionCount solutions = CountSolutions(board.digits(), limit);
    std::string line = formatPuzzleLine(board) + ":" + std::to_string(solutions.count) +
                       (solutions.count == limit ? "+" : "") + ":";
    if (solutions.count > 0)
        for (const std::uint8_t digit : solutions.first)
            line += static_cast<char>('0' + digit);
    return {line + "\n", {}, solutions.count == 1 && limit > 1 ? kSuccess : kNotSolved};
}

bool graded(Grade grade)
{
    return grade != Grade::NoSolution && grade != Grade::ManySolutions;
}

// PUZZLE:GRADE:STEPS, STEPS the hardest technique, a slash, and each technique used with how
// often, in ladder order: "pointing/hidden-single=40,naked-single=12,pointing=2".
LineResult rated(const Board& board)
{
    const Rating rating = RatePuzzle(board.digits());
    std::string line = formatPuzzleLine(board) + ":" + std::string(gradeName(rating.grade)) + ":";
    if (rating.hardest) {
        line += std::string(techniqueName(*rating.hardest)) + "/";
        const char* separator = "";
        for (int t = 0; t < kTechniqueCount; ++t)
            if (const int uses = rating.uses[static_cast<std::size_t>(t)]; uses > 0) {
                line += separator + std::string(techniqueName(static_cast<Technique>(t))) + "=" + std::to_string(uses);
                separator = ",";
            }
    }
    return {line + "\n", {}, graded(rating.grade) ? kSuccess : kNotSolved};
}

// The steps of one puzzle in words, then its grade.
ExitStatus explainRating(const std::string& puzzle)
{
    const Board board = readPuzzle(puzzle);
    const Rating rating = RatePuzzle(board.digits(), true);
    Output output = Output::standardOutput();
    int number = 0;
    for (const Deduction& step : rating.steps)
        output.write(std::to_string(++number) + ". " + explain(step) + "\n");
    output.write(gradeVerdict(rating) + "\n");
    output.finish();
    return graded(rating.grade) ? kSuccess : kNotSolved;
}

// A line's board, or its reason as a failure.
template <typename Work>
LineResult onLine(std::string_view line, const Work& work)
{
    auto parsed = parsePuzzleLine(line);
    if (const auto* reason = std::get_if<std::string>(&parsed))
        return {{}, *reason, kBadInput};
    return work(std::get<Board>(parsed));
}

template <typename Work>
ExitStatus run(const PuzzleOptions& options, const Work& work)
{
    Output output = Output::standardOutput();
    ExitStatus status = kSuccess;
    if (options.puzzle == "-") {
        LineReader reader(STDIN_FILENO, "standard input");
        status = runBatch(reader, output, options.jobs,
                          [&](std::string_view line) { return onLine(line, work); });
    } else {
        Board board = readPuzzle(options.puzzle);
        const LineResult result = work(board);
        output.write(result.out);
        if (!result.failure.empty())
            std::cerr << notice(options.puzzle, result.failure);
        status = result.status;
    }
    output.finish();
    return status;
}
} // namespace

ExitStatus runSolve(const PuzzleOptions& options)
{
    return run(options, [](Board& board) { return solved(board); });
}

ExitStatus runCount(const CountOptions& options)
{
    return run(options, [&](Board& board) { return counted(board, options.limit); });
}

ExitStatus runRate(const RateOptions& options)
{
    if (options.explain)
        return explainRating(options.puzzle);
    return run(options, [](const Board& board) { return rated(board); });
}

} // namespace kavrin::cli
