// kvr solve and kvr count: one puzzle from an argument, or every line of standard input.
#include "batch.h"
#include "commands.h"
#include "files/puzzle_line.h"
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
    Grid grid{};
    for (int s = 1; s <= kSquareCount; ++s)
        grid[static_cast<std::size_t>(s - 1)] = board[s].Digit;
    const SolutionCount solutions = CountSolutions(grid, limit);
    std::string line = formatPuzzleLine(board) + ":" + std::to_string(solutions.count) +
                       (solutions.count == limit ? "+" : "") + ":";
    if (solutions.count > 0)
        for (const std::uint8_t digit : solutions.first)
            line += static_cast<char>('0' + digit);
    return {line + "\n", {}, solutions.count == 1 && limit > 1 ? kSuccess : kNotSolved};
}

// A line's board, or its reason as a failure.
template <typename Work>
LineResult onLine(std::string_view line, const Work& work)
{
    auto parsed = parsePuzzleLine(line);
    if (const auto* reason = std::get_if<std::string>(&parsed))
        return {{}, *reason, kBadInput};
    Board board;
    applyPuzzle(board, std::get<PuzzleRecords>(parsed));
    return work(board);
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

} // namespace kavrin::cli
