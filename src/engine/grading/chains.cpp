// The chain finders: the fixed patterns scan digits, then links or squares in order; the chains
// come from the breadth-first search in chain_graph, shortest first.
#include "grading/chains.h"

#include "grading/chain_graph.h"
#include "model/candidates.h"
#include "model/geometry.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <ranges>
#include <string>
#include <utility>
#include <vector>

namespace kavrin {

namespace {

double ratingOf(std::string_view technique, int strongLinks)
{
    const ChainScale& scale = *std::ranges::find(kChainScales, technique, &ChainScale::technique);
    const auto steps = std::ranges::count_if(kChainLengthSteps, [strongLinks](int step) { return strongLinks >= step; });
    return std::min(std::round(scale.base * 10 + static_cast<double>(steps)), std::round(scale.top * 10)) / 10;
}

Finding findingOf(std::string_view technique, int strongLinks, const std::string& pattern,
                  std::vector<Candidate> placements, std::vector<Candidate> removals)
{
    std::string text = pattern + ", so " + conclusionText(placements, removals);
    return {technique, ratingOf(technique, strongLinks), std::move(placements), std::move(removals), std::move(text)};
}

std::string houseName(int house)
{
    static constexpr std::string_view kKinds[] = {"row ", "column ", "block "};
    return std::string(kKinds[house / 9]) + std::to_string(house % 9 + 1);
}

std::string digitName(int digit)
{
    return std::to_string(digit);
}

std::vector<Candidate> commonWeak(const LinkTables& links, Node a, Node b)
{
    std::vector<Candidate> removals;
    links.addCommonWeak(a, b, removals);
    return removals;
}

// The fixed patterns read the two-place digits of houses, not the chains' strong links.
constexpr LinkKinds kPatternsOnly{false, false, false};

// --- Turbot fish ---

enum class TurbotKind { Skyscraper, Kite, Crane };

bool isRow(int house) { return house < 9; }
bool isColumn(int house) { return house >= 9 && house < 18; }

// The kind of a = b - c = e, the first link in `near`, the second in `far`; none for the X-wing
// that two parallel links with aligned ends make.
std::optional<TurbotKind> turbotKind(int near, int far, int a, int b, int c, int e)
{
    if (isRow(near) && isRow(far) && columnOf(b) == columnOf(c))
        return columnOf(a) == columnOf(e) ? std::nullopt : std::optional(TurbotKind::Skyscraper);
    if (isColumn(near) && isColumn(far) && rowOf(b) == rowOf(c))
        return rowOf(a) == rowOf(e) ? std::nullopt : std::optional(TurbotKind::Skyscraper);
    if (((isRow(near) && isColumn(far)) || (isColumn(near) && isRow(far))) && blockOf(b) == blockOf(c))
        return TurbotKind::Kite;
    return TurbotKind::Crane;
}

std::string linkText(const Conjugates& link)
{
    return squareName(link.first) + " and " + squareName(link.second) + " in " + houseName(link.house);
}

std::optional<Finding> turbotFish(const Pencilmarks& marks, TurbotKind kind, std::string_view technique,
                                  std::string_view label)
{
    const LinkTables links(marks, kPatternsOnly);
    for (int d = 1; d <= 9; ++d) {
        const std::vector<Conjugates>& pairs = links.conjugates(d);
        for (const Conjugates& near : pairs)
            for (const Conjugates& far : pairs)
                for (const auto& [a, b] : {std::pair{near.first, near.second}, std::pair{near.second, near.first}})
                    for (const auto& [c, e] : {std::pair{far.first, far.second}, std::pair{far.second, far.first}}) {
                        const bool distinct = a != c && a != e && b != c && b != e;
                        if (!distinct || !sees(b, c) || turbotKind(near.house, far.house, a, b, c, e) != kind)
                            continue;
                        std::vector<Candidate> removals = commonWeak(links, nodeOf(a, d), nodeOf(e, d));
                        if (!removals.empty())
                            return findingOf(technique, 2,
                                             std::string(label) + " on " + digitName(d) + ": " + linkText(near) +
                                                 ", " + linkText(far),
                                             {}, std::move(removals));
                    }
    }
    return std::nullopt;
}

// --- W-wing and remote pairs ---

std::optional<Finding> wWingAt(const LinkTables& links, int first, int second)
{
    const DigitMask pair = links.marks().candidates[static_cast<std::size_t>(first)];
    for (DigitMask bits = pair; bits != 0; bits &= static_cast<DigitMask>(bits - 1)) {
        const int x = std::countr_zero(bits);
        const int y = std::countr_zero(static_cast<DigitMask>(pair & ~(1u << x)));
        for (const Conjugates& link : links.conjugates(x)) {
            // A square never sees itself, so neither link square is one of the pair.
            const bool bridges = (sees(link.first, first) && sees(link.second, second)) ||
                                 (sees(link.first, second) && sees(link.second, first));
            if (!bridges)
                continue;
            std::vector<Candidate> removals = commonWeak(links, nodeOf(first, y), nodeOf(second, y));
            if (!removals.empty())
                return findingOf("w-wing", 3,
                                 "w-wing: " + squareName(first) + " and " + squareName(second) + " take " + digitName(std::min(x, y)) +
                                     " or " + digitName(std::max(x, y)) + "; " + digitName(x) + " in " + houseName(link.house) +
                                     " is at " + squareName(link.first) + " or " + squareName(link.second),
                                 {}, std::move(removals));
        }
    }
    return std::nullopt;
}

bool bivalue(const Pencilmarks& marks, int square)
{
    return hasTwoBits(marks.candidates[static_cast<std::size_t>(square)]);
}

std::string squaresText(const std::vector<int>& squares)
{
    std::string text;
    for (const int s : squares)
        text += (text.empty() ? "" : ", ") + squareName(s);
    return text;
}

// A walk, breadth first, over the squares that hold exactly the pair of `first`, each square
// stepping to those it sees: one an odd number of steps away holds the digit `first` does not.
std::optional<Finding> remotePairFrom(const LinkTables& links, int first, int& bestSquares)
{
    const DigitMask pair = links.marks().candidates[static_cast<std::size_t>(first)];
    const int low = std::countr_zero(pair), high = std::bit_width(pair) - 1;
    std::array<int, 81> before{}, steps{};
    before.fill(-1);
    steps.fill(-1);
    steps[static_cast<std::size_t>(first)] = 0;
    std::vector<int> queue{first};
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const int from = queue[next], step = steps[static_cast<std::size_t>(from)] + 1;
        if (step + 1 >= bestSquares)
            break;
        for (const std::uint8_t to : kGeometry.peers[static_cast<std::size_t>(from)]) {
            if (links.marks().candidates[to] != pair || steps[to] >= 0)
                continue;
            steps[to] = step;
            before[to] = from;
            queue.push_back(to);
            if (step % 2 == 0 || step < 3)
                continue;
            std::vector<Candidate> removals = commonWeak(links, nodeOf(first, low), nodeOf(to, low));
            links.addCommonWeak(nodeOf(first, high), nodeOf(to, high), removals);
            if (removals.empty())
                continue;
            std::vector<int> path;
            for (int s = to; s >= 0; s = before[static_cast<std::size_t>(s)])
                path.insert(path.begin(), s);
            bestSquares = step + 1;
            return findingOf("remote-pair", bestSquares,
                             "remote pair of " + digitName(low) + " and " + digitName(high) + ": " + squaresText(path), {},
                             std::move(removals));
        }
    }
    return std::nullopt;
}

// --- Chains ---

std::string nodeChainText(const Chain& chain, const auto& nameOf)
{
    std::string text;
    for (std::size_t i = 0; i < chain.nodes.size(); ++i) {
        text += i == 0 ? "" : i % 2 == 1 ? "=" : "-";
        text += nameOf(chain.nodes[i]);
    }
    if (chain.closed) {
        text += '-';
        text += nameOf(chain.nodes.front());
    }
    return text;
}

// Squares with two digits as "(4=7)r1c2", each strong link within one square.
std::string bivalueChainText(const Chain& chain)
{
    std::string text;
    for (std::size_t i = 0; i + 1 < chain.nodes.size(); i += 2)
        text += (i == 0 ? "(" : "-(") + digitName(nodeDigit(chain.nodes[i])) + "=" + digitName(nodeDigit(chain.nodes[i + 1])) +
                ")" + squareName(nodeSquare(chain.nodes[i]));
    return text;
}

Finding chainFinding(std::string_view technique, Chain chain, const std::string& pattern)
{
    return findingOf(technique, (chain.links() + 1) / 2, pattern, std::move(chain.placements), std::move(chain.removals));
}

std::string squareOfNode(Node node)
{
    return squareName(nodeSquare(node));
}

std::string candidateOfNode(Node node)
{
    return std::string("(") + digitName(nodeDigit(node)) + ")" + squareName(nodeSquare(node));
}

constexpr LinkKinds kInHouses{true, false, false};
constexpr LinkKinds kInSquares{false, true, false};

std::optional<Finding> singleDigitChain(const Pencilmarks& marks, std::string_view technique, bool loops)
{
    std::optional<Chain> chain = shortestChain(marks, {kInHouses, 3, !loops, true, loops});
    if (!chain)
        return std::nullopt;
    const std::string pattern =
        std::string(technique) + " on " + digitName(nodeDigit(chain->nodes.front())) + ": " + nodeChainText(*chain, squareOfNode);
    return chainFinding(technique, std::move(*chain), pattern);
}

} // namespace

std::optional<Finding> findSkyscraper(const Pencilmarks& marks)
{
    return turbotFish(marks, TurbotKind::Skyscraper, "skyscraper", "skyscraper");
}

std::optional<Finding> findTwoStringKite(const Pencilmarks& marks)
{
    return turbotFish(marks, TurbotKind::Kite, "2-string-kite", "2-string kite");
}

std::optional<Finding> findTurbotCrane(const Pencilmarks& marks)
{
    return turbotFish(marks, TurbotKind::Crane, "turbot-crane", "turbot crane");
}

std::optional<Finding> findWWing(const Pencilmarks& marks)
{
    const LinkTables links(marks, kPatternsOnly);
    for (int first = 0; first < 81; ++first) {
        if (!bivalue(marks, first))
            continue;
        for (int second = first + 1; second < 81; ++second)
            if (marks.candidates[static_cast<std::size_t>(second)] == marks.candidates[static_cast<std::size_t>(first)] &&
                !sees(first, second))
                if (std::optional<Finding> found = wWingAt(links, first, second))
                    return found;
    }
    return std::nullopt;
}

std::optional<Finding> findRemotePair(const Pencilmarks& marks)
{
    const LinkTables links(marks, kPatternsOnly);
    std::optional<Finding> best;
    int bestSquares = (kMaxChainLinks + 1) / 2 + 1; // two links a square, less one
    for (int first = 0; first < 81; ++first)
        if (bivalue(marks, first))
            if (std::optional<Finding> found = remotePairFrom(links, first, bestSquares))
                best = std::move(found);
    return best;
}

std::optional<Finding> findXChain(const Pencilmarks& marks)
{
    return singleDigitChain(marks, "x-chain", false);
}

std::optional<Finding> findXCycle(const Pencilmarks& marks)
{
    return singleDigitChain(marks, "x-cycle", true);
}

std::optional<Finding> findXYChain(const Pencilmarks& marks)
{
    std::optional<Chain> chain = shortestChain(marks, {kInSquares, 5, true, true, false});
    if (!chain)
        return std::nullopt;
    const std::string pattern =
        "xy-chain on " + digitName(nodeDigit(chain->nodes.front())) + ": " + bivalueChainText(*chain);
    return chainFinding("xy-chain", std::move(*chain), pattern);
}

std::optional<Finding> findAlternatingChain(const Pencilmarks& marks)
{
    std::optional<Chain> chain = shortestChain(marks, {LinkKinds{}, 3, true, false, true});
    if (!chain)
        return std::nullopt;
    const std::string pattern = "aic: " + nodeChainText(*chain, candidateOfNode);
    return chainFinding("aic", std::move(*chain), pattern);
}

} // namespace kavrin
