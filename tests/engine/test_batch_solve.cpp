// The fast solver against plain backtracking, and batch solving against the visible search it
// stands in for: generated puzzles, thinned ones with many solutions, broken ones with none.
#include "checking/completion.h"
#include "checking/entries.h"
#include "commands/game_commands.h"
#include "fakes.h"
#include "generation/generator.h"
#include "generation/uniform_source.h"
#include "model/board.h"
#include "model/candidates.h"
#include "model/colour.h"
#include "plain_backtracker.h"
#include "recording_prompter.h"
#include "solving/batch_solve.h"
#include "solving/fast_solver.h"
#include "solving/logic_solver.h"
#include "solving/search.h"

#include <QObject>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

namespace {
std::string generatedPuzzle(std::uint64_t seed)
{
    SeededUniform random(seed);
    Board board;
    Candidates candidates;
    GeneratePuzzle(board, candidates, random);
    ClearBlueNumbers(board);
    return digitsOf(board);
}

// Keeps one given in every `keep`, so that a unique puzzle gets many solutions.
std::string thinned(std::string digits, int keep)
{
    int seen = 0;
    for (char& c : digits)
        if (c != '0' && seen++ % keep != 0)
            c = '0';
    return digits;
}

// A given changed to another digit that its row, column and block do not hold, the first such
// change from the given numbered `which` on: nothing repeats, yet mostly no solution is left.
std::string broken(const std::string& digits, int which)
{
    for (int i = 0; i < 81; ++i) {
        const int at = (which + i) % 81;
        for (char d = '1'; d <= '9' && digits[at] != '0'; ++d) {
            std::string changed = digits;
            changed[at] = d;
            Board board = boardFromLine(changed);
            if (d != digits[at] && CheckEntries(board) == 0)
                return changed;
        }
    }
    return digits;
}

struct Outcome {
    std::string digits;
    BatchEnd end;
    std::string refusal;
};

// What the Solve command leaves with every question answered Yes: the logic solver, then the
// visible search.
Outcome viaSearch(const std::string& digits)
{
    Board board = boardFromLine(digits);
    Candidates candidates;
    LogicSolve(board, candidates);
    if (CheckCompletion(board) == 0)
        return {digitsOf(board), BatchEnd::Solved, {}};
    FakeHost fake;
    switch (LastAttempt(board, candidates, fake.host).end) {
    case SearchEnd::Refused:
        return {digitsOf(board), BatchEnd::Refused, fake.prompter.messages.back().text};
    case SearchEnd::NoSolution:
        return {digitsOf(board), BatchEnd::NoSolution, {}};
    default:
        return {digitsOf(board), BatchEnd::Solved, {}};
    }
}

// A row of a table whose solutions the plain backtracker counts.
void addRow(const std::string& name, const std::string& digits)
{
    QTest::newRow(name.c_str()) << digits << -1 << std::string();
}

Outcome viaBatch(const std::string& digits)
{
    const BatchResult result = SolveForBatch(boardFromLine(digits).digits());
    return {digitsOf(result.digits), result.end, result.refusal};
}
} // namespace

class BatchSolveTest : public QObject {
    Q_OBJECT
private slots:
    void countMatchesPlainBacktracking_data()
    {
        addPuzzleRows();
        // No solution, found only after a long walk when squares are taken in index order.
        QTest::newRow("no solution, deep in index order")
            << std::string("000000070000000104000000000000000020000000000005040710908000002000030040520000000") << 0 << std::string();
    }
    void countMatchesPlainBacktracking()
    {
        QFETCH(std::string, digits);
        QFETCH(int, countToTwo);
        QFETCH(std::string, first);
        for (const long long limit : {1LL, 2LL, 25LL}) {
            const SolutionCount fast = CountSolutions(boardFromLine(digits).digits(), limit);
            const OracleSolutions plain = countToTwo < 0 ? oracleSolutions(digits, limit)
                                                         : OracleSolutions{std::min<long long>(countToTwo, limit), first};
            if (countToTwo < 0 || limit <= 2)
                QCOMPARE(fast.count, plain.count);
            QCOMPARE(fast.count > 0 ? digitsOf(fast.first) : "", plain.first);
        }
    }

    // Plain backtracking takes too long to prove that these have no solution; the search does not.
    void batchMatchesSearch_data()
    {
        addPuzzleRows();
        for (const PuzzleCase& p : puzzleTable())
            for (int which = 0; which <= 18 && p.name.starts_with("hard"); which += 3)
                addRow("broken " + p.name + " " + std::to_string(which), broken(digitsOf(boardFromLine(p.puzzle)), which));
    }
    void batchMatchesSearch()
    {
        QFETCH(std::string, digits);
        const Outcome expected = viaSearch(digits);
        const Outcome outcome = viaBatch(digits);
        QCOMPARE(outcome.digits, expected.digits);
        QCOMPARE(outcome.end, expected.end);
        QCOMPARE(outcome.refusal, expected.refusal);
    }

private:
    // The shared table's puzzles are too hard for plain backtracking to count: their rows carry
    // the count up to two and the first solution; the oracle answers for the others.
    static void addPuzzleRows()
    {
        QTest::addColumn<std::string>("digits");
        QTest::addColumn<int>("countToTwo"); // -1: the oracle counts
        QTest::addColumn<std::string>("first");
        for (const PuzzleCase& p : puzzleTable())
            QTest::newRow(p.name.c_str()) << digitsOf(boardFromLine(p.puzzle)) << p.solutions
                                          << (p.solutions ? p.firstSolution : "");
        addRow("empty grid", std::string(81, '0'));
        addRow("repeated given", "55" + std::string(79, '0'));
        // Row 1 holds 1 to 8 and column 9 a 9: square 9 can take nothing.
        addRow("dead square", "123456780" "000000009" + std::string(63, '0'));
        // Squares 1 and 2 can both take only the 9.
        addRow("two squares need one digit", "001234567" "800000000" + std::string(63, '0'));
        // Three solutions; taking the square with the fewest digits first meets another one first.
        addRow("three solutions", "103406789050789000009120056210365807300897004090200060030602908642078030908001040");
        for (std::uint64_t seed = 1; seed <= 12; ++seed) {
            const std::string puzzle = generatedPuzzle(seed);
            addRow("generated " + std::to_string(seed), puzzle);
            addRow("thinned " + std::to_string(seed), thinned(puzzle, int(2 + seed % 3)));
        }
    }
};

QTEST_APPLESS_MAIN(BatchSolveTest)
#include "test_batch_solve.moc"
