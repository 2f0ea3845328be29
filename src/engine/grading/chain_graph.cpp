// Link tables from the pencil marks, and the search for the shortest chain over them.
#include "grading/chain_graph.h"

#include "model/candidates.h"

#include <algorithm>
#include <functional>
#include <ranges>
#include <type_traits>
#include <utility>

namespace kavrin {

namespace {

constexpr std::array<SquareSet, 81> kPeerSets = [] {
    std::array<SquareSet, 81> sets{};
    for (std::size_t s = 0; s < sets.size(); ++s)
        for (const std::uint8_t peer : kGeometry.peers[s])
            sets[s].add(peer);
    return sets;
}();

void addOnce(std::vector<Candidate>& out, int square, int digit)
{
    const Candidate candidate{static_cast<std::uint8_t>(square), static_cast<std::uint8_t>(digit)};
    if (std::ranges::find(out, candidate) == out.end())
        out.push_back(candidate);
}

bool repeatsNone(std::vector<Node> nodes)
{
    std::ranges::sort(nodes);
    return std::ranges::adjacent_find(nodes) == nodes.end();
}

// One breadth-first search per start, in layers: from a node assumed false its strong links make
// the next nodes true, from those their weak links make the next false. Each node is reached
// true at most once, by its shortest chain, so a search is linear in the links.
class ChainSearch {
public:
    ChainSearch(const LinkTables& links, const ChainRules& rules) : links_(links), rules_(rules)
    {
        trueFrom_.fill(-1);
        falseFrom_.fill(-1);
    }

    void searchFrom(Node start);
    std::optional<Chain> best() && { return std::move(best_); }

private:
    void conclude(Node end, int links);
    std::vector<Node> pathTo(Node end) const;
    void keep(Chain chain);

    const LinkTables& links_;
    const ChainRules& rules_;
    Node start_ = 0;
    std::array<Node, kNodeCount> trueFrom_{};  // the node before one reached true, or -1
    std::array<Node, kNodeCount> falseFrom_{}; // the node before one reached false, or -1
    std::vector<Node> reached_;                // what the last search set in those two
    std::vector<Node> falseLayer_, trueLayer_;
    std::optional<Chain> best_;
    int bestLinks_ = kMaxChainLinks + 1;
};

void ChainSearch::searchFrom(Node start)
{
    for (const Node node : reached_)
        trueFrom_[static_cast<std::size_t>(node)] = falseFrom_[static_cast<std::size_t>(node)] = -1;
    reached_.assign(1, start);
    start_ = start;
    falseFrom_[static_cast<std::size_t>(start)] = start;
    falseLayer_.assign(1, start);
    for (int links = 1; links < bestLinks_ && !falseLayer_.empty(); links += 2) {
        trueLayer_.clear();
        for (const Node from : falseLayer_)
            for (const StrongLink& link : links_.strongLinks(from))
                if (trueFrom_[static_cast<std::size_t>(link.to)] < 0) {
                    trueFrom_[static_cast<std::size_t>(link.to)] = from;
                    trueLayer_.push_back(link.to);
                }
        reached_.insert(reached_.end(), trueLayer_.begin(), trueLayer_.end());
        for (const Node end : trueLayer_)
            conclude(end, links);
        falseLayer_.clear();
        for (const Node from : trueLayer_)
            links_.forEachWeak(from, [&](Node to) {
                if (falseFrom_[static_cast<std::size_t>(to)] < 0) {
                    falseFrom_[static_cast<std::size_t>(to)] = from;
                    falseLayer_.push_back(to);
                }
            });
        reached_.insert(reached_.end(), falseLayer_.begin(), falseLayer_.end());
    }
}

// The chain from the start to a node reached true `links` links away: what it proves, if the
// rules accept it and it is shorter than the best so far.
void ChainSearch::conclude(Node end, int links)
{
    if (end == start_) {
        // False leads to true: the start holds.
        if (rules_.loops && links >= rules_.minLinks)
            keep({pathTo(end), false, {{static_cast<std::uint8_t>(nodeSquare(end)), static_cast<std::uint8_t>(nodeDigit(end))}}, {}});
        return;
    }
    if (rules_.open && links >= rules_.minLinks && (!rules_.sameDigitEnds || nodeDigit(end) == nodeDigit(start_))) {
        Chain chain{{}, false, {}, {}};
        links_.addCommonWeak(start_, end, chain.removals);
        if (!chain.removals.empty()) {
            chain.nodes = pathTo(end);
            keep(std::move(chain));
            return;
        }
    }
    // Closed by a weak link, the loop is true one way round or the other: of every two
    // neighbours in it, exactly one holds.
    if (rules_.loops && links + 1 >= rules_.minLinks && links + 1 < bestLinks_ && links_.weaklyLinked(end, start_)) {
        Chain loop{pathTo(end), true, {}, {}};
        if (!repeatsNone(loop.nodes))
            return;
        for (std::size_t i = 0; i < loop.nodes.size(); ++i)
            links_.addCommonWeak(loop.nodes[i], loop.nodes[(i + 1) % loop.nodes.size()], loop.removals);
        if (!loop.removals.empty())
            keep(std::move(loop));
    }
}

std::vector<Node> ChainSearch::pathTo(Node end) const
{
    std::vector<Node> path{end};
    for (Node node = end;;) {
        const Node before = trueFrom_[static_cast<std::size_t>(node)];
        path.push_back(before);
        if (before == start_)
            break;
        node = falseFrom_[static_cast<std::size_t>(before)];
        path.push_back(node);
    }
    std::ranges::reverse(path);
    return path;
}

void ChainSearch::keep(Chain chain)
{
    if (chain.links() >= bestLinks_)
        return;
    bestLinks_ = chain.links();
    std::ranges::sort(chain.removals, [](Candidate a, Candidate b) {
        return a.square != b.square ? a.square < b.square : a.digit < b.digit;
    });
    best_ = std::move(chain);
}

} // namespace

LinkTables::LinkTables(const Pencilmarks& marks, LinkKinds kinds) : marks_(marks), kinds_(kinds)
{
    for (int s = 0; s < 81; ++s)
        for (DigitMask digits = marks.candidates[static_cast<std::size_t>(s)]; digits != 0; digits &= static_cast<DigitMask>(digits - 1))
            places_[static_cast<std::size_t>(std::countr_zero(digits))].add(s);
    for (int house = 0; house < kHouseCount; ++house)
        addConjugates(house);
    if (!kinds.inSquares)
        return;
    for (int s = 0; s < 81; ++s)
        if (const DigitMask digits = marks.candidates[static_cast<std::size_t>(s)]; hasTwoBits(digits))
            addStrong(nodeOf(s, std::countr_zero(digits)), nodeOf(s, std::bit_width(digits) - 1), -1);
}

void LinkTables::addConjugates(int house)
{
    const HouseSquares& squares = kGeometry.houses[static_cast<std::size_t>(house)];
    DigitMask once = 0, twice = 0, more = 0;
    for (const std::uint8_t s : squares) {
        const DigitMask digits = marks_.candidates[s];
        more |= twice & digits;
        twice |= once & digits;
        once |= digits;
    }
    for (auto pairs = static_cast<DigitMask>(twice & ~more); pairs != 0; pairs &= static_cast<DigitMask>(pairs - 1)) {
        const int d = std::countr_zero(pairs);
        std::array<int, 2> found{};
        int n = 0;
        for (const std::uint8_t s : squares)
            if (has(nodeOf(s, d)))
                found[static_cast<std::size_t>(n++)] = s;
        conjugates_[static_cast<std::size_t>(d)].push_back({house, found[0], found[1]});
        if (kinds_.inHouses)
            addStrong(nodeOf(found[0], d), nodeOf(found[1], d), house);
    }
}

void LinkTables::addStrong(Node a, Node b, int house)
{
    const auto addOneWay = [&](Node from, Node to) {
        const auto f = static_cast<std::size_t>(from);
        if (std::ranges::none_of(strongLinks(from), [to](StrongLink link) { return link.to == to; }))
            strong_[f][strongCount_[f]++] = {to, static_cast<std::int8_t>(house)};
    };
    addOneWay(a, b);
    addOneWay(b, a);
}

bool LinkTables::has(Node node) const
{
    return (marks_.candidates[static_cast<std::size_t>(nodeSquare(node))] >> nodeDigit(node) & 1u) != 0;
}

std::span<const StrongLink> LinkTables::strongLinks(Node node) const
{
    const auto n = static_cast<std::size_t>(node);
    return {strong_[n].data(), strongCount_[n]};
}

bool LinkTables::weaklyLinked(Node a, Node b) const
{
    const int squareA = nodeSquare(a), squareB = nodeSquare(b);
    const bool linked = squareA == squareB ? a != b : nodeDigit(a) == nodeDigit(b) && sees(squareA, squareB);
    return linked && has(a) && has(b);
}

void LinkTables::addCommonWeak(Node a, Node b, std::vector<Candidate>& out) const
{
    const int squareA = nodeSquare(a), squareB = nodeSquare(b), digitA = nodeDigit(a), digitB = nodeDigit(b);
    if (squareA == squareB) {
        for (int d = 1; d <= 9; ++d)
            if (d != digitA && d != digitB && has(nodeOf(squareA, d)))
                addOnce(out, squareA, d);
    } else if (digitA == digitB) {
        const SquareSet both = kPeerSets[static_cast<std::size_t>(squareA)] & kPeerSets[static_cast<std::size_t>(squareB)];
        (both & places_[static_cast<std::size_t>(digitA)]).forEach([&](int s) { addOnce(out, s, digitA); });
    } else if (sees(squareA, squareB)) {
        if (has(nodeOf(squareA, digitB)))
            addOnce(out, squareA, digitB);
        if (has(nodeOf(squareB, digitA)))
            addOnce(out, squareB, digitA);
    }
}

std::optional<Chain> shortestChain(const Pencilmarks& marks, const ChainRules& rules)
{
    const LinkTables links(marks, rules.kinds);
    ChainSearch search(links, rules);
    for (Node start = 0; start < kNodeCount; ++start)
        if (!links.strongLinks(start).empty())
            search.searchFrom(start);
    return std::move(search).best();
}

} // namespace kavrin
