// The links chains are made of, and the breadth-first search that finds the shortest chain.
//
// Conventions: a node is one candidate, square * 9 + digit - 1 (0..728), squares and houses as in
// model/geometry.h. A strong link joins two candidates of which one at least is true (a digit
// with two places in a house, a square with two digits); a weak link joins two of which one at
// most is true (one digit in two squares that see each other, two digits of one square). A chain
// c0 = c1 - c2 = ... = cN alternates them, strong first and last: if c0 is false, cN is true.
#pragma once

#include "grading/finding.h"
#include "grading/pencilmarks.h"
#include "model/geometry.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kavrin {

using Node = std::int16_t;

inline constexpr int kNodeCount = 81 * 9;

constexpr Node nodeOf(int square, int digit)
{
    return static_cast<Node>(square * 9 + digit - 1);
}
constexpr int nodeSquare(Node node) { return node / 9; }
constexpr int nodeDigit(Node node) { return node % 9 + 1; }

// Which strong links a chain may use; weak links in a square (between two of its digits) too.
struct LinkKinds {
    bool inHouses = true;
    bool inSquares = true;
    bool weakInSquares = true;
};

// Exactly two bits set (std::popcount is a library call on plain x86-64).
constexpr bool hasTwoBits(unsigned mask)
{
    const unsigned rest = mask & (mask - 1);
    return mask != 0 && rest != 0 && (rest & (rest - 1)) == 0;
}

// A set of squares, bit s for square s.
struct SquareSet {
    std::uint64_t low = 0;  // squares 0..63
    std::uint64_t high = 0; // squares 64..80

    constexpr void add(int square) { (square < 64 ? low : high) |= std::uint64_t{1} << (square & 63); }
    bool empty() const { return (low | high) == 0; }
    friend SquareSet operator&(SquareSet a, SquareSet b) { return {a.low & b.low, a.high & b.high}; }
    // Calls visit(square) for each square in order.
    template <typename Visit>
    void forEach(const Visit& visit) const
    {
        for (std::uint64_t bits = low; bits != 0; bits &= bits - 1)
            visit(std::countr_zero(bits));
        for (std::uint64_t bits = high; bits != 0; bits &= bits - 1)
            visit(64 + std::countr_zero(bits));
    }
};

struct StrongLink {
    Node to = 0;
    std::int8_t house = -1; // -1 for the two digits of a square
};

// A digit's two places in a house.
struct Conjugates {
    int house = 0;
    int first = 0; // squares, in house order
    int second = 0;
};

class LinkTables {
public:
    LinkTables(const Pencilmarks& marks, LinkKinds kinds);

    bool has(Node node) const;
    std::span<const StrongLink> strongLinks(Node node) const;
    const std::vector<Conjugates>& conjugates(int digit) const { return conjugates_[static_cast<std::size_t>(digit)]; }
    const Pencilmarks& marks() const { return marks_; }
    const LinkKinds& kinds() const { return kinds_; }

    // Any weak link, whatever the kinds: what a chain's conclusion rests on.
    bool weaklyLinked(Node a, Node b) const;
    // The candidates weakly linked to both a and b: false whenever one of a and b is true.
    void addCommonWeak(Node a, Node b, std::vector<Candidate>& out) const;
    // The weak links out of a node that the kinds allow, to nodes with strong links.
    template <typename Visit>
    void forEachWeak(Node node, const Visit& visit) const;

private:
    void addConjugates(int house);
    void addStrong(Node a, Node b, int house);

    const Pencilmarks& marks_;
    LinkKinds kinds_;
    std::array<std::array<StrongLink, 4>, kNodeCount> strong_{}; // three houses and the square
    std::array<std::uint8_t, kNodeCount> strongCount_{};
    std::array<std::vector<Conjugates>, 10> conjugates_; // by digit
    std::array<SquareSet, 10> places_{};                 // by digit
};

template <typename Visit>
void LinkTables::forEachWeak(Node node, const Visit& visit) const
{
    const int square = nodeSquare(node), digit = nodeDigit(node);
    for (const std::uint8_t peer : kGeometry.peers[static_cast<std::size_t>(square)])
        if (const Node other = nodeOf(peer, digit); strongCount_[static_cast<std::size_t>(other)] != 0)
            visit(other);
    if (!kinds_.weakInSquares)
        return;
    for (int d = 1; d <= 9; ++d)
        if (const Node other = nodeOf(square, d); d != digit && strongCount_[static_cast<std::size_t>(other)] != 0)
            visit(other);
}

// What a search accepts as a conclusion.
struct ChainRules {
    LinkKinds kinds;
    int minLinks = 3;
    bool open = true;          // a chain: what sees both ends goes
    bool sameDigitEnds = false;
    bool loops = false;        // a chain closed by a weak link, or returning to its start
};

struct Chain {
    std::vector<Node> nodes;  // c0 = c1 - ... = cN; for a loop that places, cN is c0
    bool closed = false;      // cN - c0 closes a continuous loop
    std::vector<Candidate> placements;
    std::vector<Candidate> removals;

    int links() const { return static_cast<int>(nodes.size()) - 1 + (closed ? 1 : 0); }
};

// Chains longer than this are not looked for: no chain is unsound for its length, but a player
// cannot follow one much longer, and the search stays short.
inline constexpr int kMaxChainLinks = 31;

// The shortest chain the rules accept that proves something, the first in node order of its
// start among equals; or nothing.
std::optional<Chain> shortestChain(const Pencilmarks& marks, const ChainRules& rules);

} // namespace kavrin
