// The grading ladder: each technique on hand-made pencil marks, with its words; every step sound
// and in order on known, hard and random puzzles; generated puzzles of each grade and rating.
// kvr's tests pin the grades and ratings.
#include "fakes.h"
#include "generation/graded_generator.h"
#include "grading/finding.h"
#include "grading/pencilmarks.h"
#include "grading/rating.h"
#include "grading/techniques.h"
#include "model/board.h"
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
#include <functional>
#include <initializer_list>
#include <optional>
#include <random>
#include <ranges>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

namespace {
std::vector<int> squaresOf(std::initializer_list<int> rows, std::initializer_list<int> columns)
{
    std::vector<int> squares;
    for (const int r : rows)
        for (const int c : columns)
            squares.push_back(sq(r, c));
    return squares;
}

std::vector<int> allBut(std::vector<int> squares, std::initializer_list<int> except)
{
    std::erase_if(squares, [&](int s) { return std::find(except.begin(), except.end(), s) != except.end(); });
    return squares;
}

const std::initializer_list<int> kAll = {1, 2, 3, 4, 5, 6, 7, 8, 9};

struct Marks {
    std::vector<int> squares;
    std::string_view digits; // what those squares may take, or the digit each gets or loses
};

struct TechniqueCase {
    std::string_view rung;           // the rung's name
    std::vector<Marks> setUp;        // on an empty grid, where every square takes every digit
    std::vector<Marks> placed = {};  // the digits the step places
    std::vector<Marks> removed = {}; // and takes away
    std::string_view words = {};     // what it says, when pinned
    std::string_view givens = {};    // the digits placed before the set-up, when any
};

// One instance of each technique, alone on an otherwise open grid.
std::vector<TechniqueCase> techniqueCases()
{
    const auto row1 = squaresOf({1}, kAll);
    const auto row2 = squaresOf({2}, kAll);
    return {
        {"hidden-single", {{allBut(row1, {sq(1, 5)}), "12346789"}}, {{{sq(1, 5)}, "5"}}, {},
         "row 1: 5 can only go in column 5"},
        {"hidden-single", {{allBut(squaresOf({1, 2, 3}, {1, 2, 3}), {sq(2, 3)}), "12345689"}}, {{{sq(2, 3)}, "7"}}, {},
         "block 1: 7 can only go in r2c3"},
        {"naked-single", {{{sq(5, 5)}, "7"}}, {{{sq(5, 5)}, "7"}}, {}, "r5c5: only 7 is left"},
        {"pointing", {{squaresOf({2, 3}, {1, 2, 3}), "12456789"}}, {}, {{squaresOf({1}, {4, 5, 6, 7, 8, 9}), "3"}},
         "block 1: 3 can only go in row 1, so the rest of row 1 cannot take it (3 from r1c4, r1c5, r1c6, r1c7, r1c8, "
         "r1c9)"},
        {"claiming", {{squaresOf({1}, {4, 5, 6, 7, 8, 9}), "12345789"}}, {}, {{squaresOf({2, 3}, {1, 2, 3}), "6"}}},
        {"naked-pair", {{{sq(1, 1), sq(1, 2)}, "17"}}, {}, {{allBut(row1, {sq(1, 1), sq(1, 2)}), "17"}},
         "row 1: r1c1 and r1c2 can only take 1 and 7, so the rest of row 1 cannot (1 from r1c3, r1c4, r1c5, r1c6, "
         "r1c7, r1c8, r1c9; 7 from r1c3, r1c4, r1c5, r1c6, r1c7, r1c8, r1c9)"},
        // r1c4 to r1c9 hold 6 already: the pair takes nothing but 6 from row 1, and says so.
        {"naked-pair", {{{sq(1, 1), sq(1, 2)}, "16"}, {squaresOf({1}, {4, 5, 6, 7, 8, 9}), "2345789"}}, {},
         {{{sq(1, 3)}, "16"}}, "row 1: r1c1 and r1c2 can only take 1 and 6, so the rest of row 1 cannot (1 from r1c3; 6 from r1c3)"},
        {"hidden-pair", {{allBut(row1, {sq(1, 1), sq(1, 2)}), "2345689"}}, {}, {{{sq(1, 1), sq(1, 2)}, "2345689"}},
         "row 1: 1 and 7 can only go in r1c1 and r1c2, so those squares take nothing else (2 from r1c1, r1c2; 3 "
         "from r1c1, r1c2; 4 from r1c1, r1c2; 5 from r1c1, r1c2; 6 from r1c1, r1c2; 8 from r1c1, r1c2; 9 from "
         "r1c1, r1c2)"},
        {"naked-triple", {{{sq(1, 1)}, "12"}, {{sq(1, 2)}, "23"}, {{sq(1, 3)}, "13"}}, {},
         {{squaresOf({1}, {4, 5, 6, 7, 8, 9}), "123"}}},
        {"hidden-triple", {{squaresOf({1}, {4, 5, 6, 7, 8, 9}), "456789"}}, {}, {{squaresOf({1}, {1, 2, 3}), "456789"}}},
        {"x-wing", {{allBut(squaresOf({3, 8}, kAll), {sq(3, 2), sq(3, 6), sq(8, 2), sq(8, 6)}), "12345689"}}, {},
         {{squaresOf({1, 2, 4, 5, 6, 7, 9}, {2, 6}), "7"}},
         "in rows 3 and 8, 7 can only go in columns 2 and 6, so the rest of those columns cannot take it (7 from "
         "r1c2, r1c6, r2c2, r2c6, r4c2, r4c6, r5c2, r5c6, r6c2, r6c6, r7c2, r7c6, r9c2, r9c6)"},
        {"xy-wing", {{{sq(1, 1)}, "12"}, {{sq(1, 5)}, "13"}, {{sq(5, 1)}, "23"}}, {}, {{{sq(5, 5)}, "3"}},
         "r1c1 takes 1 or 2, and r1c5 (1 or 3) and r5c1 (2 or 3) see it: whichever it takes, one of those two holds "
         "3, so no square that sees both can take 3 (3 from r5c5)"},
        // r2c4 to r2c6 see both pincers but not the pivot: they keep their 3.
        {"xyz-wing", {{{sq(1, 1)}, "123"}, {{sq(1, 5)}, "13"}, {{sq(2, 2)}, "23"}}, {}, {{{sq(1, 2), sq(1, 3)}, "3"}},
         "r1c1 takes 1, 2 or 3, and r1c5 (1 or 3) and r2c2 (2 or 3) see it: whichever it takes, one of the three "
         "holds 3, so no square that sees all three can take 3 (3 from r1c2, r1c3)"},
        {"naked-quad", {{{sq(1, 1)}, "12"}, {{sq(1, 2)}, "23"}, {{sq(1, 3)}, "34"}, {{sq(1, 4)}, "14"}}, {},
         {{squaresOf({1}, {5, 6, 7, 8, 9}), "1234"}}},
        {"hidden-quad", {{squaresOf({1}, {5, 6, 7, 8, 9}), "56789"}}, {}, {{squaresOf({1}, {1, 2, 3, 4}), "56789"}}},
        {"swordfish",
         {{allBut(squaresOf({1, 4, 7}, kAll), {sq(1, 1), sq(1, 4), sq(4, 4), sq(4, 7), sq(7, 1), sq(7, 7)}), "12346789"}},
         {}, {{squaresOf({2, 3, 5, 6, 8, 9}, {1, 4, 7}), "5"}}},
        {"jellyfish",
         {{allBut(squaresOf({1, 3, 5, 7}, kAll),
                  {sq(1, 2), sq(1, 4), sq(3, 4), sq(3, 6), sq(5, 6), sq(5, 8), sq(7, 8), sq(7, 2)}),
           "12345679"}},
         {}, {{squaresOf({2, 4, 6, 8, 9}, {2, 4, 6, 8}), "8"}}},
        // Rows 1 and 2, columns 1 and 4: two blocks.
        {"unique-rectangle", {{{sq(1, 1), sq(1, 4), sq(2, 1)}, "12"}}, {}, {{{sq(2, 4)}, "12"}},
         "unique rectangle r1c1, r1c4, r2c1, r2c4 on 1 and 2: the other three take only 1 and 2, so r2c4 must take "
         "another digit, or the two would swap (1 from r2c4; 2 from r2c4)"},
        // Not in four blocks: rows 1 and 4, columns 1 and 4.
        {"unique-rectangle", {{{sq(1, 1), sq(1, 4), sq(4, 1)}, "12"}}},
        {"unique-rectangle", {{{sq(1, 1), sq(1, 4)}, "12"}, {allBut(row2, {sq(2, 1), sq(2, 4)}), "23456789"}}, {},
         {{{sq(2, 1), sq(2, 4)}, "2"}},
         "unique rectangle r1c1, r1c4, r2c1, r2c4 on 1 and 2: in row 2, 1 can only go in r2c1 and r2c4, so neither "
         "can take 2, or the pair would swap (2 from r2c1, r2c4)"},
        {"unique-rectangle", {{{sq(1, 1), sq(1, 4)}, "12"}, {{sq(2, 1), sq(2, 4)}, "123"}}, {},
         {{allBut(row2, {sq(2, 1), sq(2, 4)}), "3"}}},
        // The two others take different digits besides the pair: no conclusion.
        {"unique-rectangle", {{{sq(1, 1), sq(1, 4)}, "12"}, {{sq(2, 1)}, "123"}, {{sq(2, 4)}, "124"}}},
        // Each digit has two places in each house but 9, with three around r8c3.
        {"bivalue-universal-grave", {}, {{{sq(8, 3)}, "9"}}, {}, {},
         "457632198823197564916.5.27356..734217.124.6353425167896357819422...6531717.32.856"},
        {"aligned-pair-exclusion", {{{sq(1, 1)}, "12"}, {{sq(1, 2)}, "13"}, {{sq(2, 3)}, "23"}, {{sq(1, 5)}, "12"}}, {},
         {{{sq(1, 1)}, "2"}, {{sq(1, 2)}, "1"}}},
        // Without r1c5, r1c1 and r1c2 could hold 2 and 1; r1c1 and r1c3 cannot hold 1 or 2 and 3.
        {"aligned-pair-exclusion", {{{sq(1, 1)}, "12"}, {{sq(1, 2)}, "13"}, {{sq(2, 3)}, "23"}}, {}, {{{sq(1, 3)}, "3"}},
         "r1c1 and r1c3 share row 1, and r1c2 (1 or 3), r2c3 (2 or 3) see both: each pair of digits the two could "
         "hold together that uses one of these repeats a digit or leaves one of those squares empty (3 from r1c3)"},
        {"als-xz", {{{sq(1, 1)}, "12"}, {{sq(1, 5)}, "13"}, {{sq(2, 5)}, "23"}}, {},
         {{{sq(1, 4), sq(1, 6), sq(2, 1), sq(2, 2), sq(2, 3)}, "2"}}},
    };
}

int rungNamed(std::string_view name)
{
    for (int rung = 0; rung < kTechniqueCount; ++rung)
        if (techniqueName(static_cast<Technique>(rung)) == name)
            return rung;
    const auto rungs = advancedRungs();
    const auto at = std::ranges::find(rungs, name, &Rung::family);
    return at == rungs.end() ? -1 : kTechniqueCount + static_cast<int>(at - rungs.begin());
}

std::vector<Candidate> candidatesOf(const std::vector<Marks>& marks)
{
    std::vector<Candidate> candidates;
    for (const Marks& m : marks)
        for (const int s : m.squares)
            for (const char d : m.digits)
                candidates.push_back({static_cast<std::uint8_t>(s), static_cast<std::uint8_t>(d - '0')});
    std::ranges::sort(candidates, {}, [](Candidate c) { return c.square * 10 + c.digit; });
    return candidates;
}

std::vector<Candidate> sorted(std::vector<Candidate> candidates)
{
    std::ranges::sort(candidates, {}, [](Candidate c) { return c.square * 10 + c.digit; });
    return candidates;
}

// A plain solver in the test's own terms: fills a square with one digit left, or a digit with one
// place left in a row, column or block, until it can do neither.
bool solvedBySingles(Grid grid)
{
    const auto fits = [&](int s, int d) {
        for (int t = 0; t < 81; ++t)
            if (t != s && grid[std::size_t(t)] == d &&
                (t / 9 == s / 9 || t % 9 == s % 9 || (t / 27 == s / 27 && t % 9 / 3 == s % 9 / 3)))
                return false;
        return true;
    };
    for (bool placed = true; placed;) {
        placed = false;
        for (int s = 0; s < 81; ++s)
            for (int d = 1; d <= 9 && grid[std::size_t(s)] == 0; ++d) {
                int digits = 0, rowPlaces = 0, columnPlaces = 0, blockPlaces = 0;
                for (int e = 1; e <= 9; ++e)
                    digits += fits(s, e) ? 1 : 0;
                for (int k = 0; k < 9; ++k) {
                    const int row = s / 9 * 9 + k, column = k * 9 + s % 9,
                              block = (s / 27 * 3 + k / 3) * 9 + s % 9 / 3 * 3 + k % 3;
                    rowPlaces += grid[std::size_t(row)] == 0 && fits(row, d) ? 1 : 0;
                    columnPlaces += grid[std::size_t(column)] == 0 && fits(column, d) ? 1 : 0;
                    blockPlaces += grid[std::size_t(block)] == 0 && fits(block, d) ? 1 : 0;
                }
                if (fits(s, d) && (digits == 1 || rowPlaces == 1 || columnPlaces == 1 || blockPlaces == 1)) {
                    grid[std::size_t(s)] = static_cast<std::uint8_t>(d);
                    placed = true;
                }
            }
    }
    return std::ranges::find(grid, 0) == grid.end();
}

// The grade the techniques a puzzle's steps use belong to, by the kinds players know them as.
int hardestKind(const Rating& rating)
{
    static const std::vector<std::pair<std::vector<std::string_view>, Grade>> kKinds = {
        {{"pointing", "claiming", "naked-pair", "hidden-pair"}, Grade::Medium},
        {{"naked-triple", "hidden-triple", "x-wing", "xy-wing", "xyz-wing", "naked-quad", "hidden-quad", "swordfish",
          "jellyfish"},
         Grade::Hard},
        {{"unique-rectangle-1", "unique-rectangle-2", "unique-rectangle-4", "bivalue-universal-grave",
          "aligned-pair-exclusion", "skyscraper", "2-string-kite", "turbot-crane", "w-wing", "x-chain", "x-cycle",
          "remote-pair", "xy-chain", "als-xz", "aic"},
         Grade::Expert},
        {{"contradiction-forcing-chain", "cell-forcing-chain", "house-forcing-chain", "dynamic-forcing-chain",
          "forcing-net", "nested-forcing-chain"},
         Grade::Extreme},
    };
    Grade hardest = Grade::Easy;
    for (const LadderStep& step : rating.steps)
        for (const auto& [names, grade] : kKinds)
            if (std::ranges::find(names, step.finding.technique) != names.end())
                hardest = std::max(hardest, grade);
    return int(hardest);
}

// Every step true to the solution: a placed digit is the solution's, a removed one is not; each
// the first the ladder finds, easiest rung first; and a puzzle that is graded ends solved.
void checkSteps(const Grid& puzzle, const QByteArray& name)
{
    const SolutionCount solution = CountSolutions(puzzle, 2);
    QCOMPARE(solution.count, 1);
    const Rating rating = RatePuzzle(puzzle, true);
    Pencilmarks marks(puzzle);
    for (const LadderStep& step : rating.steps) {
        const auto where = name + " " + QByteArray::fromStdString(step.finding.text);
        for (int easier = 0; easier < step.rung; ++easier)
            QVERIFY2(!stepOn(easier, marks, false), where);
        for (const Candidate c : step.finding.placements)
            QVERIFY2(solution.first[c.square] == c.digit, where);
        for (const Candidate c : step.finding.removals)
            QVERIFY2(solution.first[c.square] != c.digit && (marks.candidates[c.square] >> c.digit & 1u) != 0, where);
        marks.apply(step.finding.placements, step.finding.removals);
    }
    QVERIFY2((rating.grade == Grade::Beyond) != marks.solved(), name);
    QVERIFY2(rating.grade != Grade::Beyond || marks.digits == rating.stoppedAt, name);
}
} // namespace

class GradingTest : public QObject {
    Q_OBJECT
private slots:
    void eachTechnique()
    {
        for (const TechniqueCase& c : techniqueCases()) {
            const QByteArray name(c.rung.data(), qsizetype(c.rung.size()));
            Pencilmarks marks(c.givens.empty() ? Grid{} : boardFromLine(c.givens).digits());
            for (const Marks& m : c.setUp)
                for (const int s : m.squares)
                    marks.candidates[static_cast<std::size_t>(s)] = maskOf(m.digits);
            QVERIFY2(rungNamed(c.rung) >= 0, name);
            const std::optional<LadderStep> found = stepOn(rungNamed(c.rung), marks, true);
            QVERIFY2(found.has_value() == !(c.placed.empty() && c.removed.empty()),
                     name + " " + (found ? QByteArray::fromStdString(found->finding.text) : QByteArray()));
            if (!found)
                continue;
            QVERIFY2(sorted(found->finding.placements) == candidatesOf(c.placed), name);
            QVERIFY2(sorted(found->finding.removals) == candidatesOf(c.removed), name);
            if (!c.words.empty())
                QCOMPARE(found->finding.text, std::string(c.words));
        }
    }

    // Known puzzles of every grade, the hard ones the basic ladder stalls on, and random minimal
    // puzzles: every step sound and in order.
    void everyStepIsSound()
    {
        for (const char* table : {"grades.txt", "forcing.txt"})
            for (const QStringList& row : dataRows(table)) {
                const Grid puzzle = boardFromLine(row[0].toStdString()).digits();
                if (CountSolutions(puzzle, 2).count == 1)
                    checkSteps(puzzle, row[0].toLatin1());
            }
        std::mt19937_64 random(2024);
        for (int n = 0; n < 40; ++n)
            checkSteps(GenerateGraded({}, Symmetry::None, random).givens, "random " + QByteArray::number(n));
    }

    void generatedPuzzles_data()
    {
        QTest::addColumn<int>("grade");
        QTest::addColumn<int>("symmetry");
        for (const Grade grade : {Grade::Easy, Grade::Medium, Grade::Hard, Grade::Expert, Grade::Extreme})
            for (const Symmetry symmetry : {Symmetry::None, Symmetry::Rotational, Symmetry::Mirror})
                QTest::addRow("%s, symmetry %d", gradeName(grade).data(), int(symmetry)) << int(grade) << int(symmetry);
    }
    // Unique, minimal (no given, or pair of givens, can go), symmetric, the same again from the
    // same seed, and of the grade asked for as judged apart from the rater's grading: by a plain
    // singles solver, and by the kinds of technique its steps use.
    void generatedPuzzles()
    {
        QFETCH(int, grade);
        QFETCH(int, symmetry);
        std::mt19937_64 random(static_cast<std::uint64_t>(grade * 10 + symmetry));
        const GradedPuzzle made = GenerateGraded({Grade(grade), {}, {}}, Symmetry(symmetry), random);
        const SolutionCount count = CountSolutions(made.givens, 2);
        QCOMPARE(count.count, 1);
        QVERIFY(count.first == made.solution);
        QCOMPARE(solvedBySingles(made.givens), Grade(grade) == Grade::Easy);
        QCOMPARE(hardestKind(RatePuzzle(made.givens, true)), grade);
        for (int s = 0; s < 81; ++s) {
            const int twin = symmetry == 1 ? 80 - s : symmetry == 2 ? s / 9 * 9 + 8 - s % 9 : s;
            QCOMPARE(made.givens[std::size_t(s)] != 0, made.givens[std::size_t(twin)] != 0);
            if (made.givens[std::size_t(s)] == 0)
                continue;
            Grid fewer = made.givens;
            fewer[std::size_t(s)] = fewer[std::size_t(twin)] = 0;
            QCOMPARE(CountSolutions(fewer, 2).count, 2);
        }
        std::mt19937_64 again(static_cast<std::uint64_t>(grade * 10 + symmetry));
        QVERIFY(GenerateGraded({Grade(grade), {}, {}}, Symmetry(symmetry), again).givens == made.givens);
    }

    void ratedPuzzlesInRange()
    {
        std::mt19937_64 random(5);
        const Rating rating = RatePuzzle(GenerateGraded({{}, 6.5, 7.2}, Symmetry::None, random).givens);
        QVERIFY2(rating.rating >= 6.5 && rating.rating <= 7.2, qPrintable(QString::number(rating.rating)));
    }

    // No row or column is left to the solver: every one gets its share of givens.
    void givensSpreadOverTheGrid()
    {
        std::mt19937_64 random(7);
        std::array<int, 18> lines{};
        int givens = 0;
        for (int n = 0; n < 30; ++n)
            for (int s = 0; const std::uint8_t digit : GenerateGraded({Grade::Easy, {}, {}}, Symmetry::None, random).givens) {
                if (digit != 0) {
                    ++lines[std::size_t(s / 9)];
                    ++lines[std::size_t(9 + s % 9)];
                    ++givens;
                }
                ++s;
            }
        for (const int line : lines)
            QVERIFY2(line * 9 > givens * 6 / 10, qPrintable(QString::number(line)));
    }
};

QTEST_APPLESS_MAIN(GradingTest)
#include "test_grading.moc"
