// The chain techniques: each on hand-made pencil marks with exactly what it proves, and every
// step of every finder checked against the solution on puzzles the basic ladder stalls on.
#include "fakes.h"
#include "grading/chains.h"
#include "grading/finding.h"
#include "grading/pencilmarks.h"
#include "grading/techniques.h"
#include "model/board.h"
#include "model/candidates.h"
#include "model/colour.h"
#include "model/geometry.h"
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
#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

namespace {
using Finder = std::optional<Finding> (*)(const Pencilmarks&);

constexpr int row(int r) { return rowHouse(r - 1); }
constexpr int column(int c) { return columnHouse(c - 1); }
constexpr int block(int b) { return blockHouse(b - 1); }

// The digit keeps only these places in the house.
struct Places {
    int digit;
    int house;
    std::vector<int> squares;
};

// The square keeps only these digits.
struct Digits {
    int square;
    std::string_view digits;
};

// The digit taken from the squares.
struct Removed {
    int digit;
    std::vector<int> squares;
};

struct ChainCase {
    const char* name;
    Finder finder;
    std::vector<Places> places;
    std::vector<Digits> digits = {};
    // What it finds; no text for nothing found.
    std::string text = {};
    double rating = 0;
    std::vector<Candidate> placements = {};
    std::vector<Removed> removals = {};
};

std::vector<Places> concat(std::vector<Places> first, const std::vector<Places>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Candidate candidate(int square, int digit)
{
    return {static_cast<std::uint8_t>(square), static_cast<std::uint8_t>(digit)};
}

Pencilmarks marksOf(const ChainCase& c)
{
    Pencilmarks marks(Grid{});
    for (const Places& p : c.places)
        for (const std::uint8_t s : kGeometry.houses[std::size_t(p.house)])
            if (std::ranges::find(p.squares, s) == p.squares.end())
                marks.candidates[s] &= DigitMask(~(1u << p.digit));
    for (const Digits& d : c.digits) {
        DigitMask mask = 0;
        for (const char digit : d.digits)
            mask |= DigitMask(1u << (digit - '0'));
        marks.candidates[std::size_t(d.square)] = mask;
    }
    return marks;
}

std::vector<Candidate> sorted(std::vector<Candidate> candidates)
{
    std::ranges::sort(candidates, [](Candidate a, Candidate b) {
        return a.square != b.square ? a.square < b.square : a.digit < b.digit;
    });
    return candidates;
}

std::vector<Candidate> removalsOf(const ChainCase& c)
{
    std::vector<Candidate> removals;
    for (const Removed& r : c.removals)
        for (const int s : r.squares)
            removals.push_back(candidate(s, r.digit));
    return sorted(removals);
}

// One instance of each technique on an otherwise open grid, where no other digit has a strong
// link, and finders that must find nothing there.
std::vector<ChainCase> chainCases()
{
    const std::vector<Places> skyscraper = {{4, column(2), {sq(1, 2), sq(5, 2)}}, {4, column(8), {sq(1, 8), sq(4, 8)}}};
    const std::vector<Places> xChain = {
        {4, column(1), {sq(1, 1), sq(4, 1)}}, {4, column(4), {sq(4, 4), sq(8, 4)}}, {4, column(8), {sq(8, 8), sq(2, 8)}}};
    return {
        {"skyscraper", findSkyscraper, skyscraper, {},
         "skyscraper on 4: r1c2 and r5c2 in column 2, r1c8 and r4c8 in column 8, so 4 from r4c1, r4c3, r5c7, r5c9",
         5.4, {}, {{4, {sq(4, 1), sq(4, 3), sq(5, 7), sq(5, 9)}}}},
        {"no crane in a skyscraper", findTurbotCrane, skyscraper},
        {"2-string kite", findTwoStringKite, {{5, row(1), {sq(1, 2), sq(1, 7)}}, {5, column(3), {sq(3, 3), sq(8, 3)}}}, {},
         "2-string kite on 5: r1c2 and r1c7 in row 1, r3c3 and r8c3 in column 3, so 5 from r8c7", 5.4, {},
         {{5, {sq(8, 7)}}}},
        {"turbot crane", findTurbotCrane, {{6, block(1), {sq(1, 1), sq(2, 3)}}, {6, column(5), {sq(2, 5), sq(7, 5)}}}, {},
         "turbot crane on 6: r2c5 and r7c5 in column 5, r1c1 and r2c3 in block 1, so 6 from r7c1", 5.4, {},
         {{6, {sq(7, 1)}}}},
        // Two rows, as in a skyscraper, but joined in a block rather than a column.
        {"turbot crane in rows", findTurbotCrane, {{9, row(1), {sq(1, 1), sq(1, 7)}}, {9, row(3), {sq(3, 2), sq(3, 9)}}},
         {}, "turbot crane on 9: r1c1 and r1c7 in row 1, r3c2 and r3c9 in row 3, so 9 from r2c1, r2c2, r2c3", 5.4, {},
         {{9, {sq(2, 1), sq(2, 2), sq(2, 3)}}}},
        {"w-wing", findWWing, {{8, row(2), {sq(2, 2), sq(2, 9)}}}, {{sq(1, 1), "38"}, {sq(5, 9), "38"}},
         "w-wing: r1c1 and r5c9 take 3 or 8; 8 in row 2 is at r2c2 or r2c9, so 3 from r1c9, r5c1", 6.6, {},
         {{3, {sq(1, 9), sq(5, 1)}}}},
        // The 8s of row 1 are r1c1's own: r1c1 may be 8 and r1c9 3.
        {"no w-wing through one of its squares", findWWing, {{8, row(1), {sq(1, 1), sq(1, 9)}}},
         {{sq(1, 1), "38"}, {sq(5, 9), "38"}}},
        {"remote pair", findRemotePair, {}, {{sq(1, 1), "27"}, {sq(1, 5), "27"}, {sq(4, 5), "27"}, {sq(4, 9), "27"}},
         "remote pair of 2 and 7: r1c1, r1c5, r4c5, r4c9, so 2 from r1c9, r4c1; 7 from r1c9, r4c1", 6.7, {},
         {{2, {sq(1, 9), sq(4, 1)}}, {7, {sq(1, 9), sq(4, 1)}}}},
        {"x-chain", findXChain, xChain, {},
         "x-chain on 4: r1c1=r4c1-r4c4=r8c4-r8c8=r2c8, so 4 from r1c7, r1c9, r2c2, r2c3", 5.4, {},
         {{4, {sq(1, 7), sq(1, 9), sq(2, 2), sq(2, 3)}}}},
        {"no cycle in an x-chain", findXCycle, xChain},
        // A skyscraper on 7 further on in the grid: the shorter chain wins.
        {"x-chain, the shortest first", findXChain,
         concat(xChain, {{7, row(2), {sq(2, 5), sq(2, 8)}}, {7, row(6), {sq(6, 5), sq(6, 7)}}}), {},
         "x-chain on 7: r2c8=r2c5-r6c5=r6c7, so 7 from r1c7, r3c7, r4c8, r5c8", 5.4, {},
         {{7, {sq(1, 7), sq(3, 7), sq(4, 8), sq(5, 8)}}}},
        {"no xy-chain without squares of two digits", findXYChain, xChain},
        {"continuous x-cycle", findXCycle,
         {{4, row(1), {sq(1, 1), sq(1, 5)}}, {4, column(6), {sq(2, 6), sq(7, 6)}}, {4, column(2), {sq(7, 2), sq(3, 2)}}}, {},
         "x-cycle on 4: r1c1=r1c5-r2c6=r7c6-r7c2=r3c2-r1c1, so 4 from r2c1, r2c3, r2c4, r2c5, r3c1, r3c3, r3c4, "
         "r3c5, r7c1, r7c3, r7c4, r7c5, r7c7, r7c8, r7c9",
         5.4, {},
         {{4, {sq(2, 1), sq(2, 3), sq(2, 4), sq(2, 5), sq(3, 1), sq(3, 3), sq(3, 4), sq(3, 5), sq(7, 1), sq(7, 3), sq(7, 4),
               sq(7, 5), sq(7, 7), sq(7, 8), sq(7, 9)}}}},
        // Both of r1c1's strong links lead round to each other's weak end: it holds the 4.
        {"discontinuous x-cycle", findXCycle,
         {{4, row(1), {sq(1, 1), sq(1, 5)}}, {4, row(6), {sq(6, 5), sq(6, 2)}}, {4, column(1), {sq(1, 1), sq(5, 1)}}}, {},
         "x-cycle on 4: r1c1=r1c5-r6c5=r6c2-r5c1=r1c1, so r1c1 is 4", 5.4, {candidate(sq(1, 1), 4)}},
        {"xy-chain", findXYChain, {}, {{sq(1, 1), "12"}, {sq(1, 6), "23"}, {sq(5, 6), "34"}, {sq(5, 2), "14"}},
         "xy-chain on 1: (1=2)r1c1-(2=3)r1c6-(3=4)r5c6-(4=1)r5c2, so 1 from r1c2, r2c2, r3c2, r4c1, r5c1, r6c1", 6.7,
         {}, {{1, {sq(1, 2), sq(2, 2), sq(3, 2), sq(4, 1), sq(5, 1), sq(6, 1)}}}},
        {"aic", findAlternatingChain, {{5, row(1), {sq(1, 1), sq(1, 7)}}, {8, column(2), {sq(4, 2), sq(2, 2)}}},
         {{sq(4, 7), "58"}},
         "aic: (5)r1c1=(5)r1c7-(5)r4c7=(8)r4c7-(8)r4c2=(8)r2c2, so 5 from r2c2; 8 from r1c1", 7.0, {},
         {{5, {sq(2, 2)}}, {8, {sq(1, 1)}}}},
        {"aic through two digits of a square", findAlternatingChain,
         {{2, row(5), {sq(5, 1), sq(5, 5)}}, {3, column(5), {sq(1, 5), sq(5, 5)}}}, {{sq(1, 1), "12"}},
         "aic: (1)r1c1=(2)r1c1-(2)r5c1=(2)r5c5-(3)r5c5=(3)r1c5, so 1 from r1c5", 7.0, {}, {{1, {sq(1, 5)}}}},
    };
}

// Every finder, in the order a ladder would try them.
const std::pair<std::string_view, Finder> kFinders[] = {
    {"skyscraper", findSkyscraper}, {"2-string-kite", findTwoStringKite}, {"turbot-crane", findTurbotCrane},
    {"w-wing", findWWing},          {"remote-pair", findRemotePair},      {"x-chain", findXChain},
    {"x-cycle", findXCycle},        {"xy-chain", findXYChain},            {"aic", findAlternatingChain},
};

std::optional<Deduction> ladderStep(const Pencilmarks& marks)
{
    std::optional<Deduction> step;
    for (int rung = 0; rung < kTechniqueCount && !step; ++rung)
        step = findStep(static_cast<Technique>(rung), marks);
    return step;
}

void apply(const Finding& found, Pencilmarks& marks)
{
    for (const Candidate c : found.removals)
        marks.candidates[c.square] &= DigitMask(~(1u << c.digit));
    for (const Candidate c : found.placements)
        marks.place(c.square, c.digit);
}

// Something proved, all of it true of the solution, within the technique's range of ratings.
void checkSound(const Finding& found, std::string_view technique, const Pencilmarks& marks, const Grid& solution)
{
    const auto where = QByteArray::fromStdString(found.text);
    QVERIFY2(found.technique == technique, where);
    QVERIFY2(!found.placements.empty() || !found.removals.empty(), where);
    for (const Candidate c : found.placements)
        QVERIFY2(solution[c.square] == c.digit && marks.candidates[c.square] >> c.digit & 1u, where);
    for (const Candidate c : found.removals)
        QVERIFY2(solution[c.square] != c.digit && marks.candidates[c.square] >> c.digit & 1u, where);
    const ChainScale& scale = *std::ranges::find(kChainScales, technique, &ChainScale::technique);
    QVERIFY2(found.rating >= scale.base && found.rating <= scale.top, where);
}
} // namespace

class ChainsTest : public QObject {
    Q_OBJECT
private slots:
    void eachTechnique()
    {
        for (const ChainCase& c : chainCases()) {
            const std::optional<Finding> found = c.finder(marksOf(c));
            QVERIFY2(found.has_value() == !c.text.empty(), c.name);
            if (!found)
                continue;
            QCOMPARE(found->text, c.text);
            QCOMPARE(found->rating, c.rating);
            QVERIFY2(sorted(found->placements) == sorted(c.placements), c.name);
            QVERIFY2(sorted(found->removals) == removalsOf(c), c.name);
        }
    }

    // Where the basic ladder stalls, every finder's step is true to the one solution; the first
    // that finds something is taken, and the ladder tried again, to the end or the next stall.
    void soundOnStalledPuzzles()
    {
        int finished = 0, stalled = 0;
        for (const QStringList& row : dataRows("stalled.txt")) {
            const Grid puzzle = boardFromLine(row[0].toStdString()).digits();
            const SolutionCount solution = CountSolutions(puzzle, 2);
            QCOMPARE(solution.count, 1);
            Pencilmarks marks(puzzle);
            bool stuck = false;
            while (!marks.solved() && !stuck) {
                if (const std::optional<Deduction> step = ladderStep(marks)) {
                    kavrin::apply(*step, marks);
                    continue;
                }
                std::optional<Finding> first;
                for (const auto& [technique, finder] : kFinders)
                    if (std::optional<Finding> found = finder(marks)) {
                        checkSound(*found, technique, marks, solution.first);
                        if (QTest::currentTestFailed())
                            return;
                        if (!first)
                            first = std::move(found);
                    }
                stuck = !first;
                if (first)
                    apply(*first, marks);
            }
            ++stalled;
            finished += marks.solved() ? 1 : 0;
        }
        qInfo("chains finish %d of %d puzzles the basic ladder stalls on", finished, stalled);
    }
};

QTEST_APPLESS_MAIN(ChainsTest)
#include "test_chains.moc"
