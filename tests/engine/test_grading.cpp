// The grading ladder: each technique on hand-made pencil marks, the ladder's order and
// soundness on real puzzles, and generated puzzles of each grade. kvr's tests pin the grades.
#include "fakes.h"
#include "generation/graded_generator.h"
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
#include <initializer_list>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

namespace {
// Squares as the ladder counts them, from 0: r and c from 1 as players say them.
constexpr int sq(int r, int c)
{
    return (r - 1) * 9 + c - 1;
}

DigitMask maskOf(std::string_view digits)
{
    DigitMask mask = 0;
    for (const char d : digits)
        mask |= static_cast<DigitMask>(1u << (d - '0'));
    return mask;
}

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
    std::string_view digits; // what those squares may take
};

struct TechniqueCase {
    Technique technique;
    std::vector<Marks> setUp;        // on an empty grid, where every square takes every digit
    int square = -1;                 // the square it fills, and with
    int digit = 0;
    std::vector<Marks> removed = {}; // or the digits it takes away
};

// One instance of each technique, alone on an otherwise open grid.
std::vector<TechniqueCase> techniqueCases()
{
    const auto row1 = squaresOf({1}, kAll);
    return {
        {Technique::HiddenSingle, {{allBut(row1, {sq(1, 5)}), "12346789"}}, sq(1, 5), 5},
        {Technique::NakedSingle, {{{sq(5, 5)}, "7"}}, sq(5, 5), 7},
        {Technique::Pointing, {{squaresOf({2, 3}, {1, 2, 3}), "12456789"}}, -1, 0,
         {{squaresOf({1}, {4, 5, 6, 7, 8, 9}), "3"}}},
        {Technique::Claiming, {{squaresOf({1}, {4, 5, 6, 7, 8, 9}), "12345789"}}, -1, 0,
         {{squaresOf({2, 3}, {1, 2, 3}), "6"}}},
        {Technique::NakedPair, {{{sq(1, 1), sq(1, 2)}, "17"}}, -1, 0, {{allBut(row1, {sq(1, 1), sq(1, 2)}), "17"}}},
        {Technique::HiddenPair, {{allBut(row1, {sq(1, 1), sq(1, 2)}), "2345689"}}, -1, 0,
         {{{sq(1, 1), sq(1, 2)}, "2345689"}}},
        {Technique::NakedTriple, {{{sq(1, 1)}, "12"}, {{sq(1, 2)}, "23"}, {{sq(1, 3)}, "13"}}, -1, 0,
         {{squaresOf({1}, {4, 5, 6, 7, 8, 9}), "123"}}},
        {Technique::HiddenTriple, {{squaresOf({1}, {4, 5, 6, 7, 8, 9}), "456789"}}, -1, 0,
         {{squaresOf({1}, {1, 2, 3}), "456789"}}},
        {Technique::XWing, {{allBut(squaresOf({3, 8}, kAll), {sq(3, 2), sq(3, 6), sq(8, 2), sq(8, 6)}), "12345689"}},
         -1, 0, {{squaresOf({1, 2, 4, 5, 6, 7, 9}, {2, 6}), "7"}}},
        {Technique::XYWing, {{{sq(1, 1)}, "12"}, {{sq(1, 5)}, "13"}, {{sq(5, 1)}, "23"}}, -1, 0, {{{sq(5, 5)}, "3"}}},
        // r2c4 to r2c6 see both pincers but not the pivot: they keep their 3.
        {Technique::XYZWing, {{{sq(1, 1)}, "123"}, {{sq(1, 5)}, "13"}, {{sq(2, 2)}, "23"}}, -1, 0,
         {{{sq(1, 2), sq(1, 3)}, "3"}}},
        {Technique::NakedQuad, {{{sq(1, 1)}, "12"}, {{sq(1, 2)}, "23"}, {{sq(1, 3)}, "34"}, {{sq(1, 4)}, "14"}}, -1, 0,
         {{squaresOf({1}, {5, 6, 7, 8, 9}), "1234"}}},
        {Technique::HiddenQuad, {{squaresOf({1}, {5, 6, 7, 8, 9}), "56789"}}, -1, 0,
         {{squaresOf({1}, {1, 2, 3, 4}), "56789"}}},
        {Technique::Swordfish,
         {{allBut(squaresOf({1, 4, 7}, kAll), {sq(1, 1), sq(1, 4), sq(4, 4), sq(4, 7), sq(7, 1), sq(7, 7)}), "12346789"}},
         -1, 0, {{squaresOf({2, 3, 5, 6, 8, 9}, {1, 4, 7}), "5"}}},
        {Technique::Jellyfish,
         {{allBut(squaresOf({1, 3, 5, 7}, kAll),
                  {sq(1, 2), sq(1, 4), sq(3, 4), sq(3, 6), sq(5, 6), sq(5, 8), sq(7, 8), sq(7, 2)}),
           "12345679"}},
         -1, 0, {{squaresOf({2, 4, 6, 8, 9}, {2, 4, 6, 8}), "8"}}},
    };
}
} // namespace

class GradingTest : public QObject {
    Q_OBJECT
private slots:
    void eachTechnique()
    {
        for (const TechniqueCase& c : techniqueCases()) {
            const QByteArray name(techniqueName(c.technique).data(), qsizetype(techniqueName(c.technique).size()));
            Pencilmarks marks(Grid{});
            for (const Marks& m : c.setUp)
                for (const int s : m.squares)
                    marks.candidates[static_cast<std::size_t>(s)] = maskOf(m.digits);
            const std::optional<Deduction> found = findStep(c.technique, marks);
            QVERIFY2(found, name);
            QCOMPARE(found->square, c.square);
            if (c.square >= 0)
                QCOMPARE(found->digit, c.digit);
            std::array<DigitMask, 81> removed{};
            for (const Marks& m : c.removed)
                for (const int s : m.squares)
                    removed[static_cast<std::size_t>(s)] |= maskOf(m.digits);
            for (std::size_t s = 0; s < removed.size(); ++s)
                QVERIFY2(found->removed[s] == removed[s], qPrintable(name + " at square " + QByteArray::number(qulonglong(s))));
        }
    }

    // Every step is the easiest the marks allow, and true to the one solution: a filled square
    // gets the solution's digit, and no square loses it.
    void ladderIsOrderedAndSound()
    {
        for (const QStringList& row : dataRows("grades.txt")) { // PUZZLE:GRADE:STEPS, as kvr rate prints them
            const Grid puzzle = boardFromLine(row[0].toStdString()).digits();
            const SolutionCount solution = CountSolutions(puzzle, 2);
            const Rating rating = RatePuzzle(puzzle, true);
            Pencilmarks marks(puzzle);
            for (const Deduction& step : rating.steps) {
                for (int easier = 0; easier < static_cast<int>(step.technique); ++easier)
                    QVERIFY(!findStep(static_cast<Technique>(easier), marks));
                if (step.fills())
                    QCOMPARE(step.digit, int(solution.first[static_cast<std::size_t>(step.square)]));
                for (std::size_t s = 0; s < 81; ++s)
                    QVERIFY((step.removed[s] >> solution.first[s] & 1u) == 0);
                apply(step, marks);
            }
        }
    }

    void generatedPuzzles_data()
    {
        QTest::addColumn<int>("grade");
        QTest::addColumn<int>("symmetry");
        for (const Grade grade : {Grade::Easy, Grade::Medium, Grade::Hard, Grade::Expert})
            for (const Symmetry symmetry : {Symmetry::None, Symmetry::Rotational, Symmetry::Mirror})
                QTest::addRow("%s, symmetry %d", gradeName(grade).data(), int(symmetry)) << int(grade) << int(symmetry);
    }
    // Unique, minimal (no given, or pair of givens, can go), of the grade asked for, symmetric,
    // and the same again from the same seed.
    void generatedPuzzles()
    {
        QFETCH(int, grade);
        QFETCH(int, symmetry);
        std::mt19937_64 random(static_cast<std::uint64_t>(grade * 10 + symmetry));
        const GradedPuzzle made = GenerateGraded(Grade(grade), Symmetry(symmetry), random);
        const SolutionCount count = CountSolutions(made.givens, 2);
        QCOMPARE(count.count, 1);
        QVERIFY(count.first == made.solution);
        QCOMPARE(int(RatePuzzle(made.givens).grade), grade);
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
        QVERIFY(GenerateGraded(Grade(grade), Symmetry(symmetry), again).givens == made.givens);
    }

    // No row or column is left to the solver: every one gets its share of givens.
    void givensSpreadOverTheGrid()
    {
        std::mt19937_64 random(7);
        std::array<int, 18> lines{};
        int givens = 0;
        for (int n = 0; n < 30; ++n)
            for (int s = 0; const std::uint8_t digit : GenerateGraded(Grade::Easy, Symmetry::None, random).givens) {
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
