// The logic solver's rules, the gate, and the search solving, failing and cancelling.
#include "checking/completion.h"
#include "checking/dead_squares.h"
#include "commands/solve_command.h"
#include "fakes.h"
#include "host/host.h"
#include "host/messages.h"
#include "model/board.h"
#include "model/candidates.h"
#include "model/colour.h"
#include "recording_prompter.h"
#include "solving/logic_solver.h"
#include "solving/search.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTest>

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

namespace {
const std::string kEmpty(81, '.');

// The search done the plain way, rebuilding the whole table and scanning every square after
// each trial digit; the real one must make exactly the same calls.
SearchResult plainSearch(Board& board, Candidates& c, EventPump& events)
{
    std::array<int, 82> squares{};
    std::array<DigitMask, 82> untried{};
    int depth = 0;
    long long trials = 0;
    while (true) {
        int s = 1;
        while (s <= 81 && !c.hasAny(s))
            ++s;
        if (s > 81)
            return {SearchEnd::Solved, trials};
        squares[++depth] = s;
        untried[depth] = c.digits(s);
        while (true) {
            const int t = std::countr_zero(untried[depth]);
            board.SetSquare(squares[depth], t, false, kWhite);
            ++trials;
            if (events.processEventsOnce())
                return {SearchEnd::Cancelled, trials};
            untried[depth] &= static_cast<DigitMask>(~(1u << t));
            if (CountLogicalErrors(board, c) < 1)
                break;
            for (; untried[depth] == 0; --depth) {
                board.SetSquare(squares[depth], 0, false, kWhite);
                if (depth == 1)
                    return {SearchEnd::NoSolution, trials};
            }
        }
    }
}
} // namespace

class SolvingTest : public QObject {
    Q_OBJECT
private slots:
    // Each rule alone fills its square, unfixed.
    void singles()
    {
        const struct {
            bool (*rule)(Board&, const Candidates&);
            std::string line;
            int square, digit;
        } cases[] = {
            // Row 1 lacks only its last digit: every rule can see it.
            {NakedSingles, lineWith(kFull, {{9, '.'}}), 9, 9},
            {HiddenSinglesInRows, lineWith(kFull, {{9, '.'}}), 9, 9},
            // 5s in rows 2 and 3 (columns 7 and 4) and in column 2 leave square 1 alone for a 5 in
            // row 1 and in block 1, though square 1 itself could still take other digits.
            {HiddenSinglesInBlocks, lineWith(kEmpty, {{16, '5'}, {22, '5'}, {38, '5'}, {66, '5'}}), 1, 5},
            // Column 1 holds 1..7; an 8 and a 9 in row 8, outside block 7, leave square 73 the only
            // place for both, and the larger digit stays.
            {HiddenSinglesInColumns,
             lineWith(kEmpty, {{1, '1'}, {10, '2'}, {19, '3'}, {28, '4'}, {37, '5'}, {46, '6'}, {55, '7'}, {70, '8'}, {71, '9'}}),
             73, 9},
        };
        for (const auto& [rule, line, square, digit] : cases) {
            Board board = boardFromLine(line);
            Candidates c;
            c.UpdateCandidates(board);
            QVERIFY(rule(board, c));
            QCOMPARE(int(board[square].Digit), digit);
            QVERIFY(!board[square].Fixed);
        }
    }

    // One round on the easy puzzle: hidden singles by rows, then by columns, then by blocks,
    // then naked singles, each on a table rebuilt for it, units in order and digits rising.
    void strategyOrder()
    {
        Board board = boardFromLine(puzzleTable()[0].puzzle);
        StepLog log(board);
        board.setObserver(&log);
        Candidates c;
        LogicSolve(board, c);
        std::string firstRound;
        for (std::size_t i = 0; i < 26; ++i)
            firstRound += std::to_string(log.steps[i].square) + ":" + std::to_string(log.steps[i].digit) + " ";
        QCOMPARE(firstRound, std::string("25:5 39:6 43:7 48:3 52:8 70:6 65:8 "  // rows
                                         "55:9 11:7 23:4 6:8 8:1 "              // columns
                                         "19:1 22:3 4:6 27:7 18:8 7:9 30:9 79:1 " // blocks
                                         "24:2 34:4 41:5 60:7 63:4 71:3 "));    // naked
        QCOMPARE(digitsOf(board), puzzleTable()[0].firstSolution);
        // A puzzle that needs guessing keeps what the singles gave; an empty grid gets nothing.
        Board hard = boardFromLine(puzzleTable()[1].puzzle);
        LogicSolve(hard, c);
        QVERIFY(CheckCompletion(hard) > 0);
        for (int s = 1; s <= 81; ++s)
            QVERIFY(hard[s].Digit == 0 || hard[s].Digit == puzzleTable()[1].firstSolution[s - 1] - '0');
        Board empty;
        LogicSolve(empty, c);
        QCOMPARE(digitsOf(empty), std::string(81, '0'));
    }

    // The gate's tests in their order, and the marks they leave: a second attempt does not
    // count the marks again, so a grid refused for its repeats alone is searched.
    void gate_data()
    {
        QTest::addColumn<std::string>("line");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QList<int>>("yellow");
        QTest::addColumn<QString>("again"); // the second attempt's refusal; empty: it searches
        const std::string repeat = ".5....5..";
        QTest::newRow("solved") << kFull << "This puzzle is solved." << QList<int>{} << "This puzzle is solved.";
        QTest::newRow("repeat") << repeat + kEmpty.substr(9) << "Please check entries." << QList<int>{2, 7} << QString();
        QTest::newRow("dead square") << ".123456789" + kEmpty.substr(10) << "Please check logicality." << QList<int>{1}
                                     << "Please check logicality.";
        // Square 10 is dead too, but the repeat is told first and the dead square left white.
        QTest::newRow("repeat before dead square") << repeat + ".12346789" + kEmpty.substr(18) << "Please check entries."
                                                   << QList<int>{2, 7} << "Please check logicality.";
    }
    void gate()
    {
        QFETCH(std::string, line);
        Board board = boardFromLine(line);
        Candidates c;
        FakeHost fake(1);
        QCOMPARE(LastAttempt(board, c, fake.host).end, SearchEnd::Refused);
        QFETCH(QString, refusal);
        QCOMPARE(fake.prompter.texts(), QStringList{refusal});
        QCOMPARE(fake.prompter.messages[0].icon, Icon::Exclamation);
        QVERIFY(fake.wait.shown.empty());
        QFETCH(QList<int>, yellow);
        for (int s = 1; s <= 81; ++s)
            QCOMPARE(board.background(s) == kYellow, yellow.contains(s));
        QFETCH(QString, again);
        QCOMPARE(LastAttempt(board, c, fake.host).end, again.isEmpty() ? SearchEnd::Cancelled : SearchEnd::Refused);
        QCOMPARE(fake.prompter.texts().at(1), again.isEmpty() ? "I finished my work." : again);
    }

    void searchMatchesPlainSearch_data()
    {
        QTest::addColumn<std::string>("line");
        QTest::addColumn<long long>("escAfter"); // the easier puzzles end before 20000
        for (const PuzzleCase& p : puzzleTable()) {
            Board board = boardFromLine(p.puzzle);
            Candidates c;
            RecordingPrompter prompter;
            if (CheckBeforeSearch(board, c, prompter))
                continue; // a grid the gate refuses is never searched
            for (const long long esc : {1LL, 2LL, 40LL, 333LL, 20000LL})
                QTest::addRow("%s, Esc after %lld", p.name.c_str(), esc) << p.puzzle << esc;
        }
        QTest::newRow("empty grid, Esc late") << kEmpty << 5000LL;
        // 8 and 9 in row 2 keep them out of the end of row 1, so once row 1 reaches square 7 its last
        // two squares die together, and the search backs up through row 1 many times.
        QTest::newRow("two dead at once") << lineWith(kEmpty, {{16, '8'}, {17, '9'}}) << 2000LL;
    }
    // The same gate, then the real search and the plain one from the same board: the same
    // SetSquare calls, trials and end, and the table left as the last count rebuilt it.
    void searchMatchesPlainSearch()
    {
        QFETCH(std::string, line);
        QFETCH(long long, escAfter);
        Board fast = boardFromLine(line), plain = fast;
        StepLog fastLog(fast), plainLog(plain);
        fast.setObserver(&fastLog);
        plain.setObserver(&plainLog);
        Candidates fastTable, plainTable;
        FakeHost fake(escAfter);
        QVERIFY(!CheckBeforeSearch(plain, plainTable, fake.prompter));
        ScriptedEvents plainEvents(escAfter);
        const SearchResult expected = plainSearch(plain, plainTable, plainEvents);
        const SearchResult result = LastAttempt(fast, fastTable, fake.host);
        QCOMPARE(result.end, expected.end);
        QCOMPARE(result.trials, expected.trials);
        QCOMPARE(fastLog.steps.size(), plainLog.steps.size());
        QVERIFY(fastLog.steps == plainLog.steps);
        for (int s = 1; s <= 81; ++s)
            QCOMPARE(fastTable.digits(s), plainTable.digits(s));
    }

    void solveCommand_data()
    {
        QTest::addColumn<std::string>("line");
        QTest::addColumn<QList<int>>("answers"); // 1 Yes, 0 No
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("complete");
        const QString question = QString::fromUtf8(lastAttemptQuestion().text);
        QTest::newRow("complete") << kFull << QList<int>{} << QStringList{"Puzzle solved."} << true;
        QTest::newRow("logic completes") << puzzleTable()[0].puzzle << QList<int>{} << QStringList{"Puzzle solved."} << true;
        QTest::newRow("yes searches") << kEmpty << QList<int>{1} << QStringList{question, "I finished my work."} << true;
        QTest::newRow("no stops") << puzzleTable()[1].puzzle << QList<int>{0} << QStringList{question} << false;
        // Complete, but row 1 now holds two 4s.
        QTest::newRow("full with repeat") << lineWith(kFull, {{1, '4'}, {10, '1'}}) << QList<int>{1}
                                          << QStringList{question, "Please check entries."} << false;
    }
    void solveCommand()
    {
        QFETCH(std::string, line);
        QFETCH(QList<int>, answers);
        Board board = boardFromLine(line);
        Candidates c;
        FakeHost fake;
        for (const int a : answers)
            fake.prompter.answers.push_back(a ? Answer::Yes : Answer::No);
        SolveCommand(board, c, fake.host);
        QTEST(fake.prompter.texts(), "texts");
        QTEST(CheckCompletion(board) == 0, "complete");
    }

    // The question exactly as the program asks it, code point by code point: the Arabic yeh
    // (U+064A), never the Persian one (U+06CC), and two line breaks between its sentences.
    void persianQuestion()
    {
        const std::u16string expected =
            u"\u0627\u064A\u0646 \u067E\u0627\u0632\u0644 \u0628\u0627 \u0627\u0644\u06AF\u0648\u0631\u064A\u062A\u0645 "
            u"\u0647\u0627\u064A \u0633\u0627\u062F\u0647 \u064A \u0627\u064A\u0646 \u0646\u0631\u0645 "
            u"\u0627\u0641\u0632\u0627\u0631 \u0642\u0627\u0628\u0644 \u062D\u0644 \u0646\u0645\u064A "
            u"\u0628\u0627\u0634\u062F\r\n\r\n"
            u"\u0622\u064A\u0627 \u0645\u0627\u064A\u0644\u064A\u062F \u0628\u0631\u0646\u0627\u0645\u0647 "
            u"\u0622\u062E\u0631\u064A\u0646 \u062A\u0644\u0627\u0634 \u062E\u0648\u062F \u0631\u0627 "
            u"\u0628\u0631\u0627\u064A \u062D\u0644 \u0627\u064A\u0646 \u067E\u0627\u0632\u0644 "
            u"\u0627\u0646\u062C\u0627\u0645 \u062F\u0647\u062F";
        const Message q = lastAttemptQuestion();
        QCOMPARE(QString::fromStdString(q.text), QString::fromStdU16String(expected));
        QCOMPARE(q.icon, Icon::Question);
        QCOMPARE(q.buttons, Buttons::YesNo);
    }
};

QTEST_APPLESS_MAIN(SolvingTest)
#include "test_solving.moc"
