// The batch solver: digit bit sets, propagation of singles and box-line eliminations, branching
// on a square with the fewest digits.
//
// Layout and invariants:
// - A Set holds squares in four 32-bit lanes. Square i (0..80, row-major) is bit i % 27 of lane
//   i / 27: lane b holds the three rows of band b, nine bits a row. A row or a block lies in one
//   lane, a column crosses three. Lane 3 holds no square; house tallies use it.
// - where[d]: squares where a d + 1 may still go: none sees a d + 1, and no box-line elimination
//   has ruled it out. Filled squares are taken out by masking with empty.
// - holds[d]: the tally bits (tallyHouses) of the houses that hold a d + 1.
// - empty: the squares that hold nothing; digits: what the others hold.
// Only place(), eliminateBoxLines() and the search's bound change them. The first two never
// remove a digit from a square that a solution of the state puts there; the bound removes only
// digits of solutions that are not below the smallest one found. Propagation fails when an empty
// square has no digit left, or, once naked singles stall, when a house has no square left for a
// digit it lacks; it never fails on a state with a solution.
#include "solving/fast_solver.h"

#include "model/geometry.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kavrin {

namespace {

using Set = std::uint32_t __attribute__((vector_size(16)));
using Halves = std::uint64_t __attribute__((vector_size(16)));

constexpr int kSquares = 81;

// Bit i % 27 of lane i / 27; i = 81..89 are the bits of lane 3. For the tables: the search reads
// kLaneMasks.bits instead, a load where this takes a division and four selects.
constexpr Set bit(int i)
{
    const std::uint32_t b = 1u << (i % 27);
    const int lane = i / 27;
    return Set{lane == 0 ? b : 0, lane == 1 ? b : 0, lane == 2 ? b : 0, lane == 3 ? b : 0};
}

constexpr Set everyLane(std::uint32_t bits)
{
    return Set{bits, bits, bits, 0};
}

bool none(Set s)
{
    const auto h = reinterpret_cast<Halves>(s);
    return (h[0] | h[1]) == 0;
}

bool any(Set s)
{
    return !none(s);
}

// The index, as bit() counts, of the set's bit at position `at` of its 128.
constexpr int bitIndex(int at)
{
    return at / 32 * 27 + at % 32;
}

// The index of the first bit, as bit() counts; the set must not be empty.
int lowest(Set s)
{
    const auto h = reinterpret_cast<Halves>(s);
    return bitIndex(h[0] != 0 ? std::countr_zero(h[0]) : 64 + std::countr_zero(h[1]));
}

int popcount(Set s)
{
    const auto h = reinterpret_cast<Halves>(s);
    return std::popcount(h[0]) + std::popcount(h[1]);
}

// Calls visit(i) for each bit i of s, as bit() counts, in order, while visit returns true; false
// if a visit did. The bits are taken from the halves in general registers, where finding the
// next one costs an instruction.
template <class Visit>
[[gnu::always_inline]] inline bool everyBit(Set s, Visit visit)
{
    const auto h = reinterpret_cast<Halves>(s);
    for (std::uint64_t bits = h[0]; bits != 0; bits &= bits - 1)
        if (!visit(bitIndex(std::countr_zero(bits))))
            return false;
    for (std::uint64_t bits = h[1]; bits != 0; bits &= bits - 1)
        if (!visit(bitIndex(64 + std::countr_zero(bits))))
            return false;
    return true;
}

constexpr Set squaresOf(const HouseSquares& house)
{
    Set s{};
    for (const std::uint8_t square : house)
        s |= bit(square);
    return s;
}

constexpr Set kAllSquares = everyLane(0x7FFFFFF);

// Where each house's tally ends up: a row on its last square, a block on its first square, a
// column in lane 3 (bit c for column c). No two houses share a bit.
constexpr int tallyBit(int house)
{
    if (house < columnHouse(0))
        return kGeometry.houses[house][8];
    if (house < blockHouse(0))
        return kSquares + house - columnHouse(0);
    return kGeometry.houses[house][0];
}

constexpr Set tallyBits(int firstHouse, int lastHouse)
{
    Set s{};
    for (int house = firstHouse; house <= lastHouse; ++house)
        s |= bit(tallyBit(house));
    return s;
}

constexpr Set kRowEnds = tallyBits(rowHouse(0), rowHouse(8));
constexpr Set kColumnEnds = tallyBits(columnHouse(0), columnHouse(8));
constexpr Set kBlockStarts = tallyBits(blockHouse(0), blockHouse(8));
constexpr Set kHouseEnds = kRowEnds | kColumnEnds | kBlockStarts;

// The geometry as bit sets, square by square and house by house.
struct LaneMasks {
    std::array<Set, 90> bits{};        // bit i alone: the squares, then the columns' tally bits
    std::array<Set, kSquares> peers{};
    std::array<Set, kSquares> ends{};  // the tally bits of the square's three houses
    std::array<Set, 90> houseAtEnd{};  // the squares of the house whose tally bit it is
};

constexpr LaneMasks kLaneMasks = [] {
    LaneMasks m;
    for (int i = 0; i < 90; ++i)
        m.bits[i] = bit(i);
    for (int s = 0; s < kSquares; ++s) {
        for (const std::uint8_t peer : kGeometry.peers[s])
            m.peers[s] |= bit(peer);
        for (const std::uint8_t house : kGeometry.housesOf[s])
            m.ends[s] |= bit(tallyBit(house));
    }
    for (int house = 0; house < kHouseCount; ++house)
        m.houseAtEnd[tallyBit(house)] = squaresOf(kGeometry.houses[house]);
    return m;
}();

// Two digits' sets side by side, the second in lanes 4 to 7: houses are tallied and box-line
// eliminations found two digits at a time, in one AVX2 instruction.
using Pair = std::uint32_t __attribute__((vector_size(32)));
using PairHalves = std::uint64_t __attribute__((vector_size(32)));

Pair twofold(Set s)
{
    return __builtin_shufflevector(s, s, 0, 1, 2, 3, 0, 1, 2, 3);
}

constexpr Pair twofold(std::uint32_t bits)
{
    return Pair{bits, bits, bits, 0, bits, bits, bits, 0};
}

bool any(Pair p)
{
    const auto h = reinterpret_cast<PairHalves>(p);
    return ((h[0] | h[1]) | (h[2] | h[3])) != 0;
}

Set firstOf(Pair p)
{
    return __builtin_shufflevector(p, p, 0, 1, 2, 3);
}

Set secondOf(Pair p)
{
    return __builtin_shufflevector(p, p, 4, 5, 6, 7);
}

// Squares seen once and at least twice while houses are folded onto their tally bits.
struct Tally {
    Pair once, twice;
};

Tally operator+(Tally a, Tally b)
{
    return {a.once | b.once, a.twice | b.twice | (a.once & b.once)};
}

Tally operator<<(Tally t, int n)
{
    return {t.once << n, t.twice << n};
}

Tally operator>>(Tally t, int n)
{
    return {t.once >> n, t.twice >> n};
}

Tally seen(Pair s)
{
    return {s, Pair{}};
}

// Lane 3 of each digit's lanes holds the given lane of p; the others are empty.
template <int lane>
Pair laneToLast(Pair p)
{
    return __builtin_shufflevector(p, Pair{}, 8, 8, 8, lane, 8, 8, 8, 4 + lane);
}

template <int lane>
Tally laneToLast(Tally t)
{
    return {laneToLast<lane>(t.once), laneToLast<lane>(t.twice)};
}

// The 27 houses of two digits' squares tallied at once, each on its own bit.
Tally tallyHouses(Pair w)
{
    const Tally three = seen(w) + seen(w >> 1) + seen(w >> 2);
    // A row's thirds start three squares apart; its tally moves from its first square to its last.
    const Tally rows = (three + (three >> 3) + (three >> 6)) << 8;
    const Tally blocks = three + (three >> 9) + (three >> 18);
    const Tally bands = seen(w) + seen(w >> 9) + seen(w >> 18);
    const Tally columns = laneToLast<0>(bands) + laneToLast<1>(bands) + laneToLast<2>(bands);
    const Pair rowEnds = twofold(kRowEnds), blockStarts = twofold(kBlockStarts), columnEnds = twofold(kColumnEnds);
    return {(rows.once & rowEnds) | (blocks.once & blockStarts) | (columns.once & columnEnds),
            (rows.twice & rowEnds) | (blocks.twice & blockStarts) | (columns.twice & columnEnds)};
}

// Three groups of three marks, `step` bits apart within a group and `3 step` between groups;
// for each mark, the marks of the other two in its group.
template <int step>
Pair othersInGroup(Pair marks)
{
    constexpr std::uint32_t firsts = 1u | 1u << (3 * step) | 1u << (6 * step);
    constexpr Pair first = twofold(firsts), second = twofold(firsts << step), third = twofold(firsts << (2 * step));
    return ((marks << step) & (second | third)) | ((marks << (2 * step)) & third) |
           ((marks >> step) & (first | second)) | ((marks >> (2 * step)) & first);
}

// A row's three thirds in a band: bits 9 r + 3 k for row r of the band and block k of it.
constexpr std::uint32_t kThirdStarts = 0x1249249;

// For each third of a row, the other thirds of its row, and those of its block.
Pair othersInRow(Pair thirds)
{
    return othersInGroup<3>(thirds);
}

Pair othersInBlock(Pair thirds)
{
    // A block's thirds are 9 bits apart, one in each row of the band.
    return ((thirds << 9) | (thirds << 18) | (thirds >> 9) | (thirds >> 18)) & twofold(kThirdStarts);
}

// For each column of a band (bit c of its lane), the other columns of its block in that band,
// and the same column in the other bands.
Pair othersInStack(Pair columns)
{
    return othersInGroup<1>(columns);
}

Pair othersInColumn(Pair columns)
{
    return __builtin_shufflevector(columns, columns, 1, 2, 0, 3, 5, 6, 4, 7) |
           __builtin_shufflevector(columns, columns, 2, 0, 1, 3, 6, 4, 5, 7);
}

// The squares of two digits that box-line reasoning rules out: a digit confined to one line of
// a block leaves the rest of that line, and one confined to one block in a line leaves the rest
// of that block.
Pair boxLineEliminations(Pair w)
{
    // blockInRow: a third that holds every place of its block; rowInBlock: every place of its
    // row. The same for the columns of a band, each standing for its three squares there.
    const Pair thirds = (w | w >> 1 | w >> 2) & twofold(kThirdStarts);
    const Pair blockInRow = thirds & ~othersInBlock(thirds);
    const Pair rowInBlock = thirds & ~othersInRow(thirds);
    const Pair lostThirds = othersInRow(blockInRow) | othersInBlock(rowInBlock);
    const Pair columns = (w | w >> 9 | w >> 18) & twofold(0x1FF);
    const Pair blockInColumn = columns & ~othersInStack(columns);
    const Pair columnInBlock = columns & ~othersInColumn(columns);
    const Pair lostColumns = othersInColumn(blockInColumn) | othersInStack(columnInBlock);
    return (lostThirds | lostThirds << 1 | lostThirds << 2) | (lostColumns | lostColumns << 9 | lostColumns << 18);
}

struct State {
    // Nine digits and a tenth that goes nowhere and is in every house, so that digits go two
    // at a time.
    std::array<Set, 10> where;
    std::array<Set, 10> holds;
    Set empty;
    Grid digits;

    // Every square empty; the members are left unset otherwise, so that a stack of states
    // costs nothing to make.
    static State blank()
    {
        State s;
        s.where.fill(kAllSquares);
        s.holds.fill(Set{});
        s.where[9] = Set{};
        s.holds[9] = kHouseEnds;
        s.empty = kAllSquares;
        s.digits.fill(0);
        return s;
    }

    Set left(int d) const { return where[d] & empty; }
    bool fits(int d, int square) const { return any(left(d) & kLaneMasks.bits[square]); }

    // Digits first and first + 1 side by side.
    static Pair pairOf(const std::array<Set, 10>& sets, int first)
    {
        Pair p;
        std::memcpy(&p, &sets[static_cast<std::size_t>(first)], sizeof p);
        return p;
    }

    Pair leftTwo(int first) const
    {
        return pairOf(where, first) & twofold(empty);
    }

    void place(int square, int d)
    {
        empty &= ~kLaneMasks.bits[square];
        where[d] &= ~kLaneMasks.peers[square];
        holds[d] |= kLaneMasks.ends[square];
        digits[static_cast<std::size_t>(square)] = static_cast<std::uint8_t>(d + 1);
    }

    // The propagation steps are always inlined: GCC's -O2 would leave them out of the search
    // and so compiled for the baseline processor alone, a sixth slower.

    // Squares with one digit left get it; false if an empty square has none.
    [[gnu::always_inline]] bool placeNakedSingles(bool& progress)
    {
        // Two digits at a time, the pairs' halves folded together at the end.
        Pair pairOnce{}, pairTwice{};
        std::array<Pair, 4> pairBits{};
        for (int first = 0; first < 9; first += 2) {
            const Pair places = leftTwo(first);
            pairTwice |= pairOnce & places;
            pairOnce |= places;
            // The second digit of a pair has bit 0 set; the first shares the others with it.
            for (int k = 1; k < 4; ++k)
                if (first >> k & 1)
                    pairBits[static_cast<std::size_t>(k)] |= places;
            pairBits[0] |= places;
        }
        const Set once = firstOf(pairOnce) | secondOf(pairOnce);
        const Set twice = firstOf(pairTwice) | secondOf(pairTwice) | (firstOf(pairOnce) & secondOf(pairOnce));
        // Bit k of the digit of each square that has one left: read square by square, where a
        // loop over digits would branch at random on which of them have singles.
        const std::array<Set, 4> digitBits{secondOf(pairBits[0]),
                                           firstOf(pairBits[1]) | secondOf(pairBits[1]),
                                           firstOf(pairBits[2]) | secondOf(pairBits[2]),
                                           firstOf(pairBits[3]) | secondOf(pairBits[3])};
        if (any(empty & ~once))
            return false;
        return everyBit(once & ~twice, [&](int square) {
            const Set at = kLaneMasks.bits[static_cast<std::size_t>(square)];
            const int d = any(digitBits[0] & at) | any(digitBits[1] & at) << 1 | any(digitBits[2] & at) << 2 |
                          any(digitBits[3] & at) << 3;
            if (!fits(d, square))
                return false; // a peer took the same digit in this pass
            place(square, d);
            progress = true;
            return true;
        });
    }

    // Digits with one square left in a house go there; false if a house has no square left
    // for a digit it lacks.
    [[gnu::always_inline]] bool placeHiddenSingles(bool& progress)
    {
        for (int first = 0; first < 9; first += 2) {
            const Tally houses = tallyHouses(leftTwo(first));
            if (any(twofold(kHouseEnds) & ~houses.once & ~pairOf(holds, first)))
                return false;
            const Pair singles = houses.once & ~houses.twice;
            if (!placeHiddenSingles(first, firstOf(singles), progress) ||
                !placeHiddenSingles(first + 1, secondOf(singles), progress))
                return false;
        }
        return true;
    }

    // A digit's tallied singles, which may have been taken before its partner's were placed.
    [[gnu::always_inline]] bool placeHiddenSingles(int d, Set ends, bool& progress)
    {
        return everyBit(ends, [&](int end) {
            const Set rest = left(d) & kLaneMasks.houseAtEnd[static_cast<std::size_t>(end)];
            if (any(rest)) {
                place(lowest(rest), d);
                progress = true;
                return true;
            }
            // Else an earlier placement here took its last square.
            return any(holds[d] & kLaneMasks.bits[static_cast<std::size_t>(end)]);
        });
    }

    [[gnu::always_inline]] void eliminateBoxLines(bool& progress)
    {
        for (int first = 0; first < 9; first += 2) {
            const Pair places = leftTwo(first);
            const Pair ruledOut = boxLineEliminations(places) & places;
            if (any(ruledOut)) {
                const Pair w = pairOf(where, first) & ~ruledOut;
                std::memcpy(&where[static_cast<std::size_t>(first)], &w, sizeof w);
                progress = true;
            }
        }
    }

    // Naked singles until they stall, then hidden singles, then (when asked) box-line
    // eliminations.
    [[gnu::always_inline]] bool propagate(bool boxLines)
    {
        for (bool progress = true; progress;) {
            progress = false;
            if (!placeNakedSingles(progress))
                return false;
            if (!progress && !placeHiddenSingles(progress))
                return false;
            if (!progress && boxLines)
                eliminateBoxLines(progress);
        }
        return true;
    }

    // Bit slices of each empty square's count of digits left: count = 1 b1 + 2 b2 + 4 b4 + 8 b8.
    struct DigitCounts {
        Set b1, b2, b4, b8;
        Set with(int n) const
        {
            return (n & 1 ? b1 : ~b1) & (n & 2 ? b2 : ~b2) & (n & 4 ? b4 : ~b4) & (n & 8 ? b8 : ~b8);
        }
    };

    DigitCounts digitCounts() const
    {
        DigitCounts c{};
        for (int d = 0; d < 9; ++d) {
            const Set c2 = c.b1 & left(d);
            c.b1 ^= left(d);
            const Set c4 = c.b2 & c2;
            c.b2 ^= c2;
            c.b8 |= c.b4 & c4;
            c.b4 ^= c4;
        }
        return c;
    }

    // The empty squares with the fewest digits left (two or more: singles are placed by then).
    Set fewestDigits(const DigitCounts& counts) const
    {
        for (int n = 2; n < 9; ++n)
            if (const Set with = empty & counts.with(n); any(with))
                return with;
        return empty;
    }

    // The first in index order of the squares with the fewest digits left.
    int firstWithFewestDigits() const { return lowest(fewestDigits(digitCounts())); }

    // Of the squares with the fewest digits left, the one whose digits reach furthest: it sees
    // the most empty squares (four points each) and squares with two digits (one each). This
    // halves the guesses on hard puzzles against the first such square.
    int mostConstrainingSquare() const
    {
        const DigitCounts counts = digitCounts();
        const Set pairs = empty & counts.with(2);
        // Score and square in one key, the earlier square winning a tie, so that the choice
        // takes no branch.
        int best = 0;
        everyBit(fewestDigits(counts), [&](int square) {
            const Set peers = kLaneMasks.peers[static_cast<std::size_t>(square)];
            const int score = 4 * popcount(empty & peers) + popcount(pairs & peers);
            best = std::max(best, score << 7 | (127 - square));
            return true;
        });
        return 127 - (best & 127);
    }
};

// Depth-first from the square with the fewest digits left, smallest digit first (or in a random
// order), counting solutions up to the limit, and, when asked, keeping to solutions below the
// smallest one found so far.
// The levels are a stack of its own, so that the whole search is one function, compiled for any
// x86-64, for AVX2 and BMI2, and for AVX-512.
class BitSearch {
public:
    // Past the first solution, belowBest keeps to smaller ones.
    BitSearch(long long limit, bool belowBest) : limit_(limit), random_(nullptr), boxLines_(true), belowBest_(belowBest) {}
    // Each square's digits in a random order, and singles alone: box-line eliminations would
    // change the squares chosen, and so the grid a seed gives.
    explicit BitSearch(std::mt19937_64& random) : limit_(1), random_(&random), boxLines_(false), belowBest_(false) {}

    // Propagates, then records a solution or branches.
    void settle(const State& start);

    [[gnu::always_inline]] void search(const State& start)
    {
        levels_[0].state = start;
        int depth = 0;
        if (!settleLevel(levels_[0].state) || !open(levels_[0]))
            return;
        while (depth >= 0) {
            Level& level = levels_[static_cast<std::size_t>(depth)];
            if (count_ >= limit_ || level.tried == level.choices) {
                --depth;
                continue;
            }
            const int d = level.order[static_cast<std::size_t>(level.tried++)];
            ++guesses_;
            Level& next = levels_[static_cast<std::size_t>(depth) + 1];
            next.state = level.state;
            next.state.place(level.square, d);
            if (settleLevel(next.state) && open(next))
                ++depth;
        }
    }

    long long count() const { return count_; }
    long long guesses() const { return guesses_; }
    const Grid& smallest() const { return smallest_; }

private:
    struct Level {
        State state;
        int square;
        int tried;
        int choices;                        // digits that fit the square
        std::array<std::uint8_t, 9> order;  // those digits, in the order they are tried
    };

    // Propagates, and once a solution is known keeps the state to smaller ones: false when the
    // state has none left.
    bool settleLevel(State& state) const
    {
        for (;;) {
            if (!state.propagate(boxLines_))
                return false;
            if (!belowBest_ || count_ == 0)
                return true;
            const auto differs = std::mismatch(state.digits.begin(), state.digits.end(), smallest_.begin());
            if (differs.first == state.digits.end())
                return false; // the best one itself
            if (*differs.first != 0)
                return *differs.first < *differs.second;
            // The first square off the best one's path is empty: no digit above the best one's.
            const int square = static_cast<int>(differs.first - state.digits.begin());
            bool narrowed = false;
            for (int d = *differs.second; d < 9; ++d)
                if (state.fits(d, square)) {
                    state.where[static_cast<std::size_t>(d)] &= ~kLaneMasks.bits[static_cast<std::size_t>(square)];
                    narrowed = true;
                }
            if (!narrowed)
                return true;
        }
    }

    // Records a solved level; readies an unsolved one to branch. True for the second.
    bool open(Level& level)
    {
        if (none(level.state.empty)) {
            record(level.state.digits);
            return false;
        }
        // A search that ends at its first solution (a seed's grid among them, which depends on
        // the squares chosen) takes the plain choice, which finds one sooner in a loose grid;
        // one that must go on past it takes the square that fails soonest.
        level.square = limit_ == 1 ? level.state.firstWithFewestDigits() : level.state.mostConstrainingSquare();
        level.tried = 0;
        std::array<std::uint8_t, 9> all = {0, 1, 2, 3, 4, 5, 6, 7, 8};
        if (random_)
            std::shuffle(all.begin(), all.end(), *random_);
        // The digits that fit, kept without a branch: a test at each try would fail at random.
        level.choices = 0;
        for (const std::uint8_t d : all) {
            level.order[static_cast<std::size_t>(level.choices)] = d;
            level.choices += level.state.fits(d, level.square);
        }
        return true;
    }

    void record(const Grid& solution)
    {
        if (count_++ == 0 || solution < smallest_)
            smallest_ = solution;
    }

    long long limit_;
    std::mt19937_64* random_;
    bool boxLines_;
    bool belowBest_;
    long long count_ = 0;
    long long guesses_ = 0;
    Grid smallest_{};
    std::array<Level, kSquares + 1> levels_; // one per square placed by a guess, and the start
};

[[gnu::flatten]] void searchAnywhere(BitSearch& search, const State& start)
{
    search.search(start);
}

#if defined(__x86_64__) && defined(__GNUC__)
[[gnu::flatten, gnu::target("arch=x86-64-v3")]] void searchWithAvx2(BitSearch& search, const State& start)
{
    search.search(start);
}

// AVX-512's three-input logic folds the tallies' and-or steps into one instruction each.
[[gnu::flatten, gnu::target("arch=x86-64-v4")]] void searchWithAvx512(BitSearch& search, const State& start)
{
    search.search(start);
}

// Chosen by a plain test rather than by the loader, which would run the choice before a
// sanitizer's runtime is ready.
const auto kSearch = [] {
    __builtin_cpu_init(); // the test may run before the constructors that would do this
    const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2");
    const bool avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
                        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512dq");
    return avx2 && avx512 ? searchWithAvx512 : avx2 ? searchWithAvx2 : searchAnywhere;
}();

void BitSearch::settle(const State& start)
{
    kSearch(*this, start);
}
#else
void BitSearch::settle(const State& start)
{
    searchAnywhere(*this, start);
}
#endif

// The first solution in index order of a state that has the known one: square by square, the
// smallest digit with a solution beyond it. Only digits below the known solution's are tried,
// each with a search of its own, so no dead end is ever walked square by square.
Grid firstInIndexOrder(State state, Grid known, long long& guesses)
{
    state.propagate(true);
    while (any(state.empty)) {
        const int square = lowest(state.empty);
        const int knownDigit = known[static_cast<std::size_t>(square)] - 1;
        bool smaller = false;
        for (int d = 0; d < knownDigit && !smaller; ++d) {
            if (!state.fits(d, square))
                continue;
            State trial = state;
            trial.place(square, d);
            BitSearch probe(1, false);
            probe.settle(trial);
            guesses += probe.guesses() + 1;
            if ((smaller = probe.count() > 0)) {
                known = probe.smallest();
                state = trial;
            }
        }
        if (!smaller) {
            state.place(square, knownDigit);
            state.propagate(true);
        }
    }
    return known;
}

} // namespace

Grid RandomFullGrid(std::mt19937_64& random)
{
    BitSearch search(random);
    search.settle(State::blank());
    return search.smallest();
}

SolutionCount CountSolutions(const Grid& grid, long long limit)
{
    State start = State::blank();
    for (int word = 0; word < 2; ++word) {
        // The givens are gathered as bits first, in a register: a test per square for whether it
        // holds one would be mispredicted at every other given.
        std::uint64_t givens = 0;
        for (int s = 64 * word; s < std::min(64 * word + 64, kSquares); ++s)
            givens |= std::uint64_t{grid[static_cast<std::size_t>(s)] - 1u < 9u} << (s % 64);
        for (; givens != 0; givens &= givens - 1) {
            const int s = 64 * word + std::countr_zero(givens);
            const int d = grid[static_cast<std::size_t>(s)] - 1;
            if (!start.fits(d, s))
                return {}; // repeats a given of its row, column or block
            start.place(s, d);
        }
    }
    // Past one solution, so that a unique puzzle's only one is known to be the first. Asked for
    // no more than one, the search keeps to solutions below the first it finds: proving that
    // none is smaller costs less than proving that there is no other.
    const long long cap = std::max(limit, 2LL);
    BitSearch counting(cap, limit <= 1);
    counting.settle(start);
    SolutionCount result{std::min(counting.count(), std::max(limit, 1LL)), counting.smallest(), counting.guesses()};
    // Stopped at the cap, the smallest solution seen need not be the first.
    if (counting.count() == cap)
        result.first = firstInIndexOrder(start, result.first, result.guesses);
    return result;
}

} // namespace kavrin
