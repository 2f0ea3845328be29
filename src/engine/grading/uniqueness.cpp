// Unique rectangles and the bivalue universal grave. Scans run rows, columns and digits from
// the first, so the same marks always give the same step.
#include "grading/uniqueness.h"

#include "model/candidates.h"
#include "model/geometry.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kavrin {

namespace {
constexpr DigitMask bitOf(int digit)
{
    return static_cast<DigitMask>(1u << digit);
}

Candidate candidate(int square, int digit)
{
    return {static_cast<std::uint8_t>(square), static_cast<std::uint8_t>(digit)};
}

void takeAway(std::vector<Candidate>& removals, const Pencilmarks& marks, int square, DigitMask digits)
{
    for (unsigned d = marks.candidates[static_cast<std::size_t>(square)] & digits; d != 0; d &= d - 1)
        removals.push_back(candidate(square, std::countr_zero(d)));
}

std::string digitPair(DigitMask digits)
{
    return std::to_string(std::countr_zero(digits)) + " and " + std::to_string(15 - std::countl_zero(digits));
}

struct Rectangle {
    std::array<int, 4> squares; // r1c1, r1c2, r2c1, r2c2
    DigitMask pair;             // a and b
};

std::string rectangleWords(const Rectangle& r)
{
    return "unique rectangle " + squareName(r.squares[0]) + ", " + squareName(r.squares[1]) + ", " +
           squareName(r.squares[2]) + ", " + squareName(r.squares[3]) + " on " + digitPair(r.pair);
}

// Type 1: the one square that takes more than the pair cannot take the pair.
std::optional<Finding> typeOne(const Pencilmarks& marks, const Rectangle& r)
{
    int extra = -1, count = 0;
    for (const int s : r.squares)
        if (marks.candidates[static_cast<std::size_t>(s)] != r.pair) {
            extra = s;
            ++count;
        }
    if (count != 1)
        return std::nullopt;
    Finding found{"unique-rectangle-1", 4.5, {}, {}, {}};
    takeAway(found.removals, marks, extra, r.pair);
    found.text = rectangleWords(r) + ": the other three take only " + digitPair(r.pair) + ", so " +
                 squareName(extra) + " must take another digit, or the two would swap (" +
                 conclusionText({}, found.removals) + ")";
    return found;
}

// The two squares that take more than the pair, when there are exactly two.
std::optional<std::array<int, 2>> roofOf(const Pencilmarks& marks, const Rectangle& r)
{
    std::array<int, 2> roof{};
    int count = 0;
    for (const int s : r.squares)
        if (marks.candidates[static_cast<std::size_t>(s)] != r.pair) {
            if (count == 2)
                return std::nullopt;
            roof[static_cast<std::size_t>(count++)] = s;
        }
    if (count != 2)
        return std::nullopt;
    return roof;
}

// Type 2: both roof squares take the pair and one more digit, the same one.
std::optional<Finding> typeTwo(const Pencilmarks& marks, const Rectangle& r)
{
    const auto roof = roofOf(marks, r);
    if (!roof)
        return std::nullopt;
    const DigitMask a = marks.candidates[static_cast<std::size_t>((*roof)[0])];
    const auto extra = static_cast<DigitMask>(a & ~r.pair);
    if (std::popcount(extra) != 1 || marks.candidates[static_cast<std::size_t>((*roof)[1])] != a)
        return std::nullopt;
    Finding found{"unique-rectangle-2", 4.6, {}, {}, {}};
    for (int s = 0; s < 81; ++s)
        if (sees(s, (*roof)[0]) && sees(s, (*roof)[1]))
            takeAway(found.removals, marks, s, extra);
    if (found.removals.empty())
        return std::nullopt;
    const std::string c = std::to_string(std::countr_zero(extra));
    found.text = rectangleWords(r) + ": " + squareName((*roof)[0]) + " and " + squareName((*roof)[1]) +
                 " take only those and " + c + ", so one of them is " + c +
                 ", or the pair would swap; no square that sees both can take " + c + " (" +
                 conclusionText({}, found.removals) + ")";
    return found;
}

// Type 4: in a house the roof squares share, one digit of the pair goes nowhere else.
std::optional<Finding> typeFour(const Pencilmarks& marks, const Rectangle& r)
{
    const auto roof = roofOf(marks, r);
    if (!roof)
        return std::nullopt;
    const int p = (*roof)[0], q = (*roof)[1];
    for (const std::uint8_t house : kGeometry.housesOf[static_cast<std::size_t>(p)]) {
        if (kGeometry.housesOf[static_cast<std::size_t>(q)][static_cast<std::size_t>(house / 9)] != house)
            continue;
        for (unsigned pairBits = r.pair; pairBits != 0; pairBits &= pairBits - 1) {
            const int locked = std::countr_zero(pairBits);
            if (std::popcount(marks.placesOf(house, locked)) != 2)
                continue;
            const auto other = static_cast<DigitMask>(r.pair & ~bitOf(locked));
            Finding found{"unique-rectangle-4", 4.5, {}, {}, {}};
            takeAway(found.removals, marks, p, other);
            takeAway(found.removals, marks, q, other);
            found.text = rectangleWords(r) + ": in " + (house < 9 ? "row " : house < 18 ? "column " : "block ") +
                         std::to_string(house % 9 + 1) + ", " + std::to_string(locked) + " can only go in " +
                         squareName(p) + " and " + squareName(q) + ", so neither can take " +
                         std::to_string(std::countr_zero(other)) + ", or the pair would swap (" +
                         conclusionText({}, found.removals) + ")";
            return found;
        }
    }
    return std::nullopt;
}

using RectangleType = std::optional<Finding> (*)(const Pencilmarks&, const Rectangle&);

// The first rectangle, rows then columns then digit pairs, that the type concludes from.
std::optional<Finding> firstRectangle(const Pencilmarks& marks, RectangleType type)
{
    for (int r1 = 0; r1 < 9; ++r1)
        for (int r2 = r1 + 1; r2 < 9; ++r2)
            for (int c1 = 0; c1 < 9; ++c1)
                for (int c2 = c1 + 1; c2 < 9; ++c2) {
                    if ((bandOf(r1) == bandOf(r2)) == (stackOf(c1) == stackOf(c2)))
                        continue; // the four squares must lie in exactly two blocks
                    const std::array<int, 4> squares = {squareAt(r1, c1), squareAt(r1, c2), squareAt(r2, c1),
                                                        squareAt(r2, c2)};
                    unsigned common = kAllDigits;
                    for (const int s : squares)
                        common &= marks.candidates[static_cast<std::size_t>(s)];
                    for (unsigned a = common; a != 0; a &= a - 1)
                        for (unsigned b = a & (a - 1); b != 0; b &= b - 1) {
                            const auto pair = static_cast<DigitMask>((a & -a) | (b & -b));
                            if (auto found = type(marks, {squares, pair}); found && !found->removals.empty())
                                return found;
                        }
                }
    return std::nullopt;
}
} // namespace

std::optional<Finding> findUniqueRectangle(const Pencilmarks& marks)
{
    for (const RectangleType type : {typeOne, typeFour, typeTwo})
        if (auto found = firstRectangle(marks, type))
            return found;
    return std::nullopt;
}

std::optional<Finding> findBivalueUniversalGrave(const Pencilmarks& marks)
{
    int triple = -1;
    for (int s = 0; s < 81; ++s) {
        const int n = std::popcount(marks.candidates[static_cast<std::size_t>(s)]);
        if (n > 3 || (n == 3 && triple >= 0) || n == 1)
            return std::nullopt;
        if (n == 3)
            triple = s;
    }
    if (triple < 0)
        return std::nullopt;
    int digit = 0, housesWithThree = 0;
    for (int house = 0; house < kHouseCount; ++house)
        for (int d = 1; d <= 9; ++d) {
            const int places = std::popcount(marks.placesOf(house, d));
            if (places == 0 || places == 2)
                continue;
            const bool extra = places == 3 && (digit == 0 || digit == d) &&
                               (marks.candidates[static_cast<std::size_t>(triple)] >> d & 1u) != 0 &&
                               kGeometry.housesOf[static_cast<std::size_t>(triple)][static_cast<std::size_t>(house / 9)] == house;
            if (!extra)
                return std::nullopt;
            digit = d;
            ++housesWithThree;
        }
    if (housesWithThree != 3)
        return std::nullopt;
    return Finding{"bivalue-universal-grave", 5.6, {candidate(triple, digit)}, {},
                   "every other empty square takes two digits and every digit has two places in each house, "
                   "except " + std::to_string(digit) + " with three in " + squareName(triple) +
                   "'s houses: without it the grid would have two solutions (" +
                   conclusionText({candidate(triple, digit)}, {}) + ")"};
}

} // namespace kavrin
