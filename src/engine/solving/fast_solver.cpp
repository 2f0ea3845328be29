// The batch solver: digit bit sets, propagation of singles, branching on the fewest digits.
//
// Layout and invariants:
// - A Set holds squares in four 32-bit lanes. Square i + 1 (i = 0..80, row-major) is bit i % 27
//   of lane i / 27: lane b holds the three rows of band b, nine bits a row. A row or a block lies
//   in one lane, a column crosses three. Lane 3 holds no square; house tallies use it.
// - where[d]: squares that see no d + 1. Filled squares are taken out by masking with empty.
// - holds[d]: the tally bits (tallyHouses) of the houses that hold a d + 1.
// - empty: the squares that hold nothing; digits: what the others hold.
// Only place() changes them. Propagation fails as soon as an empty square has no digit left, or
// a house has no square left for a digit it lacks; it never fails on a state with a solution.
#include "solving/fast_solver.h"

#include <algorithm>
#include <bit>

namespace kavrin {

namespace {

using Set = std::uint32_t __attribute__((vector_size(16)));
using Halves = std::uint64_t __attribute__((vector_size(16)));

constexpr int kSquares = 81;

// Bit i % 27 of lane i / 27; i = 81..89 are the bits of lane 3.
constexpr Set bit(int i)
{
    const std::uint32_t b = 1u << (i % 27);
    const int lane = i / 27;
    return Set{lane == 0 ? b : 0, lane == 1 ? b : 0, lane == 2 ? b : 0, lane == 3 ? b : 0};
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

// The index of the first bit, as bit() counts; the set must not be empty.
int lowest(Set s)
{
    const auto h = reinterpret_cast<Halves>(s);
    const int at = h[0] != 0 ? std::countr_zero(h[0]) : 64 + std::countr_zero(h[1]);
    return at / 32 * 27 + at % 32;
}

Set withoutLowest(Set s)
{
    auto h = reinterpret_cast<Halves>(s);
    if (h[0] != 0)
        h[0] &= h[0] - 1;
    else
        h[1] &= h[1] - 1;
    return reinterpret_cast<Set>(h);
}

constexpr Set kAllSquares = {0x7FFFFFF, 0x7FFFFFF, 0x7FFFFFF, 0};
// Where each house's tally ends up: a row on its last square, a block on its first square, a
// column in lane 3 (bit c for column c + 1). No two houses share a bit.
constexpr Set kRowEnds = {0x4020100, 0x4020100, 0x4020100, 0};
constexpr Set kBlockStarts = {0x49, 0x49, 0x49, 0};
constexpr Set kColumnEnds = {0, 0, 0, 0x1FF};
constexpr Set kHouseEnds = kRowEnds | kBlockStarts | kColumnEnds;

struct Geometry {
    std::array<Set, kSquares> squares{};
    std::array<Set, kSquares> peers{};
    std::array<Set, kSquares> ends{};         // the tally bits of the square's three houses
    std::array<Set, 90> houseAtEnd{};         // the squares of the house whose tally bit it is
};

constexpr Geometry kGeometry = [] {
    Geometry g;
    std::array<Set, 27> houses{}; // rows, columns, blocks
    for (int s = 0; s < kSquares; ++s) {
        const int row = s / 9, col = s % 9, block = row / 3 * 3 + col / 3;
        houses[row] |= bit(s);
        houses[9 + col] |= bit(s);
        houses[18 + block] |= bit(s);
    }
    for (int s = 0; s < kSquares; ++s) {
        const int row = s / 9, col = s % 9, block = row / 3 * 3 + col / 3;
        const int rowEnd = row * 9 + 8, blockStart = row / 3 * 27 + col / 3 * 3, columnEnd = 81 + col;
        g.squares[s] = bit(s);
        g.peers[s] = (houses[row] | houses[9 + col] | houses[18 + block]) & ~bit(s);
        g.ends[s] = bit(rowEnd) | bit(blockStart) | bit(columnEnd);
        g.houseAtEnd[rowEnd] = houses[row];
        g.houseAtEnd[columnEnd] = houses[9 + col];
        g.houseAtEnd[blockStart] = houses[18 + block];
    }
    return g;
}();

// Squares seen once and at least twice while houses are folded onto their tally bits.
struct Tally {
    Set once, twice;
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

Tally seen(Set s)
{
    return {s, Set{}};
}

// Lane 3 of the result holds the given lane of t; the others are empty.
template <int lane>
Tally laneToLast(Tally t)
{
    return {__builtin_shufflevector(t.once, Set{}, 4, 5, 6, lane),
            __builtin_shufflevector(t.twice, Set{}, 4, 5, 6, lane)};
}

// The 27 houses of one digit's squares tallied at once, each on its own bit.
Tally tallyHouses(Set w)
{
    const Tally pair = seen(w) + seen(w << 1);
    const Tally four = pair + (pair << 2);
    const Tally rows = four + (four << 4) + seen(w << 8);
    const Tally three = seen(w) + seen(w >> 1) + seen(w >> 2);
    const Tally blocks = three + (three >> 9) + (three >> 18);
    const Tally bands = seen(w) + seen(w >> 9) + seen(w >> 18);
    const Tally columns = laneToLast<0>(bands) + laneToLast<1>(bands) + laneToLast<2>(bands);
    return {(rows.once & kRowEnds) | (blocks.once & kBlockStarts) | (columns.once & kColumnEnds),
            (rows.twice & kRowEnds) | (blocks.twice & kBlockStarts) | (columns.twice & kColumnEnds)};
}

struct State {
    std::array<Set, 9> where{};
    std::array<Set, 9> holds{};
    Set empty = kAllSquares;
    Grid digits{};

    State() { where.fill(kAllSquares); }

    Set left(int d) const { return where[d] & empty; }
    bool fits(int d, int square) const { return any(left(d) & kGeometry.squares[square]); }

    void place(int square, int d)
    {
        empty &= ~kGeometry.squares[square];
        where[d] &= ~kGeometry.peers[square];
        holds[d] |= kGeometry.ends[square];
        digits[static_cast<std::size_t>(square)] = static_cast<std::uint8_t>(d + 1);
    }

    // Squares with one digit left get it; false if an empty square has none.
    bool placeNakedSingles(bool& progress)
    {
        Set once{}, twice{};
        for (int d = 0; d < 9; ++d) {
            twice |= once & left(d);
            once |= left(d);
        }
        if (any(empty & ~once))
            return false;
        const Set singles = once & ~twice;
        for (int d = 0; d < 9 && any(singles); ++d)
            for (Set s = left(d) & singles; any(s); s = withoutLowest(s)) {
                if (!fits(d, lowest(s)))
                    return false; // a peer took the same digit in this pass
                place(lowest(s), d);
                progress = true;
            }
        return true;
    }

    // Digits with one square left in a house go there; false if a house has no square left
    // for a digit it lacks.
    bool placeHiddenSingles(bool& progress)
    {
        for (int d = 0; d < 9; ++d) {
            const Tally houses = tallyHouses(left(d));
            if (any(kHouseEnds & ~houses.once & ~holds[d]))
                return false;
            for (Set ends = houses.once & ~houses.twice; any(ends); ends = withoutLowest(ends)) {
                const int end = lowest(ends);
                const Set rest = left(d) & kGeometry.houseAtEnd[static_cast<std::size_t>(end)];
                if (any(rest)) {
                    place(lowest(rest), d);
                    progress = true;
                } else if (none(holds[d] & bit(end))) {
                    return false; // an earlier placement here took its last square
                }
            }
        }
        return true;
    }

    bool propagate()
    {
        for (bool progress = true; progress;) {
            progress = false;
            if (!placeNakedSingles(progress))
                return false;
            if (!progress && !placeHiddenSingles(progress))
                return false;
        }
        return true;
    }

    // An empty square with the fewest digits left, the first in index order among them.
    int fewestDigitsSquare() const
    {
        // Bit slices of each square's count: count = b1 + 2 b2 + 4 b4 + 8 b8.
        Set b1{}, b2{}, b4{}, b8{};
        for (int d = 0; d < 9; ++d) {
            const Set c2 = b1 & left(d);
            b1 ^= left(d);
            const Set c4 = b2 & c2;
            b2 ^= c2;
            b8 |= b4 & c4;
            b4 ^= c4;
        }
        for (int n = 2; n < 9; ++n) {
            const Set with = empty & (n & 1 ? b1 : ~b1) & (n & 2 ? b2 : ~b2) & (n & 4 ? b4 : ~b4) &
                             (n & 8 ? b8 : ~b8);
            if (any(with))
                return lowest(with);
        }
        return lowest(empty);
    }
};

// Depth-first from the square with the fewest digits left, smallest digit first (or in a random
// order), counting solutions up to the limit.
class Search {
public:
    // With a random source, each square's digits are tried in a random order.
    explicit Search(long long limit, std::mt19937_64* random = nullptr) : limit_(limit), random_(random) {}

    void run(const State& state)
    {
        const int square = state.fewestDigitsSquare();
        std::array<int, 9> digits{0, 1, 2, 3, 4, 5, 6, 7, 8};
        if (random_)
            std::shuffle(digits.begin(), digits.end(), *random_);
        for (const int d : digits) {
            if (count_ >= limit_)
                return;
            if (state.fits(d, square)) {
                ++guesses_;
                State next = state;
                next.place(square, d);
                settle(next);
            }
        }
    }

    // Propagates, then records a solution or branches.
    void settle(State& state)
    {
        if (!state.propagate())
            return;
        if (none(state.empty))
            record(state.digits);
        else
            run(state);
    }

    long long count() const { return count_; }
    long long guesses() const { return guesses_; }
    const Grid& smallest() const { return smallest_; }

private:
    void record(const Grid& solution)
    {
        if (count_++ == 0 || solution < smallest_)
            smallest_ = solution;
    }

    long long limit_;
    std::mt19937_64* random_;
    long long count_ = 0;
    long long guesses_ = 0;
    Grid smallest_{};
};

// The first solution in index order of a state that has the known one: square by square, the
// smallest digit with a solution beyond it. Only digits below the known solution's are tried,
// each with a search of its own, so no dead end is ever walked square by square.
Grid firstInIndexOrder(State state, Grid known, long long& guesses)
{
    state.propagate();
    while (any(state.empty)) {
        const int square = lowest(state.empty);
        const int knownDigit = known[static_cast<std::size_t>(square)] - 1;
        bool smaller = false;
        for (int d = 0; d < knownDigit && !smaller; ++d) {
            if (!state.fits(d, square))
                continue;
            State trial = state;
            trial.place(square, d);
            Search probe(1);
            probe.settle(trial);
            guesses += probe.guesses() + 1;
            if ((smaller = probe.count() > 0)) {
                known = probe.smallest();
                state = trial;
            }
        }
        if (!smaller) {
            state.place(square, knownDigit);
            state.propagate();
        }
    }
    return known;
}

} // namespace

Grid RandomFullGrid(std::mt19937_64& random)
{
    Search search(1, &random);
    State empty;
    search.settle(empty);
    return search.smallest();
}

SolutionCount CountSolutions(const Grid& grid, long long limit)
{
    State start;
    for (int s = 0; s < kSquares; ++s) {
        const int digit = grid[static_cast<std::size_t>(s)];
        if (digit < 1 || digit > 9)
            continue;
        if (!start.fits(digit - 1, s))
            return {}; // repeats a given of its row, column or block
        start.place(s, digit - 1);
    }
    const long long cap = std::max(limit, 1LL);
    Search counting(cap);
    State state = start;
    counting.settle(state);
    SolutionCount result{counting.count(), counting.smallest(), counting.guesses()};
    // Stopped at the limit, the smallest solution seen need not be the first.
    if (result.count == cap)
        result.first = firstInIndexOrder(start, result.first, result.guesses);
    return result;
}

} // namespace kavrin
