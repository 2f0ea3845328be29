// kvr generate and kvr convert: the commands that make puzzles and may write files.
#include "commands.h"
#include "files/puzzle_file.h"
#include "files/puzzle_line.h"
#include "generation/generator.h"
#include "commands/game_commands.h"
#include "generation/graded_generator.h"
#include "generation/uniform_source.h"
#include "messages.h"
#include "model/board.h"
#include "model/candidates.h"
#include "model/square.h"
#include "output.h"
#include "puzzle_input.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kavrin::cli {

namespace {
std::string bytesOf(const Board& board)
{
    const PuzzleBytes bytes = encodePuzzle(board);
    return {bytes.begin(), bytes.end()};
}

// "-" is standard output.
void writeFile(const std::string& path, const std::string& bytes, const std::vector<std::string>& inputs)
{
    Output output = path == "-" ? Output::standardOutput() : Output::file(path, inputs);
    output.write(bytes);
    output.finish();
}

int solverDigits(const Board& board)
{
    int count = 0;
    for (int s = 1; s <= kSquareCount; ++s)
        count += board[s].Digit != 0 && !board[s].Fixed;
    return count;
}

// As the game's Generate command makes them: the drawn digits are the puzzle; -o keeps the
// solver's digits too, with their flags.
Board generatedGrid(const GenerateOptions& options, SeededUniform& random)
{
    Board board;
    Candidates candidates;
    std::cerr << failedAttempts(GeneratePuzzle(board, candidates, random)) << '\n';
    if (!options.output.empty())
        writeFile(options.output, bytesOf(board), {});
    if (!options.solution)
        ClearBlueNumbers(board);
    return board;
}

// Unique, minimal and of the grade or rating asked for, none twice; -o keeps the givens alone.
Board gradedGrid(const GenerateOptions& options, std::mt19937_64& random, std::set<Grid>& made)
{
    GradedPuzzle puzzle;
    do
        puzzle = GenerateGraded(options.wanted, options.symmetry, random);
    while (!made.insert(puzzle.givens).second);
    std::cerr << failedAttempts(puzzle.failed) << '\n';
    Board board = Board::withGivens(puzzle.givens);
    if (!options.output.empty())
        writeFile(options.output, bytesOf(board), {});
    if (options.solution)
        board.placeSolution(puzzle.solution);
    return board;
}
} // namespace

ExitStatus runGenerate(const GenerateOptions& options)
{
    if (!options.output.empty() && options.count != 1)
        throw Error{ErrorKind::Usage, {}, oneGridOnly(), "generate"};
    const auto seed = options.seed.value_or(
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    SeededUniform uniform(seed);
    std::mt19937_64 random(seed);
    std::set<Grid> made;
    Output out = Output::standardOutput();
    for (long long n = 0; n < options.count; ++n) {
        const Board board = options.graded() ? gradedGrid(options, random, made) : generatedGrid(options, uniform);
        out.write(formatPuzzleLine(board) + "\n");
    }
    out.finish();
    return kSuccess;
}

ExitStatus runConvert(const ConvertOptions& options)
{
    Board board = readPuzzle(options.in);
    if (isKvrPath(options.out)) {
        writeFile(options.out, bytesOf(board), {options.in});
        return kSuccess;
    }
    const int dropped = options.all ? 0 : solverDigits(board);
    if (dropped > 0)
        ClearBlueNumbers(board);
    writeFile(options.out, formatPuzzleLine(board) + "\n", {options.in});
    if (dropped > 0)
        std::cerr << notice(options.in, solverDigitsLeftOut(dropped));
    return kSuccess;
}

} // namespace kavrin::cli
