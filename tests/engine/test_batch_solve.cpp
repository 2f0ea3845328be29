// The fast solver against plain backtracking, and batch solving against the visible search it
// stands in for: generated puzzles, thinned ones with many solutions, broken ones with none.
#include "checking/completion.h"
#include "checking/entries.h"
#include "commands/game_commands.h"
#include "fakes.h"
#include "generation/generator.h"
#include "solving/batch_solve.h"
#include "solving/fast_solver.h"
#include "solving/logic_solver.h"
#include "solving/search.h"

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
    bool operator==(const Outcome&) const = default;
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
    RecordingPrompter prompter;
    RecordingWait wait;
    ScriptedEvents events;
    SearchHost host{prompter, wait, events};
    switch (LastAttempt(board, candidates, host).end) {
    case SearchEnd::Refused:
        return {digitsOf(board), BatchEnd::Refused, prompter.messages.back().text};
    case SearchEnd::NoSolution:
        return {digitsOf(board), BatchEnd::NoSolution, {}};
    default:
        return {digitsOf(board), BatchEnd::Solved, {}};
    }
}

Outcome viaBatch(const std::string& digits)
{
    Board board = boardFromLine(digits);
    const BatchResult result = SolveForBatch(board);
    return {digitsOf(board), result.end, result.refusal};
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
            << "000000070000000104000000000000000020000000000005040710908000002000030040520000000" << 0 << QString();
    }
    void countMatchesPlainBacktracking()
    {
        QFETCH(QString, digits);
        QFETCH(int, countToTwo);
        QFETCH(QString, first);
        const std::string line = digits.toStdString();
        for (const long long limit : {1LL, 2LL, 25LL}) {
            const SolutionCount fast = CountSolutions(boardFromLine(line).digits(), limit);
            const OracleSolutions plain = countToTwo < 0 ? oracleSolutions(line, limit)
                                                         : OracleSolutions{std::min<long long>(countToTwo, limit),
                                                                           first.toStdString()};
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
                QTest::addRow("broken %s %d", p.name.c_str(), which)
                    << QString::fromStdString(broken(digitsOf(boardFromLine(p.puzzle)), which)) << -1 << QString();
    }
    void batchMatchesSearch()
    {
        QFETCH(QString, digits);
        const Outcome expected = viaSearch(digits.toStdString());
        const Outcome outcome = viaBatch(digits.toStdString());
        QCOMPARE(outcome.digits, expected.digits);
        QCOMPARE(outcome.end, expected.end);
        QCOMPARE(outcome.refusal, expected.refusal);
    }

private:
    // The shared table's puzzles are too hard for plain backtracking to count: their rows carry
    // the count up to two and the first solution; the oracle answers for the others.
    static void addPuzzleRows()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("countToTwo");
        QTest::addColumn<QString>("first");
        for (const PuzzleCase& p : puzzleTable())
            QTest::newRow(p.name.c_str()) << QString::fromStdString(digitsOf(boardFromLine(p.puzzle))) << p.solutions
                                          << QString::fromStdString(p.solutions ? p.firstSolution : "");
        QTest::newRow("empty grid") << QString(81, '0') << -1 << QString();
        QTest::newRow("repeated given") << "55" + QString(79, '0') << -1 << QString();
        // Row 1 holds 1 to 8 and column 9 a 9: square 9 can take nothing.
        QTest::newRow("dead square") << "123456780" "000000009" + QString(63, '0') << -1 << QString();
        // Squares 1 and 2 can both take only the 9.
        QTest::newRow("two squares need one digit") << "001234567" "800000000" + QString(63, '0') << -1 << QString();
        // Three solutions; taking the square with the fewest digits first meets another one first.
        QTest::newRow("three solutions") << "103406789050789000009120056210365807300897004090200060030602908642078030908001040"
                                         << -1 << QString();
        for (std::uint64_t seed = 1; seed <= 12; ++seed) {
            const std::string puzzle = generatedPuzzle(seed);
            QTest::addRow("generated %d", int(seed)) << QString::fromStdString(puzzle) << -1 << QString();
            QTest::addRow("thinned %d", int(seed)) << QString::fromStdString(thinned(puzzle, int(2 + seed % 3))) << -1 << QString();
        }
    }
};

QTEST_APPLESS_MAIN(BatchSolveTest)
#include "test_batch_solve.moc"
