// Completion report, entry marks and the Check Diagram report, byte for byte.
#include "checking/completion.h"
#include "checking/entries.h"
#include "commands/check_command.h"
#include "fakes.h"
#include "host/host.h"
#include "model/board.h"
#include "model/candidates.h"
#include "model/colour.h"
#include "recording_prompter.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTest>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

namespace {
std::string emptyBoardReport()
{
    std::string r;
    for (int b = 1; b <= 9; ++b)
        r += "\r\nError at square " + std::to_string((b - 1) / 3 + 1) + "," + std::to_string((b - 1) % 3 + 1) + " for 9 times.";
    r += "\r\n";
    for (int i = 1; i <= 9; ++i)
        r += "\r\nError at row " + std::to_string(i) + " for 9 times.";
    r += "\r\n";
    for (int i = 1; i <= 9; ++i)
        r += "\r\nError at col " + std::to_string(i) + " for 9 times.";
    return r + "\r\n";
}
} // namespace

class CheckingTest : public QObject {
    Q_OBJECT
private slots:
    void completion_data()
    {
        QTest::addColumn<std::string>("line");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("report");
        QTest::newRow("complete") << kFull << 0 << "\r\n\r\n\r\n";
        QTest::newRow("top-left empty") << lineWith(kFull, {{1, '.'}}) << 3
                                        << "\r\nError at square 1,1 for 1 times.\r\n\r\nError at row 1 for 1 times."
                                           "\r\n\r\nError at col 1 for 1 times.\r\n";
        QTest::newRow("middle block named 2,2") << lineWith(kFull, {{41, '5'}}) << 3 // a wrong digit
                                                << "\r\nError at square 2,2 for 1 times.\r\n\r\nError at row 5 for 1 times."
                                                   "\r\n\r\nError at col 5 for 1 times.\r\n";
        QTest::newRow("corners 3,1 and 1,3") << lineWith(kFull, {{73, '.'}, {9, '.'}}) << 6
                                             << "\r\nError at square 1,3 for 1 times.\r\nError at square 3,1 for 1 times."
                                                "\r\n\r\nError at row 1 for 1 times.\r\nError at row 9 for 1 times."
                                                "\r\n\r\nError at col 1 for 1 times.\r\nError at col 9 for 1 times.\r\n";
        QTest::newRow("empty") << std::string(81, '.') << 243 << QString::fromStdString(emptyBoardReport());
    }
    void completion()
    {
        QFETCH(std::string, line);
        const Board board = boardFromLine(line);
        std::string report;
        QFETCH(int, total);
        QCOMPARE(int(CheckCompletion(board, &report)), total);
        QCOMPARE(int(CheckCompletion(board)), total);
        QTEST(QString::fromStdString(report), "report");
    }

    void entries_data()
    {
        QTest::addColumn<std::string>("line");
        QTest::addColumn<QList<int>>("yellow");
        const std::string empty(81, '.');
        QTest::newRow("empty") << empty << QList<int>{};
        QTest::newRow("two 5s in row 1") << lineWith(empty, {{2, '5'}, {7, '5'}}) << QList<int>{2, 7};
        // Three 7s in block 1 on different rows and columns.
        QTest::newRow("three in a block") << lineWith(empty, {{1, '7'}, {11, '7'}, {21, '7'}}) << QList<int>{1, 11, 21};
        // Square 1 repeats in its row and its block: counted once.
        QTest::newRow("row and block") << lineWith(empty, {{1, '3'}, {3, '3'}, {19, '3'}}) << QList<int>{1, 3, 19};
    }
    void entries()
    {
        QFETCH(std::string, line);
        QFETCH(QList<int>, yellow);
        Board board = boardFromLine(line);
        QCOMPARE(int(CheckEntries(board)), int(yellow.size()));
        for (int s = 1; s <= 81; ++s)
            QCOMPARE(board.background(s) == kYellow, yellow.contains(s));
        QCOMPARE(int(CheckEntries(board)), 0); // already yellow: not counted again
        ResetSquareColors(board);
        QCOMPARE(int(CheckEntries(board)), int(yellow.size()));
        QCOMPARE(digitsOf(board), digitsOf(boardFromLine(line)));
    }

    void checkReport_data()
    {
        QTest::addColumn<std::string>("line");
        QTest::addColumn<QString>("head");
        const std::string empty(81, '.');
        QTest::newRow("complete") << kFull
                                  << "1- Entries matched.\r\n2- No logical error found.\r\n3- Puzzle solved.";
        QTest::newRow("empty") << empty
                               << "1- Entries matched.\r\n2- No logical error found.\r\n3- Correct this errors:\r\n" +
                                      QString::fromStdString(emptyBoardReport());
        QTest::newRow("one pair") << lineWith(empty, {{2, '5'}, {7, '5'}}) << "1- 2 errors found in entries!\r\n2- No logical error found.\r\n3- Correct this errors:\r\n\r\n";
        QTest::newRow("one dead square") << ".123456789" + std::string(71, '.')
                                         << "1- Entries matched.\r\n2- 1 logical error found!\r\n3- Correct";
    }
    void checkReport()
    {
        QFETCH(std::string, line);
        QFETCH(QString, head);
        Board board = boardFromLine(line);
        board.SetSquare(81, board[81].Digit, board[81].Fixed, kYellow); // left over from before
        Candidates c;
        RecordingPrompter prompter;
        CheckCommand(board, c, prompter);
        CheckCommand(board, c, prompter);
        QCOMPARE(prompter.messages.size(), std::size_t(2));
        QCOMPARE(prompter.messages[0], prompter.messages[1]);
        QCOMPARE(prompter.messages[0].icon, Icon::Information);
        QVERIFY2(QString::fromStdString(prompter.messages[0].text).startsWith(head),
                 prompter.messages[0].text.c_str());
    }
};

QTEST_APPLESS_MAIN(CheckingTest)
#include "test_checking.moc"
