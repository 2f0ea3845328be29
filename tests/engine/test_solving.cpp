// The logic solver's rules, the gate, and the search solving, failing and cancelling.
#include "checking/completion.h"
#include "checking/dead_squares.h"
#include "commands/solve_command.h"
#include "fakes.h"
#include "host/messages.h"
#include "solving/logic_solver.h"
#include "solving/search.h"

using namespace kavrin;
using namespace kavrin::test;

namespace {
// A full valid grid, shifted rows.
const std::string kFull = "123456789456789123789123456214365897365897214897214365531642978642978531978531642";

std::string withHole(std::string line, int square)
{
    line[square - 1] = '.';
    return line;
}

// An otherwise empty grid with the given (square, digit) pairs.
QString lineWith(std::initializer_list<std::pair<int, char>> givens)
{
    QString line(81, '.');
    for (const auto& [square, digit] : givens)
        line[square - 1] = QChar(digit);
    return line;
}
// Every SetSquare call as the window would see it: square, digit, Fixed and background.
class StepLog final : public SquareObserver {
public:
    explicit StepLog(const Board& board) : board_(board) {}
    void squareChanged(int index) override
    {
        steps.push_back({index, board_[index].Digit, board_[index].Fixed, board_.background(index)});
    }
    struct Step {
        int square;
        int digit;
        bool fixed;
        Colour background;
        bool operator==(const Step&) const = default;
    };
    std::vector<Step> steps;

private:
    const Board& board_;
};

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
    void singles_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("rule"); // 0 rows, 1 columns, 2 blocks, 3 naked
        QTest::addColumn<int>("square");
        QTest::addColumn<int>("digit");
        // Row 1 lacks only its last digit: every rule can see it.
        QTest::newRow("naked single") << QString::fromStdString(withHole(kFull, 9)) << 3 << 9 << 9;
        QTest::newRow("hidden in row") << QString::fromStdString(withHole(kFull, 9)) << 0 << 9 << 9;
        // 5s in rows 2 and 3 (columns 7 and 4) and in column 2 leave square 1 alone for a 5 in
        // row 1 and in block 1, though square 1 itself could still take other digits.
        QTest::newRow("hidden in block")
            << lineWith({{16, '5'}, {22, '5'}, {38, '5'}, {66, '5'}}) << 2 << 1 << 5;
        // Column 1 holds 1..7; an 8 and a 9 in row 8 leave square 73 the only place for both,
        // and the larger digit stays.
        QTest::newRow("hidden in column, larger wins")
            << lineWith({{1, '1'}, {10, '2'}, {19, '3'}, {28, '4'}, {37, '5'}, {46, '6'}, {55, '7'}, {66, '8'}, {67, '9'}})
            << 1 << 73 << 9;
    }
    void singles()
    {
        QFETCH(QString, line);
        QFETCH(int, rule);
        Board board = boardFromLine(line.toStdString());
        Candidates c;
        c.UpdateCandidates(board);
        using Strategy = bool (*)(Board&, const Candidates&);
        const Strategy strategies[] = {HiddenSinglesInRows, HiddenSinglesInColumns,
                                       HiddenSinglesInBlocks, NakedSingles};
        QVERIFY(strategies[rule](board, c));
        QFETCH(int, square);
        QFETCH(int, digit);
        QCOMPARE(int(board[square].Digit), digit);
        QVERIFY(!board[square].Fixed);
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
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QList<int>>("yellow");
        QTest::addColumn<QString>("again"); // the second attempt's refusal; empty: it searches
        QTest::newRow("solved") << QString::fromStdString(kFull) << "This puzzle is solved." << QList<int>{}
                                << "This puzzle is solved.";
        QTest::newRow("repeat") << ".5....5.." + QString(72, '.') << "Please check entries." << QList<int>{2, 7}
                                << QString();
        QTest::newRow("dead square") << ".12345678" "9........" + QString(63, '.') << "Please check logicality."
                                     << QList<int>{1} << "Please check logicality.";
        // Square 10 is dead too, but the repeat is told first and the dead square left white.
        QTest::newRow("repeat before dead square") << ".5....5.." ".12346789" + QString(63, '.')
                                                   << "Please check entries." << QList<int>{2, 7}
                                                   << "Please check logicality.";
    }
    void gate()
    {
        QFETCH(QString, line);
        Board board = boardFromLine(line.toStdString());
        Candidates c;
        RecordingPrompter prompter;
        RecordingWait wait;
        ScriptedEvents events(1);
        SearchHost host{prompter, wait, events};
        QCOMPARE(LastAttempt(board, c, host).end, SearchEnd::Refused);
        QFETCH(QString, refusal);
        QCOMPARE(prompter.texts(), QStringList{refusal});
        QCOMPARE(prompter.messages[0].icon, Icon::Exclamation);
        QVERIFY(wait.shown.empty());
        QFETCH(QList<int>, yellow);
        for (int s = 1; s <= 81; ++s)
            QCOMPARE(board.background(s) == kYellow, yellow.contains(s));
        QFETCH(QString, again);
        QCOMPARE(LastAttempt(board, c, host).end, again.isEmpty() ? SearchEnd::Cancelled : SearchEnd::Refused);
        QCOMPARE(prompter.texts().at(1), again.isEmpty() ? "I finished my work." : again);
    }

    void searchMatchesPlainSearch_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<long long>("escAfter"); // the easier puzzles end before 20000
        for (const PuzzleCase& p : puzzleTable())
            for (const long long esc : {1LL, 2LL, 40LL, 333LL, 20000LL})
                QTest::addRow("%s, Esc after %lld", p.name.c_str(), esc) << QString::fromStdString(p.puzzle) << esc;
        QTest::newRow("empty grid, Esc late") << QString(81, '.') << 5000LL;
        // 8 and 9 in row 2 keep them out of the end of row 1, so once row 1 reaches square 7 its last
        // two squares die together, and the search backs up through row 1 many times.
        QTest::newRow("two dead at once") << "........." "......89." + QString(63, '.') << 2000LL;
    }
    void searchMatchesPlainSearch()
    {
        QFETCH(QString, line);
        QFETCH(long long, escAfter);
        compareWithPlainSearch(boardFromLine(line.toStdString()), escAfter);
    }

    void solveCommand_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<int>>("answers"); // 1 Yes, 0 No
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("complete");
        const QString question = QString::fromUtf8(lastAttemptQuestion().text);
        QTest::newRow("complete") << QString::fromStdString(kFull) << QList<int>{} << QStringList{"Puzzle solved."} << true;
        QTest::newRow("logic completes") << QString::fromStdString(puzzleTable()[0].puzzle) << QList<int>{}
                                         << QStringList{"Puzzle solved."} << true;
        QTest::newRow("yes searches") << QString(81, '.') << QList<int>{1}
                                      << QStringList{question, "I finished my work."} << true;
        QTest::newRow("no stops") << QString::fromStdString(puzzleTable()[1].puzzle) << QList<int>{0}
                                  << QStringList{question} << false;
        QString repeated = QString::fromStdString(kFull);
        std::swap(repeated[0], repeated[9]); // complete, but row 1 now holds two 4s
        QTest::newRow("full with repeat") << repeated << QList<int>{1}
                                          << QStringList{question, "Please check entries."} << false;
    }
    void solveCommand()
    {
        QFETCH(QString, line);
        QFETCH(QList<int>, answers);
        Board board = boardFromLine(line.toStdString());
        Candidates c;
        RecordingPrompter prompter;
        for (const int a : answers)
            prompter.answers.push_back(a ? Answer::Yes : Answer::No);
        RecordingWait wait;
        ScriptedEvents events;
        SearchHost host{prompter, wait, events};
        SolveCommand(board, c, host);
        QStringList texts;
        for (const Message& m : prompter.messages)
            texts << QString::fromStdString(m.text);
        QTEST(texts, "texts");
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
private:
    // The same gate, then the real search and the plain one from the same board: the same
    // SetSquare calls, trials and end, and the table left as the last count rebuilt it.
    static void compareWithPlainSearch(const Board& start, long long escAfter)
    {
        Board fast = start;
        Board plain = start;
        StepLog fastLog(fast);
        StepLog plainLog(plain);
        fast.setObserver(&fastLog);
        plain.setObserver(&plainLog);
        Candidates fastTable;
        Candidates plainTable;
        RecordingPrompter prompter;
        RecordingWait wait;
        QVERIFY(!CheckBeforeSearch(plain, plainTable, prompter));
        ScriptedEvents plainEvents(escAfter);
        const SearchResult expected = plainSearch(plain, plainTable, plainEvents);
        ScriptedEvents fastEvents(escAfter);
        SearchHost host{prompter, wait, fastEvents};
        const SearchResult result = LastAttempt(fast, fastTable, host);
        QCOMPARE(result.end, expected.end);
        QCOMPARE(result.trials, expected.trials);
        QCOMPARE(fastLog.steps.size(), plainLog.steps.size());
        QVERIFY(fastLog.steps == plainLog.steps);
        for (int s = 1; s <= 81; ++s)
            QCOMPARE(fastTable.digits(s), plainTable.digits(s));
    }
};

QTEST_APPLESS_MAIN(SolvingTest)
#include "test_solving.moc"
