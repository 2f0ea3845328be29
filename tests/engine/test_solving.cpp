// The logic solver's rules, the gate, and the search solving, failing and cancelling.
#include "checking/completion.h"
#include "fakes.h"
#include "host/messages.h"
#include "solving/logic_solver.h"
#include "checking/dead_squares.h"
#include "solving/search.h"
#include "commands/solve_command.h"

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

    void hiddenSingleInColumnAndLargerDigitWins()
    {
        // Column 1 holds 1..7; an 8 and a 9 in row 8 leave square 73 the only place for both.
        Board board = boardFromLine(lineWith({{1, '1'}, {10, '2'}, {19, '3'}, {28, '4'}, {37, '5'},
                                              {46, '6'}, {55, '7'}, {66, '8'}, {67, '9'}})
                                        .toStdString());
        Candidates c;
        c.UpdateCandidates(board);
        QVERIFY(HiddenSinglesInColumns(board, c));
        QCOMPARE(int(board[73].Digit), 9); // 8 and 9 both only fit at 73: the larger stays
    }

    void logicSolve()
    {
        for (const PuzzleCase& p : puzzleTable()) {
            Board board = boardFromLine(p.puzzle);
            Candidates c;
            LogicSolve(board, c);
            if (p.name == "easy") {
                QCOMPARE(digitsOf(board), p.firstSolution);
                QCOMPARE(CheckCompletion(board), 0);
            }
            if (p.name == "hard") {
                QVERIFY(CheckCompletion(board) > 0);
                for (int s = 1; s <= 81; ++s)
                    if (board[s].Digit != 0 && p.puzzle[s - 1] == '.') {
                        QVERIFY(!board[s].Fixed);
                        QCOMPARE(char('0' + board[s].Digit), p.firstSolution[s - 1]);
                    }
            }
        }
        Board empty;
        Candidates c;
        LogicSolve(empty, c);
        QCOMPARE(digitsOf(empty), std::string(81, '0'));
    }

    void gate_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QList<int>>("yellow");
        QTest::newRow("solved") << QString::fromStdString(kFull) << "This puzzle is solved." << QList<int>{};
        QTest::newRow("repeat") << ".5....5.." + QString(72, '.') << "Please check entries." << QList<int>{2, 7};
        QTest::newRow("dead square") << ".12345678" "9........" + QString(63, '.') << "Please check logicality."
                                     << QList<int>{1};
    }
    void gate()
    {
        QFETCH(QString, line);
        Board board = boardFromLine(line.toStdString());
        Candidates c;
        RecordingPrompter prompter;
        RecordingWait wait;
        ScriptedEvents events;
        SearchHost host{prompter, wait, events};
        QCOMPARE(LastAttempt(board, c, host).end, SearchEnd::Refused);
        QCOMPARE(prompter.messages.size(), std::size_t(1));
        QFETCH(QString, refusal);
        QCOMPARE(QString::fromStdString(prompter.messages[0].text), refusal);
        QCOMPARE(prompter.messages[0].icon, Icon::Exclamation);
        QVERIFY(wait.shown.empty());
        QFETCH(QList<int>, yellow);
        for (int s = 1; s <= 81; ++s)
            QCOMPARE(board.background(s) == kYellow, yellow.contains(s));
        // Marks left by the refusal no longer count as new: the gate lets the search run.
        if (yellow.size() == 2) {
            ScriptedEvents stop(1);
            SearchHost again{prompter, wait, stop};
            QCOMPARE(LastAttempt(board, c, again).end, SearchEnd::Cancelled);
        }
    }

    void searchAgainstOracle()
    {
        for (const PuzzleCase& p : puzzleTable()) {
            Board board = boardFromLine(p.puzzle);
            Candidates c;
            RecordingPrompter prompter;
            RecordingWait wait;
            ScriptedEvents events;
            SearchHost host{prompter, wait, events};
            const SearchResult result = LastAttempt(board, c, host);
            const std::string expected = p.solutions == 0 ? digitsOf(boardFromLine(p.puzzle)) : p.firstSolution;
            QCOMPARE(digitsOf(board), expected);
            QCOMPARE(result.end, p.solutions == 0 ? SearchEnd::NoSolution : SearchEnd::Solved);
            QCOMPARE(oracleSolutions(digitsOf(boardFromLine(p.puzzle)), 1).first, p.solutions ? expected : "");
            QCOMPARE(wait.shown, std::vector<bool>{true});
            QCOMPARE(wait.open, 0);
            QCOMPARE(prompter.messages.back(), information(kFinishedMyWork));
        }
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

    void searchRunsOnStillYellowRepeat()
    {
        // Two 5s in row 1 already marked pass the gate; the search then runs on the repeat.
        Board board;
        board.SetSquare(1, 5, true, kYellow);
        board.SetSquare(2, 5, true, kYellow);
        compareWithPlainSearch(board, 3000);
    }

    void cancelKeepsPlacedDigits()
    {
        Board board;
        Candidates c;
        RecordingPrompter prompter;
        RecordingWait wait;
        ScriptedEvents events(12);
        SearchHost host{prompter, wait, events};
        const SearchResult result = LastAttempt(board, c, host);
        QCOMPARE(result.end, SearchEnd::Cancelled);
        QCOMPARE(result.trials, 12);
        // Row 1 fills with 1..9, then row 2 begins with 4, 5, 6 (the last one just tried).
        QCOMPARE(digitsOf(board).substr(0, 13), std::string("1234567894560"));
        QCOMPARE(wait.open, 0);
        QCOMPARE(prompter.messages.back().text, std::string(kFinishedMyWork));
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

    void persianQuestionBytes()
    {
        const Message q = lastAttemptQuestion();
        const QString text = QString::fromStdString(q.text);
        QCOMPARE(q.icon, Icon::Question);
        QCOMPARE(q.buttons, Buttons::YesNo);
        const QStringList parts = text.split("\r\n\r\n");
        QCOMPARE(parts.size(), 2);
        QCOMPARE(parts[0].size(), 62);
        QCOMPARE(parts[1].size(), 62);
        QVERIFY(!text.contains(QChar(0x06CC)));
        QCOMPARE(text.count(QChar(0x064A)), 12);
        QCOMPARE(QString::fromStdString(std::string(kTitle)), QString("Ka\u00A0Vr\u00A0In"));
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
