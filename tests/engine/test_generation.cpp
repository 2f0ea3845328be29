// The generator: segment hold-back, complete valid grids, and the retry messages.
#include "checking/completion.h"
#include "commands/game_commands.h"
#include "commands/generate_command.h"
#include "fakes.h"
#include "generation/generator.h"
#include "generation/uniform_source.h"
#include "host/messages.h"
#include "model/board.h"
#include "model/candidates.h"
#include "model/colour.h"
#include "recording_prompter.h"

#include <QObject>
#include <QString>
#include <QTest>

#include <cstdint>
#include <string>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

class GenerationTest : public QObject {
    Q_OBJECT
private slots:
    // Row 1 ends in a 9; blocks 2 and 3 hold what the rows below give them. Each row: the texts
    // of segments 1, 2 and 3 as seen from a square of segment 1 (row 1, column 2).
    void segments_data()
    {
        QTest::addColumn<QString>("below"); // rows 2 and 3
        QTest::addColumn<QString>("texts");
        QTest::newRow("nothing held") << QString(18, '.') << "12345678 12345678 12345678";
        // Segment 3 takes 4 and 8 alone: both held back from segments 1 and 2.
        QTest::newRow("two held") << "......123" "......567" << "123567 123567 48";
        // Three digits are still held back, four are not.
        QTest::newRow("three held") << "......123" "......56." << "12356 12356 478";
        QTest::newRow("four not") << "......123" "......5.." << "12345678 12345678 4678";
        // Segment 3 narrows segment 2 to three digits first, and then segment 2 holds them
        // back from segment 1 too.
        QTest::newRow("in turn") << "...567123" "......567" << "567 123 48";
    }
    void segments()
    {
        QFETCH(QString, below);
        Board board = boardFromLine(("........9" + below + QString(54, '.')).toStdString());
        Candidates c;
        c.UpdateCandidates(board);
        const SegmentTexts t = SegmentCandidates(c, 1, 2);
        QTEST(QString::fromStdString(t.s1 + " " + t.s2 + " " + t.s3), "texts");
    }

    void generatedGrids()
    {
        for (std::uint64_t seed = 1; seed <= 40; ++seed) {
            SeededUniform random(seed);
            Board board;
            Candidates c;
            GeneratePuzzle(board, c, random);
            QCOMPARE(CheckCompletion(board), 0);
            const std::string solution = digitsOf(board);
            ClearBlueNumbers(board);
            const std::string puzzle = digitsOf(board);
            for (int s = 1; s <= 81; ++s)
                QVERIFY(puzzle[s - 1] == '0' || puzzle[s - 1] == solution[s - 1]);
        }
    }

    // The random sequence decides everything: this seed gives this grid, these drawn digits and
    // one failed attempt.
    void pinnedToItsSequence()
    {
        SeededUniform random(20261207);
        Board board;
        Candidates c;
        QCOMPARE(GeneratePuzzle(board, c, random), 1);
        QCOMPARE(digitsOf(board),
                 std::string("726835941853194627419762835675381294281549376934276158562917483347628519198453762"));
        std::string drawn;
        for (int s = 1; s <= 81; ++s)
            drawn += board[s].Fixed ? 'F' : '.';
        QCOMPARE(drawn, std::string("FFFFFFFF.FFFFF.FF.FF.FF.FF.FFFFFFF..FFFF..F..F..F..F..FFFF.....F................."));
    }

    void attemptCountsAndMessages()
    {
        // The same seed gives the same attempts: the count equals the failed attempts replayed.
        SeededUniform first(3), replay(3);
        Board a, b;
        Candidates c;
        const int failed = GeneratePuzzle(a, c, first);
        int replayed = 0;
        while (!GenerationAttempt(b, c, replay))
            ++replayed;
        QCOMPARE(replayed, failed);
        QCOMPARE(digitsOf(a), digitsOf(b));

        RecordingPrompter prompter;
        RecordingWait wait;
        SeededUniform random(3);
        GenerateCommand(a, c, random, wait, prompter);
        QCOMPARE(wait.shown, std::vector<bool>{false});
        QCOMPARE(wait.open, 0);
        QCOMPARE(prompter.messages.at(0), generateResultMessage(failed));
        QCOMPARE(generateResultMessage(0), information("Ready."));
        QCOMPARE(generateResultMessage(1), exclamation("1 Retry!"));
        QCOMPARE(generateResultMessage(3), exclamation("3 Retries!"));
    }
};

QTEST_APPLESS_MAIN(GenerationTest)
#include "test_generation.moc"
