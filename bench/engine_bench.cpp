// Engine benchmarks: fixed seeds and a fixed puzzle set; answers are checked outside the timing.
#include "checking/completion.h"
#include "checking/dead_squares.h"
#include "commands/game_commands.h"
#include "files/puzzle_line.h"
#include "generation/generator.h"
#include "generation/uniform_source.h"
#include "grading/rating.h"
#include "host/host.h"
#include "host/silent_host.h"
#include "model/board.h"
#include "model/candidates.h"
#include "model/colour.h"
#include "model/square.h"
#include "solving/fast_solver.h"
#include "solving/logic_solver.h"
#include "solving/search.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <ratio>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

using namespace kavrin;

Board fromLine(std::string_view line)
{
    return std::get<Board>(parsePuzzleLine(line));
}

// 100 generated puzzles (fixed digits only), the same every run.
const std::vector<Board>& puzzleSet()
{
    static const std::vector<Board> set = [] {
        std::vector<Board> boards;
        SeededUniform random(20261207);
        for (int i = 0; i < 100; ++i) {
            Board board;
            Candidates c;
            GeneratePuzzle(board, c, random);
            ClearBlueNumbers(board);
            boards.push_back(board);
        }
        return boards;
    }();
    return set;
}

void requireSolved(const Board& board)
{
    if (CheckCompletion(board) != 0)
        std::abort();
}

void BM_UpdateCandidates(benchmark::State& state)
{
    const Board board = puzzleSet().front();
    Candidates c;
    for (auto _ : state) {
        c.UpdateCandidates(board);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_UpdateCandidates);

void BM_LogicSolveGenerated(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        Board board = puzzleSet()[i++ % puzzleSet().size()];
        Candidates c;
        LogicSolve(board, c);
        benchmark::DoNotOptimize(board);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogicSolveGenerated);

// Each strategy on the fresh table of a generated puzzle; they read the table as digit masks.
template <bool (*Strategy)(Board&, const Candidates&)>
void BM_Strategy(benchmark::State& state)
{
    const Board puzzle = puzzleSet().front();
    Candidates c;
    c.UpdateCandidates(puzzle);
    for (auto _ : state) {
        Board board = puzzle;
        benchmark::DoNotOptimize(Strategy(board, c));
        benchmark::DoNotOptimize(board);
    }
}
BENCHMARK(BM_Strategy<HiddenSinglesInRows>)->Name("BM_HiddenSinglesInRows");
BENCHMARK(BM_Strategy<HiddenSinglesInBlocks>)->Name("BM_HiddenSinglesInBlocks");
BENCHMARK(BM_Strategy<NakedSingles>)->Name("BM_NakedSingles");

// The dead-square test of the gate and the Check command: a rebuild and a full scan.
void BM_CountLogicalErrors(benchmark::State& state)
{
    Board board = puzzleSet().front();
    Candidates c;
    for (auto _ : state)
        benchmark::DoNotOptimize(CountLogicalErrors(board, c));
}
BENCHMARK(BM_CountLogicalErrors);

// Silent search steps on a puzzle that needs many trials and back-ups.
void BM_LastAttemptSteps(benchmark::State& state)
{
    const Board hard = fromLine("4.....8.5.3..........7......2.....6.....8.4......1.......6.3.7.5..2.....1.4......");
    long long trials = 0;
    for (auto _ : state) {
        Board board = hard;
        Candidates c;
        SilentHost host;
        SearchHost searchHost = host.searchHost();
        trials += LastAttempt(board, c, searchHost).trials;
        state.PauseTiming();
        requireSolved(board);
        state.ResumeTiming();
    }
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(trials), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LastAttemptSteps)->Unit(benchmark::kMillisecond);

void BM_GenerationAttempt(benchmark::State& state)
{
    SeededUniform random(1);
    Board board;
    Candidates c;
    for (auto _ : state)
        benchmark::DoNotOptimize(GenerationAttempt(board, c, random));
}
BENCHMARK(BM_GenerationAttempt)->Unit(benchmark::kMicrosecond);

void BM_GeneratePuzzle(benchmark::State& state)
{
    SeededUniform random(1);
    long long failed = 0;
    for (auto _ : state) {
        Board board;
        Candidates c;
        failed += GeneratePuzzle(board, c, random);
        state.PauseTiming();
        requireSolved(board);
        state.ResumeTiming();
    }
    state.counters["retries/puzzle"] = static_cast<double>(failed) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GeneratePuzzle)->Unit(benchmark::kMicrosecond);

// A list of puzzles, one a line ('.' or '0' empty), shuffled with a fixed seed; the environment
// variable names the file, else the default.
std::vector<Grid> puzzleList(const char* variable, const char* fallback)
{
    const char* path = std::getenv(variable);
    std::ifstream in(path ? path : fallback);
    std::vector<Grid> all;
    for (std::string line; std::getline(in, line);) {
        Grid grid{};
        for (std::size_t i = 0; i < grid.size() && i < line.size(); ++i)
            grid[i] = static_cast<std::uint8_t>(line[i] == '.' ? 0 : line[i] - '0');
        all.push_back(grid);
    }
    std::shuffle(all.begin(), all.end(), std::mt19937_64(20261207));
    return all;
}

// The public 17-clue list (KAVRIN_17_CLUE names another copy).
const std::vector<Grid>& seventeenClues()
{
    static const std::vector<Grid> grids = puzzleList("KAVRIN_17_CLUE", KAVRIN_17_CLUE_DEFAULT);
    return grids;
}

// Hard puzzles that need long searches, as bench/isomorphs.py makes them (KAVRIN_HARD_SET).
const std::vector<Grid>& hardSet()
{
    static const std::vector<Grid> grids = puzzleList("KAVRIN_HARD_SET", "");
    return grids;
}

// The batch solver on a list of unique puzzles: to the first solution in index order (limit 1,
// as kvr solve asks) or counting to two (as kvr count does). Every answer is checked once before
// the timed loop.
void countSolutions(benchmark::State& state, const std::vector<Grid>& grids, const char* missing)
{
    const long long limit = state.range(0);
    if (grids.empty()) {
        state.SkipWithError(missing);
        return;
    }
    for (const Grid& grid : grids)
        if (CountSolutions(grid, limit).count != 1 || CountSolutions(grid, limit).first != CountSolutions(grid, 2).first)
            std::abort();
    long long guesses = 0;
    std::chrono::duration<double, std::micro> spent{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (const Grid& grid : grids)
            guesses += CountSolutions(grid, limit).guesses;
        spent += std::chrono::steady_clock::now() - start;
    }
    const auto puzzles = static_cast<double>(state.iterations()) * static_cast<double>(grids.size());
    state.counters["us/puzzle"] = spent.count() / puzzles;
    state.counters["guesses/puzzle"] = static_cast<double>(guesses) / puzzles;
}

void BM_CountSolutions17Clue(benchmark::State& state)
{
    countSolutions(state, seventeenClues(), "no 17-clue list: set KAVRIN_17_CLUE");
}
BENCHMARK(BM_CountSolutions17Clue)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_CountSolutionsHardSet(benchmark::State& state)
{
    countSolutions(state, hardSet(), "no hard set: set KAVRIN_HARD_SET");
}
BENCHMARK(BM_CountSolutionsHardSet)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// kvr rate's work on the same list: the count to two, then the technique ladder.
void BM_RatePuzzle17Clue(benchmark::State& state)
{
    const std::vector<Grid>& grids = seventeenClues();
    if (grids.empty()) {
        state.SkipWithError("no 17-clue list: set KAVRIN_17_CLUE");
        return;
    }
    for (auto _ : state)
        for (const Grid& grid : grids)
            benchmark::DoNotOptimize(RatePuzzle(grid));
    state.counters["puzzles/s"] = benchmark::Counter(static_cast<double>(state.iterations() * grids.size()),
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RatePuzzle17Clue)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
