// One function per technique. Each scans in a fixed order (houses 0..26, digits 1..9, squares
// 0..80) and returns its first instance that changes something, so a grade never depends on luck.
#include "grading/techniques.h"

#include "model/geometry.h"
#include "model/square.h"

#include <bit>
#include <cstddef>
#include <initializer_list>

namespace kavrin {

namespace {

constexpr bool hasOne(unsigned mask)
{
    return mask != 0 && (mask & (mask - 1)) == 0;
}

constexpr DigitMask bitOf(int digit)
{
    return static_cast<DigitMask>(1u << digit);
}

int squareOf(int house, int k)
{
    return kGeometry.houses[static_cast<std::size_t>(house)][static_cast<std::size_t>(k)];
}

DigitMask candidatesOf(const Pencilmarks& marks, int square)
{
    return marks.candidates[static_cast<std::size_t>(square)];
}

Deduction placing(Technique technique, int square, int digit, int house)
{
    return {technique, {{static_cast<std::uint8_t>(square), static_cast<std::uint8_t>(digit)}}, {}, Single{house}};
}

// Takes the digits from the square where it still has them; true when it had any.
bool takeAway(std::vector<Candidate>& removals, const Pencilmarks& marks, int square, DigitMask digits)
{
    const auto there = static_cast<DigitMask>(candidatesOf(marks, square) & digits);
    for (unsigned d = there; d != 0; d &= d - 1)
        removals.push_back({static_cast<std::uint8_t>(square), static_cast<std::uint8_t>(std::countr_zero(d))});
    return there != 0;
}

// Items (a house's squares, digits, or lines) each with a mask (the digits a square takes, the
// places a digit or a line has): the first `size` items, in increasing order, with two to
// `size` bits each and exactly `size` bits between them, for which `found` says yes. Index 0
// stands for no item where the items are digits 1..9.
using ItemMasks = std::array<unsigned, 10>;

template <typename Found>
bool closedSet(const ItemMasks& masks, int size, const Found& found)
{
    unsigned eligible = 0;
    for (std::size_t i = 0; i < masks.size(); ++i)
        if (const int n = std::popcount(masks[i]); n >= 2 && n <= size)
            eligible |= 1u << i;
    if (std::popcount(eligible) < size)
        return false;
    // The subsets of eligible, walked upwards: each next one is the smallest above the last.
    for (unsigned items = (0 - eligible) & eligible; items != 0; items = (items - eligible) & eligible) {
        if (std::popcount(items) != size)
            continue;
        unsigned together = 0;
        for (unsigned i = items; i != 0; i &= i - 1)
            together |= masks[static_cast<std::size_t>(std::countr_zero(i))];
        if (std::popcount(together) == size && found(items, together))
            return true;
    }
    return false;
}

std::optional<Deduction> hiddenSingle(const Pencilmarks& marks)
{
    for (int house = 0; house < kHouseCount; ++house) {
        DigitMask once = 0, twice = 0;
        for (const std::uint8_t s : kGeometry.houses[static_cast<std::size_t>(house)]) {
            twice |= once & marks.candidates[s];
            once |= marks.candidates[s];
        }
        const auto singles = static_cast<DigitMask>(once & ~twice);
        if (singles == 0)
            continue;
        const int digit = std::countr_zero(singles);
        return placing(Technique::HiddenSingle, squareOf(house, std::countr_zero(marks.placesOf(house, digit))), digit,
                       house);
    }
    return std::nullopt;
}

std::optional<Deduction> nakedSingle(const Pencilmarks& marks)
{
    for (int s = 0; s < 81; ++s)
        if (hasOne(candidatesOf(marks, s)))
            return placing(Technique::NakedSingle, s, std::countr_zero(candidatesOf(marks, s)), -1);
    return std::nullopt;
}

int kindOf(int house)
{
    return house / 9; // 0 row, 1 column, 2 block
}

bool inHouse(int square, int house)
{
    return kGeometry.housesOf[static_cast<std::size_t>(square)][static_cast<std::size_t>(kindOf(house))] == house;
}

// A digit whose places in a block all lie in one line (pointing), or in a line all lie in one
// block (claiming): the rest of that line, or block, cannot take it.
std::optional<Deduction> lockedSet(const Pencilmarks& marks, Technique technique, int firstHouse, int lastHouse)
{
    for (int house = firstHouse; house <= lastHouse; ++house)
        for (int d = 1; d <= 9; ++d) {
            const PlaceMask places = marks.placesOf(house, d);
            if (std::popcount(places) < 2)
                continue;
            for (const std::uint8_t other : kGeometry.housesOf[static_cast<std::size_t>(squareOf(house, std::countr_zero(places)))]) {
                bool locked = (kindOf(other) == 2) != (kindOf(house) == 2);
                for (PlaceMask p = places; p != 0 && locked; p &= p - 1)
                    locked = inHouse(squareOf(house, std::countr_zero(p)), other);
                if (!locked)
                    continue;
                Deduction step{technique, {}, {}, LockedSet{house, other}};
                bool any = false;
                for (const std::uint8_t s : kGeometry.houses[other])
                    if (!inHouse(s, house))
                        any |= takeAway(step.removals, marks, s, bitOf(d));
                if (any)
                    return step;
            }
        }
    return std::nullopt;
}

// `size` squares of a house that take `size` digits between them: the house's other squares
// cannot take those digits.
std::optional<Deduction> nakedSubset(const Pencilmarks& marks, Technique technique, int size)
{
    std::optional<Deduction> result;
    for (int house = 0; house < kHouseCount && !result; ++house) {
        ItemMasks digitsOf{};
        for (int k = 0; k < 9; ++k)
            digitsOf[static_cast<std::size_t>(k)] = candidatesOf(marks, squareOf(house, k));
        closedSet(digitsOf, size, [&](unsigned squares, unsigned digits) {
            Subset subset{house, static_cast<DigitMask>(digits), {}, 0};
            Deduction step{technique, {}, {}, {}};
            bool any = false;
            for (int k = 0; k < 9; ++k)
                if ((squares >> k & 1u) != 0)
                    subset.squares[static_cast<std::size_t>(subset.size++)] = static_cast<std::uint8_t>(squareOf(house, k));
                else
                    any |= takeAway(step.removals, marks, squareOf(house, k), subset.digits);
            step.pattern = subset;
            if (any)
                result = step;
            return any;
        });
    }
    return result;
}

// `size` digits that can only go in the same `size` squares of a house: those squares take
// nothing else.
std::optional<Deduction> hiddenSubset(const Pencilmarks& marks, Technique technique, int size)
{
    std::optional<Deduction> result;
    for (int house = 0; house < kHouseCount && !result; ++house) {
        ItemMasks placesOf{};
        for (int d = 1; d <= 9; ++d)
            placesOf[static_cast<std::size_t>(d)] = marks.placesOf(house, d);
        closedSet(placesOf, size, [&](unsigned digits, unsigned places) {
            Subset subset{house, static_cast<DigitMask>(digits), {}, 0};
            Deduction step{technique, {}, {}, {}};
            bool any = false;
            for (unsigned p = places; p != 0; p &= p - 1) {
                const int s = squareOf(house, std::countr_zero(p));
                subset.squares[static_cast<std::size_t>(subset.size++)] = static_cast<std::uint8_t>(s);
                any |= takeAway(step.removals, marks, s, static_cast<DigitMask>(~digits));
            }
            step.pattern = subset;
            if (any)
                result = step;
            return any;
        });
    }
    return result;
}

// A digit that, in `size` rows (or columns), can only go in the same `size` columns (or rows):
// those columns (rows) cannot take it elsewhere.
std::optional<Deduction> fish(const Pencilmarks& marks, Technique technique, int size)
{
    std::optional<Deduction> result;
    for (int d = 1; d <= 9 && !result; ++d)
        for (const int firstBase : {0, 9}) {
            const int firstCover = 9 - firstBase;
            ItemMasks placesOf{};
            for (int k = 0; k < 9; ++k)
                placesOf[static_cast<std::size_t>(k)] = marks.placesOf(firstBase + k, d);
            const bool found = closedSet(placesOf, size, [&](unsigned bases, unsigned covers) {
                Fish lines{{}, {}, size};
                std::size_t i = 0;
                for (unsigned b = bases, c = covers; b != 0; b &= b - 1, c &= c - 1, ++i) {
                    lines.bases[i] = static_cast<std::uint8_t>(firstBase + std::countr_zero(b));
                    lines.covers[i] = static_cast<std::uint8_t>(firstCover + std::countr_zero(c));
                }
                Deduction step{technique, {}, {}, lines};
                bool any = false;
                for (unsigned c = covers; c != 0; c &= c - 1)
                    for (int k = 0; k < 9; ++k)
                        if ((bases >> k & 1u) == 0)
                            any |= takeAway(step.removals, marks, squareOf(firstCover + std::countr_zero(c), k), bitOf(d));
                if (any)
                    result = step;
                return any;
            });
            if (found)
                break;
        }
    return result;
}

// A pivot taking x or y, and two squares it sees taking x or z and y or z: one of them holds z,
// so a square that sees both pincers (and, for the XYZ-wing, the pivot holding z too) cannot.
std::optional<Deduction> wing(const Pencilmarks& marks, Technique technique, int pivotDigits)
{
    for (int pivot = 0; pivot < 81; ++pivot) {
        const DigitMask xy = candidatesOf(marks, pivot);
        if (std::popcount(xy) != pivotDigits)
            continue;
        const auto& peers = kGeometry.peers[static_cast<std::size_t>(pivot)];
        for (std::size_t i = 0; i < peers.size(); ++i)
            for (std::size_t j = i + 1; j < peers.size(); ++j) {
                const DigitMask a = candidatesOf(marks, peers[i]), b = candidatesOf(marks, peers[j]);
                const auto z = static_cast<DigitMask>(a & b);
                const bool shape = std::popcount(a) == 2 && std::popcount(b) == 2 && a != b && hasOne(z) &&
                                   (a | b) == (pivotDigits == 2 ? xy | z : xy);
                if (!shape)
                    continue;
                Deduction step{technique, {}, {}, Wing{{static_cast<std::uint8_t>(pivot), peers[i], peers[j]}, {xy, a, b}}};
                bool any = false;
                for (int s = 0; s < 81; ++s)
                    if (sees(s, peers[i]) && sees(s, peers[j]) && (pivotDigits == 2 || sees(s, pivot)))
                        any |= takeAway(step.removals, marks, s, z);
                if (any)
                    return step;
            }
    }
    return std::nullopt;
}

} // namespace

std::string_view techniqueName(Technique technique)
{
    static constexpr std::string_view kNames[kTechniqueCount] = {
        "hidden-single", "naked-single", "pointing",  "claiming",   "naked-pair",
        "hidden-pair",   "naked-triple", "hidden-triple", "x-wing", "xy-wing",
        "xyz-wing",      "naked-quad",   "hidden-quad", "swordfish", "jellyfish"};
    return kNames[static_cast<int>(technique)];
}

std::optional<Deduction> findStep(Technique technique, const Pencilmarks& marks)
{
    switch (technique) {
    case Technique::HiddenSingle:
        return hiddenSingle(marks);
    case Technique::NakedSingle:
        return nakedSingle(marks);
    case Technique::Pointing:
        return lockedSet(marks, technique, 18, 26);
    case Technique::Claiming:
        return lockedSet(marks, technique, 0, 17);
    case Technique::NakedPair:
        return nakedSubset(marks, technique, 2);
    case Technique::HiddenPair:
        return hiddenSubset(marks, technique, 2);
    case Technique::NakedTriple:
        return nakedSubset(marks, technique, 3);
    case Technique::HiddenTriple:
        return hiddenSubset(marks, technique, 3);
    case Technique::XWing:
        return fish(marks, technique, 2);
    case Technique::XYWing:
        return wing(marks, technique, 2);
    case Technique::XYZWing:
        return wing(marks, technique, 3);
    case Technique::NakedQuad:
        return nakedSubset(marks, technique, 4);
    case Technique::HiddenQuad:
        return hiddenSubset(marks, technique, 4);
    case Technique::Swordfish:
        return fish(marks, technique, 3);
    case Technique::Jellyfish:
        return fish(marks, technique, 4);
    }
    return std::nullopt;
}

void apply(const Deduction& step, Pencilmarks& marks)
{
    marks.apply(step.placements, step.removals);
}

double ratingOf(const Deduction& step, const Pencilmarks& marks)
{
    // Ladder order is not rating order: an x-wing is tried after triples but rated below them.
    static constexpr double kRatings[kTechniqueCount] = {1.2, 2.3, 2.6, 2.8, 3.0, 3.4, 3.6, 4.0,
                                                         3.2, 4.2, 4.4, 5.0, 5.4, 3.8, 5.2};
    if (step.technique != Technique::HiddenSingle)
        return kRatings[static_cast<int>(step.technique)];
    // A player takes the easiest single in sight, whichever the ladder names: the last empty
    // square of a house, then one in a block, then one in a line.
    double easiest = 1.5;
    for (int house = 0; house < kHouseCount; ++house) {
        int empty = 0;
        DigitMask once = 0, twice = 0;
        for (const std::uint8_t s : kGeometry.houses[static_cast<std::size_t>(house)]) {
            empty += marks.digits[s] == 0 ? 1 : 0;
            twice |= once & marks.candidates[s];
            once |= marks.candidates[s];
        }
        if (empty == 1)
            return 1.0;
        if (kindOf(house) == 2 && (once & ~twice) != 0)
            easiest = 1.2;
    }
    return easiest;
}

} // namespace kavrin
