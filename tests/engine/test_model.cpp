// SetSquare's stepping and flag rules, and the candidate table against hand-worked boards.
#include "commands/game_commands.h"
#include "fakes.h"
#include "host/host.h"
#include "model/board.h"
#include "model/candidates.h"
#include "model/colour.h"
#include "model/square.h"
#include "recording_prompter.h"

#include <QObject>
#include <QTest>

#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

class ModelTest : public QObject {
    Q_OBJECT
private slots:
    // Stepping wraps through empty at both ends; the solver's steps stay unfixed.
    void stepping()
    {
        const struct {
            int before;
            Step step;
            bool fixed;
            int after;
            bool afterFixed;
        } cases[] = {{0, Step::Up, true, 1, true}, {9, Step::Up, true, 0, false}, {0, Step::Down, true, 9, true},
                     {1, Step::Down, true, 0, false}, {4, Step::Up, false, 5, false}};
        for (const auto& [before, step, fixed, after, afterFixed] : cases) {
            Board board;
            board.SetSquare(40, before, true, kWhite);
            board.SetSquare(40, step, fixed, kWhite);
            QCOMPARE(int(board[40].Digit), after);
            QCOMPARE(board[40].Fixed, afterFixed);
        }
    }

    void zeroAlwaysClearsFixedAndEveryCallNotifies()
    {
        Board board;
        StepLog log(board);
        board.setObserver(&log);
        board.SetSquare(7, 5, true, kWhite);
        board.SetSquare(7, 0, true, kYellow);
        board.SetSquare(7, 3, false, kWhite);
        QCOMPARE(board.digitColour(7), kSolverDigitColour);
        board.SetSquare(7, 3, true, kWhite);
        QCOMPARE(board.digitColour(7), kFixedDigitColour);
        QVERIFY(log.steps == (std::vector<StepLog::Step>{
                                 {7, 5, true, kWhite}, {7, 0, false, kYellow}, {7, 3, false, kWhite}, {7, 3, true, kWhite}}));
    }

    void candidates()
    {
        Candidates c;
        Board board;
        c.UpdateCandidates(board);
        for (int s = 1; s <= 81; ++s)
            for (int d = 1; d <= 9; ++d)
                QCOMPARE(int(c(s, d)), d);

        board.SetSquare(41, 5, true, kWhite); // row 5, column 5, block 5
        c.UpdateCandidates(board);
        int withoutFive = 0;
        for (int s = 1; s <= 81; ++s) {
            const auto [row, col] = SquareRowCol(s);
            const bool peer = row == 5 || col == 5 || (row >= 4 && row <= 6 && col >= 4 && col <= 6);
            QCOMPARE(c(s, 5) == 0, peer);
            withoutFive += c(s, 5) == 0;
            for (int d = 1; d <= 9; ++d)
                if (d != 5)
                    QCOMPARE(c(s, d) == 0, s == 41);
        }
        QCOMPARE(withoutFive, 21);

        // Square 1 sees 1..8 in its row and 9 in its column: nothing is left.
        Board dead = boardFromLine("." "12345678" "9........" + std::string(63, '.'));
        c.UpdateCandidates(dead);
        QVERIFY(!c.hasAny(1));
        QVERIFY(c.hasAny(11));
    }

    void newAndClear()
    {
        Board board = boardFromLine("12......." + std::string(72, '.'));
        board.SetSquare(3, 3, false, kWhite);
        board.SetSquare(4, 0, false, kYellow);
        board.SetSquare(2, 2, true, kYellow);
        ClearBlueNumbers(board);
        QCOMPARE(digitsOf(board).substr(0, 4), std::string("1200"));
        QCOMPARE(board.background(4), kWhite);
        QCOMPARE(board.background(2), kYellow); // fixed squares are left alone

        RecordingPrompter prompter;
        prompter.answers = {Answer::No, Answer::Yes};
        NewGame(board, prompter);
        QCOMPARE(board[1].Digit, 1);
        NewGame(board, prompter);
        QCOMPARE(digitsOf(board), std::string(81, '0'));
        QCOMPARE(board.background(2), kWhite);
        QCOMPARE(prompter.messages.at(0).text, std::string("Manual entries will be lost.\r\nAre you sure?"));
        QCOMPARE(prompter.messages.at(0).icon, Icon::Exclamation);
        QCOMPARE(prompter.messages.at(0).buttons, Buttons::YesNo);
    }
};

QTEST_APPLESS_MAIN(ModelTest)
#include "test_model.moc"
