// The generator: segment hold-back, complete valid grids, and the retry messages.
#include "checking/completion.h"
#include "fakes.h"
#include "commands/generate_command.h"
#include "generation/generator.h"
#include "host/messages.h"
#include "commands/game_commands.h"
#include "solving/logic_solver.h"

using namespace kavrin;
using namespace kavrin::test;

class GenerationTest : public QObject {
    Q_OBJECT
private slots:
    void segments()
    {
        Candidates c;
        Board board;
        c.UpdateCandidates(board);
        const SegmentTexts empty = SegmentCandidates(c, 1, 1);
        QCOMPARE(empty.s1, std::string("123456789"));
        QCOMPARE(empty.s2, std::string("123456789"));
        QCOMPARE(empty.s3, std::string("123456789"));

        // Row 1 columns 7..9 can only take 4 and 8: held back from the squares to their left.
        Board row;
        for (const auto& [square, digit] : {std::pair{1, 9}, {16, 1}, {17, 2}, {18, 3}, {25, 5}, {26, 6}, {27, 7}})
            row.SetSquare(square, digit, true, kWhite);
        c.UpdateCandidates(row);
        const SegmentTexts held = SegmentCandidates(c, 1, 2);
        QCOMPARE(SegmentCandidates(c, 1, 8).s3, std::string("48"));
        QCOMPARE(held.s1, std::string("123567"));
        QCOMPARE(SegmentCandidates(c, 1, 5).s2, std::string("123567"));
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
            QVERIFY(!oracleSolutions(puzzle, 1).first.empty());
        }
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
