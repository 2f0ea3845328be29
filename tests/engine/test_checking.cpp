// Completion report, entry marks and the Check Diagram report, byte for byte.
#include "checking/completion.h"
#include "checking/entries.h"
#include "commands/check_command.h"
#include "fakes.h"

using namespace kavrin;
using namespace kavrin::test;

namespace {
const std::string kFull = "123456789456789123789123456214365897365897214897214365531642978642978531978531642";

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
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("report");
        QTest::newRow("complete") << QString::fromStdString(kFull) << 0 << "\r\n\r\n\r\n";
        QString hole = QString::fromStdString(kFull);
        hole[0] = '.';
        QTest::newRow("top-left empty") << hole << 3
                                        << "\r\nError at square 1,1 for 1 times.\r\n\r\nError at row 1 for 1 times."
                                           "\r\n\r\nError at col 1 for 1 times.\r\n";
        QString centre = QString::fromStdString(kFull);
        centre[40] = centre[40] == '5' ? '6' : '5'; // a wrong digit in the middle block
        QTest::newRow("middle block named 2,2") << centre << 3
                                                << "\r\nError at square 2,2 for 1 times.\r\n\r\nError at row 5 for 1 times."
                                                   "\r\n\r\nError at col 5 for 1 times.\r\n";
        QString corner = QString::fromStdString(kFull);
        corner[72] = '.';
        corner[8] = '.';
        QTest::newRow("corners 3,1 and 1,3") << corner << 6
                                             << "\r\nError at square 1,3 for 1 times.\r\nError at square 3,1 for 1 times."
                                                "\r\n\r\nError at row 1 for 1 times.\r\nError at row 9 for 1 times."
                                                "\r\n\r\nError at col 1 for 1 times.\r\nError at col 9 for 1 times.\r\n";
        QTest::newRow("empty") << QString(81, '.') << 243 << QString::fromStdString(emptyBoardReport());
    }
    void completion()
    {
        QFETCH(QString, line);
        const Board board = boardFromLine(line.toStdString());
        std::string report;
        QFETCH(int, total);
        QCOMPARE(int(CheckCompletion(board, &report)), total);
        QCOMPARE(int(CheckCompletion(board)), total);
        QTEST(QString::fromStdString(report), "report");
    }

    void entries_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<int>>("yellow");
        QTest::newRow("empty") << QString(81, '.') << QList<int>{};
        QTest::newRow("two 5s in row 1") << ".5....5.." + QString(72, '.') << QList<int>{2, 7};
        // Three 7s in block 1 on different rows and columns.
        QTest::newRow("three in a block") << "7........" ".7......." "..7......" + QString(54, '.') << QList<int>{1, 11, 21};
        // Square 1 repeats in its row and its block: counted once.
        QTest::newRow("row and block") << "3.3......" "..." "......" "3........" + QString(54, '.') << QList<int>{1, 3, 19};
    }
    void entries()
    {
        QFETCH(QString, line);
        QFETCH(QList<int>, yellow);
        Board board = boardFromLine(line.toStdString());
        QCOMPARE(int(CheckEntries(board)), int(yellow.size()));
        for (int s = 1; s <= 81; ++s)
            QCOMPARE(board.background(s) == kYellow, yellow.contains(s));
        QCOMPARE(int(CheckEntries(board)), 0); // already yellow: not counted again
        ResetSquareColors(board);
        QCOMPARE(int(CheckEntries(board)), int(yellow.size()));
        QCOMPARE(digitsOf(board), digitsOf(boardFromLine(line.toStdString())));
    }

    void checkReport_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("head");
        QTest::newRow("complete") << QString::fromStdString(kFull)
                                  << "1- Entries matched.\r\n2- No logical error found.\r\n3- Puzzle solved.";
        QTest::newRow("empty") << QString(81, '.')
                               << "1- Entries matched.\r\n2- No logical error found.\r\n3- Correct this errors:\r\n" +
                                      QString::fromStdString(emptyBoardReport());
        QTest::newRow("one pair") << ".5....5.." + QString(72, '.') << "1- 2 errors found in entries!\r\n2- No logical error found.\r\n3- Correct this errors:\r\n\r\n";
        QTest::newRow("one dead square") << ".12345678" "9........" + QString(63, '.')
                                         << "1- Entries matched.\r\n2- 1 logical error found!\r\n3- Correct";
    }
    void checkReport()
    {
        QFETCH(QString, line);
        QFETCH(QString, head);
        Board board = boardFromLine(line.toStdString());
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
