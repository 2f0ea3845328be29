// Forcing: each finder on hand-made or stalled marks with exactly the conclusion expected, and
// on puzzles the ladder stalls on, every forcing step true to the solution until the puzzle is
// done.
#include "fakes.h"
#include "grading/finding.h"
#include "grading/forcing.h"
#include "grading/pencilmarks.h"
#include "grading/techniques.h"
#include "model/candidates.h"
#include "model/colour.h"
#include "model/square.h"
#include "recording_prompter.h"
#include "solving/fast_solver.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTest>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

namespace {

Grid gridOf(std::string_view line)
{
    Grid grid{};
    for (std::size_t i = 0; i < grid.size(); ++i)
        grid[i] = line[i] >= '1' && line[i] <= '9' ? static_cast<std::uint8_t>(line[i] - '0') : 0;
    return grid;
}

// Runs the basic ladder until it finds nothing more.
void stall(Pencilmarks& marks)
{
    for (;;) {
        std::optional<Deduction> step;
        for (int rung = 0; rung < kTechniqueCount && !step; ++rung)
            step = findStep(static_cast<Technique>(rung), marks);
        if (!step)
            return;
        apply(*step, marks);
    }
}

void apply(const Finding& finding, Pencilmarks& marks)
{
    for (const Candidate placed : finding.placements)
        marks.place(placed.square, placed.digit);
    for (const Candidate removed : finding.removals)
        marks.candidates[removed.square] &= static_cast<DigitMask>(~(1u << removed.digit));
}

struct Marks {
    std::vector<int> squares;
    std::string_view digits; // what those squares may take
};

struct ForcingCase {
    const char* name;
    ForcingFinder finder;
    std::vector<Marks> setUp; // on an empty grid, where every square takes every digit
    std::vector<Candidate> placements;
    std::vector<Candidate> removals;
    std::string_view text = {}; // checked when given
};

Candidate at(int square, int digit)
{
    return {static_cast<std::uint8_t>(square), static_cast<std::uint8_t>(digit)};
}

std::vector<ForcingCase> forcingCases()
{
    return {
        // 1 in r1c1 leaves r1c2 and r1c3 both 3.
        {"contradiction", findContradictionForcingChain,
         {{{sq(1, 1)}, "12"}, {{sq(1, 2), sq(1, 3)}, "13"}},
         {},
         {at(sq(1, 1), 1)},
         "if r1c1 were 1: r1c2≠1 → r1c2=3 and r1c3≠1 → r1c3=3, then r1c3 is 3 and not 3, so 1 from r1c1"},
        // Either digit of r1c1 puts a 5 where r5c5 sees it.
        {"cell", findCellForcingChain,
         {{{sq(1, 1)}, "12"}, {{sq(1, 5)}, "15"}, {{sq(5, 1)}, "25"}},
         {},
         {at(sq(5, 5), 5)},
         "r1c1 is 1 or 2: 1 leads to r1c5≠1 → r1c5=5 → r5c5≠5; 2 leads to r5c1≠2 → r5c1=5 → r5c5≠5; "
         "either way 5 from r5c5"},
        // 7 in row 1 only at c2 and c5; in row 4 only at c2 and c6.
        {"house", findHouseForcingChain,
         {{{sq(1, 1), sq(1, 3), sq(1, 4), sq(1, 6), sq(1, 7), sq(1, 8), sq(1, 9)}, "12345689"},
          {{sq(4, 1), sq(4, 3), sq(4, 4), sq(4, 5), sq(4, 7), sq(4, 8), sq(4, 9)}, "12345689"}},
         {},
         {at(sq(2, 6), 7), at(sq(3, 6), 7), at(sq(5, 5), 7), at(sq(6, 5), 7)}},
    };
}

// Positions where the basic ladder and every cheaper forcing stall: the puzzle, the finder
// expected to be the first to move, and what it concludes.
struct StalledCase {
    const char* puzzle;
    ForcingFinder finder;
    std::vector<Candidate> placements;
    std::vector<Candidate> removals;
};

std::vector<StalledCase> stalledCases()
{
    return {
        {"38.6.......9.......2..3.51......5....3..1..6....4......17.5..8.......9.......7.32", findDynamicForcingChain,
         {}, {at(sq(8, 1), 4)}},
        {"8..........36......7..9.2...5...7.......457.....1...3...1....68..85...1..9....4..", findForcingNet,
         {}, {at(sq(1, 4), 3)}},
        {"12.3....435....1....4........54..2..6...7.........8.9...31..5.......9.7.....6...8", findNestedForcingChain,
         {}, {at(sq(1, 5), 5)}},
    };
}

// The same puzzle with its digits relabelled, its rows and columns shuffled within their bands
// and stacks, and perhaps turned over its diagonal: as hard, with another solution.
std::string shuffled(std::string_view puzzle, std::mt19937_64& random)
{
    std::array<char, 10> digits{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
    std::shuffle(digits.begin() + 1, digits.end(), random);
    std::array<int, 9> rows{}, columns{};
    for (auto* order : {&rows, &columns}) {
        std::array<int, 3> bands{0, 1, 2};
        std::shuffle(bands.begin(), bands.end(), random);
        for (int b = 0; b < 3; ++b) {
            std::array<int, 3> lines{0, 1, 2};
            std::shuffle(lines.begin(), lines.end(), random);
            for (int k = 0; k < 3; ++k)
                (*order)[static_cast<std::size_t>(b) * 3 + static_cast<std::size_t>(k)] = bands[static_cast<std::size_t>(b)] * 3 + lines[static_cast<std::size_t>(k)];
        }
    }
    const bool turned = random() % 2 == 1;
    std::string out(81, '0');
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c) {
            const int from = rows[static_cast<std::size_t>(r)] * 9 + columns[static_cast<std::size_t>(c)];
            const char given = puzzle[static_cast<std::size_t>(from)];
            out[static_cast<std::size_t>(turned ? c * 9 + r : r * 9 + c)] =
                given >= '1' && given <= '9' ? digits[static_cast<std::size_t>(given - '0')] : '0';
        }
    return out;
}

} // namespace

class ForcingTest : public QObject {
    Q_OBJECT
private slots:
    void eachFinder()
    {
        for (const ForcingCase& c : forcingCases()) {
            Pencilmarks marks(Grid{});
            for (const Marks& m : c.setUp)
                for (const int s : m.squares)
                    marks.candidates[static_cast<std::size_t>(s)] = maskOf(m.digits);
            const std::optional<Finding> found = c.finder(marks);
            QVERIFY2(found, c.name);
            QVERIFY2(found->placements == c.placements, c.name);
            QVERIFY2(found->removals == c.removals, qPrintable(QString::fromStdString(c.name + (": " + found->text))));
            if (!c.text.empty())
                QCOMPARE(QString::fromStdString(found->text), QString::fromUtf8(c.text.data(), qsizetype(c.text.size())));
        }
    }

    void stalledPositions()
    {
        for (const StalledCase& c : stalledCases()) {
            Pencilmarks marks(gridOf(c.puzzle));
            stall(marks);
            std::optional<Finding> found;
            for (const ForcingFinder finder : kForcingFinders) {
                found = finder(marks);
                if (found) {
                    QVERIFY2(finder == c.finder, c.puzzle);
                    break;
                }
            }
            QVERIFY2(found, c.puzzle);
            const Grid solution = CountSolutions(gridOf(c.puzzle), 1).first;
            for (const Candidate removed : found->removals)
                QVERIFY(solution[removed.square] != removed.digit);
            QVERIFY2(found->placements == c.placements, qPrintable(QString::fromStdString(found->text)));
            QVERIFY2(found->removals == c.removals, qPrintable(QString::fromStdString(found->text)));
        }
    }

    // Every puzzle the ladder stalls on, shuffled from a fixed seed, is finished by the ladder
    // and the forcing finders together, and no forcing step goes against the solution.
    void finishesSoundly()
    {
        std::mt19937_64 random(24);
        for (const QStringList& row : dataRows("forcing.txt")) {
            const std::string puzzle = shuffled(row[0].toStdString(), random);
            const SolutionCount solution = CountSolutions(gridOf(puzzle), 2);
            QCOMPARE(solution.count, 1);
            Pencilmarks marks(gridOf(puzzle));
            stall(marks);
            while (!marks.solved()) {
                std::optional<Finding> found;
                for (const ForcingFinder finder : kForcingFinders)
                    if ((found = finder(marks)))
                        break;
                QVERIFY2(found, puzzle.c_str());
                QVERIFY2(!found->placements.empty() || !found->removals.empty(), found->text.c_str());
                for (const Candidate placed : found->placements)
                    QVERIFY2(solution.first[placed.square] == placed.digit, found->text.c_str());
                for (const Candidate removed : found->removals)
                    QVERIFY2(solution.first[removed.square] != removed.digit, found->text.c_str());
                apply(*found, marks);
                stall(marks);
            }
            QVERIFY(marks.digits == solution.first);
        }
    }
};

QTEST_APPLESS_MAIN(ForcingTest)
#include "test_forcing.moc"
