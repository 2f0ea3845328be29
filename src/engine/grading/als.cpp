// Aligned pair exclusion and ALS-XZ on sets of squares as bit sets.
#include "grading/als.h"

#include "model/candidates.h"
#include "model/geometry.h"
#include "model/square.h"

#include <array>
#include <bit>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <ranges>
#include <string>
#include <string_view>
#include <vector>

namespace kavrin {

namespace {
using Squares = std::bitset<81>;

const std::array<Squares, 81>& peerSets()
{
    static const std::array<Squares, 81> sets = [] {
        std::array<Squares, 81> made{};
        for (int s = 0; s < 81; ++s)
            for (const std::uint8_t peer : kGeometry.peers[static_cast<std::size_t>(s)])
                made[static_cast<std::size_t>(s)].set(peer);
        return made;
    }();
    return sets;
}

// The squares that see every one of the squares given.
Squares seenByAll(const Squares& squares)
{
    Squares seen;
    seen.set();
    for (std::size_t s = 0; s < 81; ++s)
        if (squares[s])
            seen &= peerSets()[s];
    return seen;
}

Candidate candidate(std::size_t square, int digit)
{
    return {static_cast<std::uint8_t>(square), static_cast<std::uint8_t>(digit)};
}

std::string digitList(DigitMask digits, const char* separator = ", ")
{
    std::string text;
    for (unsigned d = digits; d != 0; d &= d - 1)
        text += (text.empty() ? "" : separator) + std::to_string(std::countr_zero(d));
    return text;
}

std::string squareList(const Squares& squares)
{
    std::string text;
    for (std::size_t s = 0; s < 81; ++s)
        if (squares[s])
            text += (text.empty() ? "" : ", ") + squareName(static_cast<int>(s));
    return text;
}

// The digits of `own` that some allowed pair (own digit, other digit) uses.
struct Allowed {
    DigitMask first = 0;
    DigitMask second = 0;
};

Allowed allowedPairs(DigitMask a, DigitMask b, const std::vector<DigitMask>& blockers)
{
    Allowed allowed;
    for (unsigned x = a; x != 0; x &= x - 1)
        for (unsigned y = b; y != 0; y &= y - 1) {
            const unsigned pair = (x & -x) | (y & -y);
            if (std::popcount(pair) == 2 && std::ranges::find(blockers, pair) == blockers.end()) {
                allowed.first |= static_cast<DigitMask>(x & -x);
                allowed.second |= static_cast<DigitMask>(y & -y);
            }
        }
    return allowed;
}

std::optional<Finding> alignedPair(const Pencilmarks& marks, const std::vector<int>& twoDigitSquares, int house, int a,
                                   int b)
{
    const DigitMask da = marks.candidates[static_cast<std::size_t>(a)];
    const DigitMask db = marks.candidates[static_cast<std::size_t>(b)];
    std::vector<DigitMask> blockers;
    std::vector<int> blockingSquares;
    for (const int s : twoDigitSquares) {
        const DigitMask ds = marks.candidates[static_cast<std::size_t>(s)];
        if (sees(s, a) && sees(s, b) && (ds & da) != 0 && (ds & db) != 0) {
            blockers.push_back(ds);
            blockingSquares.push_back(s);
        }
    }
    const Allowed allowed = allowedPairs(da, db, blockers);
    Finding found{"aligned-pair-exclusion", 6.2, {}, {}, {}};
    for (unsigned d = da & ~allowed.first; d != 0; d &= d - 1)
        found.removals.push_back(candidate(static_cast<std::size_t>(a), std::countr_zero(d)));
    for (unsigned d = db & ~allowed.second; d != 0; d &= d - 1)
        found.removals.push_back(candidate(static_cast<std::size_t>(b), std::countr_zero(d)));
    if (found.removals.empty())
        return std::nullopt;
    std::string blockerWords;
    for (const int s : blockingSquares)
        blockerWords += (blockerWords.empty() ? "" : ", ") + squareName(s) + " (" +
                        digitList(marks.candidates[static_cast<std::size_t>(s)], " or ") + ")";
    found.text = squareName(a) + " and " + squareName(b) + " share " +
                 (house < 9 ? "row " : house < 18 ? "column " : "block ") + std::to_string(house % 9 + 1) +
                 ", and " + blockerWords +
                 " see both: each pair of digits the two could hold together that uses one of these repeats a "
                 "digit or leaves one of those squares empty (" +
                 conclusionText({}, found.removals) + ")";
    return found;
}

struct AlmostLockedSet {
    Squares squares;
    DigitMask digits = 0;
    std::array<Squares, 10> places{};  // its squares that take each digit
    std::array<Squares, 10> seeing{};  // the squares that see every one of those
};

// A house's almost locked sets of `size` squares.
void addSetsOf(const Pencilmarks& marks, int house, int size, std::vector<AlmostLockedSet>& sets)
{
    static const std::array<std::vector<unsigned>, 5> kChoicesOfSize = [] {
        std::array<std::vector<unsigned>, 5> choices;
        for (unsigned chosen = 1; chosen < 512; ++chosen)
            if (std::popcount(chosen) <= 4)
                choices[static_cast<std::size_t>(std::popcount(chosen))].push_back(chosen);
        return choices;
    }();
    const HouseSquares& squares = kGeometry.houses[static_cast<std::size_t>(house)];
    for (const unsigned chosen : kChoicesOfSize[static_cast<std::size_t>(size)]) {
        AlmostLockedSet set;
        bool empty = true;
        for (unsigned k = chosen; k != 0 && empty; k &= k - 1) {
            const std::uint8_t s = squares[static_cast<std::size_t>(std::countr_zero(k))];
            empty = marks.digits[s] == 0;
            set.squares.set(s);
            set.digits |= marks.candidates[s];
        }
        if (!empty || std::popcount(set.digits) != size + 1)
            continue;
        for (unsigned d = set.digits; d != 0; d &= d - 1) {
            const auto digit = static_cast<std::size_t>(std::countr_zero(d));
            for (unsigned k = chosen; k != 0; k &= k - 1) {
                const std::uint8_t s = squares[static_cast<std::size_t>(std::countr_zero(k))];
                set.places[digit].set(s, (marks.candidates[s] >> digit & 1u) != 0);
            }
            set.seeing[digit] = seenByAll(set.places[digit]);
        }
        sets.push_back(set);
    }
}

std::optional<Finding> alsPair(const Pencilmarks& marks, const AlmostLockedSet& a, const AlmostLockedSet& b)
{
    const auto common = static_cast<DigitMask>(a.digits & b.digits);
    if ((common & (common - 1)) == 0 || (a.squares & b.squares).any())
        return std::nullopt;
    for (unsigned xs = common; xs != 0; xs &= xs - 1) {
        const auto x = static_cast<std::size_t>(std::countr_zero(xs));
        if ((b.places[x] & ~a.seeing[x]).any())
            continue; // some x of one does not see every x of the other
        Finding found{"als-xz", 6.8, {}, {}, {}};
        for (unsigned zs = common & ~(1u << x); zs != 0; zs &= zs - 1) {
            const int z = std::countr_zero(zs);
            const Squares targets = a.seeing[static_cast<std::size_t>(z)] & b.seeing[static_cast<std::size_t>(z)] &
                                    ~(a.squares | b.squares);
            for (std::size_t s = 0; s < 81; ++s)
                if (targets[s] && (marks.candidates[s] >> z & 1u) != 0)
                    found.removals.push_back(candidate(s, z));
        }
        if (found.removals.empty())
            continue;
        found.text = squareList(a.squares) + " take " + digitList(a.digits) + " and " + squareList(b.squares) +
                     " take " + digitList(b.digits) + ": they cannot both hold " + std::to_string(x) +
                     ", which they see each other on, so one is locked without it and holds the other digits they "
                     "share; no square that sees all of those in both can take them (" +
                     conclusionText({}, found.removals) + ")";
        return found;
    }
    return std::nullopt;
}
} // namespace

std::optional<Finding> findAlignedPairExclusion(const Pencilmarks& marks)
{
    std::vector<int> twoDigitSquares;
    for (int s = 0; s < 81; ++s)
        if (std::popcount(marks.candidates[static_cast<std::size_t>(s)]) == 2)
            twoDigitSquares.push_back(s);
    for (int house = 0; house < kHouseCount; ++house) {
        const HouseSquares& squares = kGeometry.houses[static_cast<std::size_t>(house)];
        for (std::size_t i = 0; i < squares.size(); ++i)
            for (std::size_t j = i + 1; j < squares.size(); ++j)
                if (marks.candidates[squares[i]] != 0 && marks.candidates[squares[j]] != 0)
                    if (auto found = alignedPair(marks, twoDigitSquares, house, squares[i], squares[j]))
                        return found;
    }
    return std::nullopt;
}

std::optional<Finding> findAlsXz(const Pencilmarks& marks)
{
    std::vector<AlmostLockedSet> sets; // smallest first: the simplest pairs are tried first
    for (int size = 1; size <= 4; ++size)
        for (int house = 0; house < kHouseCount; ++house)
            addSetsOf(marks, house, size, sets);
    for (std::size_t i = 0; i < sets.size(); ++i)
        for (std::size_t j = i + 1; j < sets.size(); ++j)
            if (auto found = alsPair(marks, sets[i], sets[j]))
                return found;
    return std::nullopt;
}

} // namespace kavrin
