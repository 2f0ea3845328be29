// The commands that take one puzzle or every line of standard input: solve, count and rate.
#include "batch.h"
#include "commands.h"
#include "files/puzzle_line.h"
#include "grading/finding.h"
#include "grading/rating.h"
#include "line_reader.h"
#include "messages.h"
#include "model/board.h"
#include "model/square.h"
#include "output.h"
#include "puzzle_input.h"
#include "solving/batch_solve.h"
#include "solving/fast_solver.h"

#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <variant>
#include <vector>

namespace kavrin::cli {

namespace {
// The solved line, and why the puzzle is left unsolved.
LineResult solved(const Grid& givens)
{
    const BatchResult result = SolveForBatch(givens);
    std::string line = formatPuzzleLine(result.digits);
    line += '\n';
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
LineResult counted(const Grid& givens, long long limit)
{
    const SolutionCount solutions = CountSolutions(givens, limit);
    std::string line = formatPuzzleLine(givens) + ":" + std::to_string(solutions.count) +
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

bool finished(Grade grade)
{
    return graded(grade) && grade != Grade::Beyond;
}

// PUZZLE:GRADE:STEPS:RATING. STEPS is the hardest technique, a slash, and each technique used
// with how often, in ladder order: "pointing/hidden-single=40,naked-single=12,pointing=2".
// RATING is the hardest step's, on a puzzle the techniques finish.
LineResult rated(const Grid& givens)
{
    const Rating rating = RatePuzzle(givens);
    std::string line = formatPuzzleLine(givens) + ":" + std::string(gradeName(rating.grade)) + ":";
    if (!rating.hardest.empty()) {
        line += std::string(rating.hardest) + "/";
        const char* separator = "";
        for (const TechniqueUse& use : rating.uses) {
            line += separator;
            line += use.technique;
            line += '=';
            line += std::to_string(use.count);
            separator = ",";
        }
    }
    line += ':';
    if (finished(rating.grade))
        line += ratingText(rating.rating);
    return {line + "\n", {}, graded(rating.grade) ? kSuccess : kNotSolved};
}

// The steps of one puzzle in words, then its grade and rating.
LineResult explained(const Grid& givens)
{
    const Rating rating = RatePuzzle(givens, true);
    std::string text;
    int number = 0;
    for (const LadderStep& step : rating.steps)
        text += std::to_string(++number) + ". " + step.finding.text + " [" + std::string(step.finding.technique) + "]\n";
    return {text + gradeVerdict(rating) + "\n", {}, graded(rating.grade) ? kSuccess : kNotSolved};
}

std::string jsonString(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            quoted += std::string("\\u00") + kHex[c >> 4] + kHex[c & 15];
            continue;
        }
        quoted += c;
    }
    return quoted + "\"";
}

// [[row, column, digit], ...], rows and columns from 1.
std::string jsonCandidates(const std::vector<Candidate>& candidates)
{
    std::string list = "[";
    for (const Candidate& c : candidates)
        list += (list.size() > 1 ? ", [" : "[") + std::to_string(c.square / 9 + 1) + ", " +
                std::to_string(c.square % 9 + 1) + ", " + std::to_string(c.digit) + "]";
    return list + "]";
}

// One JSON object a line for each step, then one for the puzzle.
LineResult explainedAsJson(const Grid& givens)
{
    const Rating rating = RatePuzzle(givens, true);
    std::string text;
    for (const LadderStep& step : rating.steps) {
        const Finding& f = step.finding;
        text += "{\"technique\": " + jsonString(f.technique) + ", \"rating\": " + ratingText(f.rating) +
                ", \"place\": " + jsonCandidates(f.placements) + ", \"remove\": " + jsonCandidates(f.removals) +
                ", \"text\": " + jsonString(f.text) + "}\n";
    }
    text += "{\"puzzle\": " + jsonString(formatPuzzleLine(givens)) + ", \"grade\": " +
            jsonString(gradeName(rating.grade)) +
            ", \"rating\": " + (finished(rating.grade) ? ratingText(rating.rating) : "null") + "}\n";
    return {text, {}, graded(rating.grade) ? kSuccess : kNotSolved};
}

// A line's digits, or its reason as a failure.
template <typename Work>
LineResult onLine(std::string_view line, const Work& work)
{
    const auto parsed = parseGivens(line);
    if (const auto* reason = std::get_if<std::string>(&parsed))
        return {{}, *reason, kBadInput};
    return work(std::get<Grid>(parsed));
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
        const LineResult result = work(readPuzzle(options.puzzle).digits());
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
    return run(options, [](const Grid& givens) { return solved(givens); });
}

ExitStatus runCount(const CountOptions& options)
{
    return run(options, [&](const Grid& givens) { return counted(givens, options.limit); });
}

ExitStatus runRate(const RateOptions& options)
{
    if (options.json)
        return run(options, [](const Grid& givens) { return explainedAsJson(givens); });
    if (options.explain)
        return run(options, [](const Grid& givens) { return explained(givens); });
    return run(options, [](const Grid& givens) { return rated(givens); });
}

} // namespace kavrin::cli
