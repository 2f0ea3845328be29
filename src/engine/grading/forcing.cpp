// The forcing finders: every candidate's branch is followed once, then contradictions, squares
// and houses are compared for the conclusion that takes the fewest steps.
#include "grading/forcing.h"

#include "grading/forcing_propagation.h"
#include "model/candidates.h"
#include "model/geometry.h"
#include "model/square.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kavrin {

namespace {

// How hard the community holds each kind of forcing: `base` for the shortest, a tenth more
// for each length step passed, never above `top`. The one table to recalibrate.
struct Scale {
    std::string_view technique;
    double base;
    double top;
};

constexpr Scale kContradictionScale{"contradiction-forcing-chain", 7.9, 8.3};
constexpr Scale kCellScale{"cell-forcing-chain", 8.2, 8.7};
constexpr Scale kHouseScale{"house-forcing-chain", 8.3, 8.7};
constexpr Scale kDynamicScale{"dynamic-forcing-chain", 8.8, 9.3};
constexpr Scale kNetScale{"forcing-net", 9.0, 9.4};
constexpr std::array<Scale, kDeepestNesting> kNestedScales = {{
    {"nested-forcing-chain", 9.5, 9.9},
    {"nested-forcing-chain", 10.0, 10.4},
    {"nested-forcing-chain", 10.5, 11.0},
}};
constexpr std::array<int, 14> kLengthSteps = {4, 6, 8, 12, 16, 24, 32, 48, 64, 96, 128, 192, 256, 384};

// Branches this short, each a plain chain, are written out step by step.
constexpr int kWrittenOut = 12;

double ratingOf(const Scale& scale, int implications)
{
    const auto steps = std::ranges::count_if(kLengthSteps, [&](int length) { return implications > length; });
    return std::min(scale.top, std::round((scale.base + 0.1 * static_cast<double>(steps)) * 10) / 10);
}

enum Kind : unsigned { kByContradiction = 1, kFromSquare = 2, kFromHouse = 4, kEveryKind = 7 };

struct Level {
    Reach reach;
    int nesting;
    unsigned kinds;
    Scale scale;
    // Nested branches cost too much to follow them all when one breaks: the first contradiction
    // found, squares with the fewest candidates first, is taken.
    bool firstContradiction = false;
};

constexpr std::uint8_t kUnreached = 255;

// What one candidate's branch reached, by depth: square*10 for the digit it puts there,
// square*10+d for d taken out.
struct Outcome {
    std::array<std::uint8_t, 81> placed{};
    std::array<std::uint8_t, 810> depths{};
};

std::size_t indexOf(int square, int digit)
{
    return static_cast<std::size_t>(square * 9 + digit - 1);
}

DigitMask openCandidates(const Pencilmarks& marks, int square)
{
    const DigitMask digits = marks.candidates[static_cast<std::size_t>(square)];
    return marks.digits[static_cast<std::size_t>(square)] == 0 && (digits & (digits - 1)) != 0 ? digits : 0;
}

Fact factOf(int square, int digit, bool on)
{
    return {static_cast<std::uint8_t>(square), static_cast<std::uint8_t>(digit), on};
}

std::uint8_t clampedDepth(int depth)
{
    return static_cast<std::uint8_t>(std::min<int>(depth, kUnreached - 1));
}

void keepOutcome(const Branch& branch, Outcome& outcome)
{
    outcome.placed.fill(0);
    outcome.depths.fill(kUnreached);
    branch.forEachFact([&](Fact fact, int depth) {
        const auto i = static_cast<std::size_t>(fact.square);
        if (fact.on)
            outcome.placed[i] = fact.digit;
        outcome.depths[i * 10 + (fact.on ? 0 : fact.digit)] = clampedDepth(depth);
    });
}

// Whether one candidate's branch broke, and how many steps it took.
struct Verdict {
    bool broken = false;
    std::uint8_t depth = kUnreached;
};

struct Outcomes {
    std::array<Verdict, std::size_t{81} * 9> verdicts{};
    std::vector<Outcome> reached; // none when only contradictions are looked for
};

// The open squares, those with the fewest candidates first, then in index order.
std::vector<int> squaresByCandidates(const Pencilmarks& marks)
{
    std::vector<int> squares;
    for (int s = 0; s < 81; ++s)
        if (openCandidates(marks, s) != 0)
            squares.push_back(s);
    std::ranges::stable_sort(squares, {}, [&](int s) { return std::popcount(openCandidates(marks, s)); });
    return squares;
}

// Follows every candidate of every open square once, or until the first contradiction when
// the level asks for that one; returns that contradiction's assumption. When only
// contradictions are looked for, the branches are followed to growing depths until one breaks.
std::optional<Fact> followAll(Branch& branch, const Pencilmarks& marks, Outcomes& outcomes, const Level& level)
{
    const bool onlyContradictions = outcomes.reached.empty();
    const std::vector<int> squares = squaresByCandidates(marks);
    int shallowest = kUnreached; // of the contradictions found, when nothing else is looked for
    for (const int reach : {6, 12, int{kUnreached}}) {
        for (const int s : squares)
            for (DigitMask rest = openCandidates(marks, s); rest != 0; rest &= rest - 1) {
                const int d = std::countr_zero(rest);
                const int deepest = onlyContradictions ? std::min(reach, shallowest - 2) : kUnreached;
                Verdict& verdict = outcomes.verdicts[indexOf(s, d)];
                verdict.broken = !branch.follow(factOf(s, d, true), deepest);
                if (verdict.broken && level.firstContradiction)
                    return factOf(s, d, true);
                if (verdict.broken) {
                    verdict.depth = clampedDepth(branch.contradictionDepth());
                    shallowest = onlyContradictions ? std::min<int>(shallowest, verdict.depth) : shallowest;
                } else if (!onlyContradictions) {
                    keepOutcome(branch, outcomes.reached[indexOf(s, d)]);
                }
            }
        if (!onlyContradictions || shallowest != kUnreached)
            break;
    }
    return std::nullopt;
}

// The branches that start from one square's candidates or one house's places for a digit.
struct Group {
    std::array<Fact, 9> roots{};
    int size = 0;
};

Group squareGroup(const Pencilmarks& marks, int square)
{
    Group group;
    for (DigitMask rest = openCandidates(marks, square); rest != 0; rest &= rest - 1)
        group.roots[static_cast<std::size_t>(group.size++)] = factOf(square, std::countr_zero(rest), true);
    return group;
}

Group houseGroup(const Pencilmarks& marks, int house, int digit)
{
    Group group;
    if (marks.holds(house, digit))
        return group;
    for (PlaceMask places = marks.placesOf(house, digit); places != 0; places &= places - 1)
        group.roots[static_cast<std::size_t>(group.size++)] =
            factOf(kGeometry.houses[static_cast<std::size_t>(house)][static_cast<std::size_t>(std::countr_zero(places))], digit, true);
    return group;
}

// Calls visit(fact, summed depth) for each fact that every branch of the group reaches; none
// when a branch breaks, as a contradiction is the simpler finding.
template <typename Visit>
void forEachCommonFact(const Pencilmarks& marks, const Outcomes& outcomes, const Group& group, const Visit& visit)
{
    if (group.size < 2)
        return;
    std::array<const Outcome*, 9> branches{};
    for (std::size_t b = 0; b < static_cast<std::size_t>(group.size); ++b) {
        const std::size_t i = indexOf(group.roots[b].square, group.roots[b].digit);
        if (outcomes.verdicts[i].broken)
            return;
        branches[b] = &outcomes.reached[i];
    }
    const auto summed = [&](std::size_t at) {
        int sum = 0;
        for (std::size_t b = 0; b < static_cast<std::size_t>(group.size) && sum < INT_MAX / 2; ++b)
            sum = branches[b]->depths[at] == kUnreached ? INT_MAX / 2 : sum + branches[b]->depths[at];
        return sum;
    };
    for (int t = 0; t < 81; ++t) {
        const auto i = static_cast<std::size_t>(t);
        if (marks.digits[i] != 0)
            continue;
        const std::uint8_t digit = branches[0]->placed[i];
        bool placedAlike = digit != 0;
        for (std::size_t b = 1; b < static_cast<std::size_t>(group.size) && placedAlike; ++b)
            placedAlike = branches[b]->placed[i] == digit;
        if (placedAlike) {
            visit(factOf(t, digit, true), summed(i * 10));
            continue;
        }
        for (DigitMask rest = marks.candidates[i]; rest != 0; rest &= rest - 1)
            if (const int cost = summed(i * 10 + static_cast<std::size_t>(std::countr_zero(rest))); cost < INT_MAX / 2)
                visit(factOf(t, std::countr_zero(rest), false), cost);
    }
}

int cheapestCommonFact(const Pencilmarks& marks, const Outcomes& outcomes, const Group& group)
{
    int cheapest = INT_MAX;
    forEachCommonFact(marks, outcomes, group, [&](Fact, int cost) { cheapest = std::min(cheapest, cost); });
    return cheapest;
}

struct Choice {
    int cost = INT_MAX;
    Kind kind = kByContradiction;
    Group group; // for a contradiction, its one root
};

Choice cheapest(const Pencilmarks& marks, const Outcomes& outcomes, unsigned kinds)
{
    Choice best;
    const auto consider = [&](Kind kind, const Group& group, int cost) {
        if (cost < best.cost)
            best = {cost, kind, group};
    };
    if ((kinds & kByContradiction) != 0)
        for (const int s : squaresByCandidates(marks))
            for (DigitMask rest = openCandidates(marks, s); rest != 0; rest &= rest - 1)
                if (const Verdict& v = outcomes.verdicts[indexOf(s, std::countr_zero(rest))]; v.broken)
                    consider(kByContradiction, Group{{factOf(s, std::countr_zero(rest), true)}, 1}, v.depth);
    if ((kinds & kFromSquare) != 0)
        for (int s = 0; s < 81; ++s) {
            const Group group = squareGroup(marks, s);
            consider(kFromSquare, group, cheapestCommonFact(marks, outcomes, group));
        }
    if ((kinds & kFromHouse) != 0)
        for (int house = 0; house < kHouseCount; ++house)
            for (int d = 1; d <= 9; ++d) {
                const Group group = houseGroup(marks, house, d);
                consider(kFromHouse, group, cheapestCommonFact(marks, outcomes, group));
            }
    return best;
}

// The house every root of a house's group lies in: the one their squares share.
int houseOf(const Group& group)
{
    for (const std::uint8_t house : kGeometry.housesOf[group.roots[0].square])
        if (std::ranges::all_of(group.roots.begin(), group.roots.begin() + group.size, [&](Fact root) {
                return kGeometry.housesOf[root.square][static_cast<std::size_t>(house / 9)] == house;
            }))
            return house;
    return 0;
}

std::string joined(const std::vector<std::string>& items)
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " or " : ", ") + items[i];
    return text;
}

std::string chainText(const std::vector<Fact>& chain)
{
    std::string text;
    for (std::size_t i = 1; i < chain.size(); ++i)
        text += (i == 1 ? "" : " → ") + factText(chain[i]);
    return text;
}

std::string nestingText(const Branch& branch)
{
    return branch.nesting() == 0 ? "" : " with forcing nested " + std::to_string(branch.nesting()) + " deep";
}

Finding contradictionFinding(Branch& branch, const Level& level, Fact root)
{
    branch.follow(root);
    Finding finding;
    finding.technique = level.scale.technique;
    const int implications = branch.implicationsToContradiction();
    finding.rating = ratingOf(level.scale, implications);
    finding.removals = {{root.square, root.digit}};
    const std::string head = "if " + squareName(root.square) + " were " + std::to_string(root.digit);
    const std::vector<std::vector<Fact>> chains = branch.chainsToContradiction();
    if (!chains.empty() && implications <= kWrittenOut) {
        finding.text = head + ":";
        for (std::size_t i = 0; i < chains.size(); ++i)
            finding.text += (i == 0 ? " " : " and ") + (chains[i].size() > 1 ? chainText(chains[i]) : factText(root));
        finding.text += ", then " + branch.contradictionText();
    } else
        finding.text = head + ", " + std::to_string(implications) + " implications" + nestingText(branch) +
                       " would end in a contradiction (" + branch.contradictionText() + ")";
    finding.text += ", so " + conclusionText(finding.placements, finding.removals);
    return finding;
}

Finding commonFinding(Branch& branch, const Pencilmarks& marks, const Outcomes& outcomes,
                      const Level& level, const Choice& choice)
{
    std::vector<Fact> facts;
    forEachCommonFact(marks, outcomes, choice.group, [&](Fact fact, int cost) {
        if (cost == choice.cost)
            facts.push_back(fact);
    });
    Finding finding;
    finding.technique = level.scale.technique;
    for (const Fact fact : facts)
        (fact.on ? finding.placements : finding.removals).push_back({fact.square, fact.digit});
    const Fact first = choice.group.roots[0];
    std::vector<std::string> labels, steps;
    int implications = 0;
    bool plain = facts.size() == 1;
    for (std::size_t b = 0; b < static_cast<std::size_t>(choice.group.size); ++b) {
        const Fact root = choice.group.roots[b];
        labels.push_back(choice.kind == kFromSquare ? std::to_string(root.digit) : squareName(root.square));
        branch.follow(root);
        int longest = 0;
        for (const Fact fact : facts)
            longest = std::max(longest, branch.implicationsTo(fact));
        implications += longest;
        const std::vector<Fact> chain = branch.chainTo(facts.front());
        plain = plain && chain.size() > 1;
        steps.push_back(labels.back() + " leads to " + chainText(chain));
    }
    finding.rating = ratingOf(level.scale, implications);
    const int house = choice.kind == kFromHouse ? houseOf(choice.group) : 0;
    std::string text = choice.kind == kFromSquare
                           ? squareName(first.square) + " is " + joined(labels)
                           : std::to_string(first.digit) + " in " + houseName(house) + " goes in " + joined(labels);
    if (plain && implications <= kWrittenOut) {
        text += ": ";
        for (std::size_t b = 0; b < steps.size(); ++b)
            text += (b == 0 ? "" : "; ") + steps[b];
        text += "; either way ";
    } else {
        text += ": " + std::to_string(choice.group.size) + " branches, " + std::to_string(implications) +
                " implications" + nestingText(branch) + ", so ";
    }
    finding.text = text + conclusionText(finding.placements, finding.removals);
    return finding;
}

std::optional<Finding> findForcing(const Pencilmarks& marks, const Level& level)
{
    Branch branch(level.reach, level.nesting, false);
    if (!branch.start(marks))
        return std::nullopt;
    Branch told(level.reach, level.nesting); // for the one found: its implications, its words
    told.start(marks);
    Outcomes outcomes;
    if (level.kinds != kByContradiction)
        outcomes.reached.resize(outcomes.verdicts.size());
    if (const std::optional<Fact> broken = followAll(branch, marks, outcomes, level))
        return contradictionFinding(told, level, *broken);
    const Choice choice = cheapest(marks, outcomes, level.kinds);
    if (choice.cost == INT_MAX)
        return std::nullopt;
    if (choice.kind == kByContradiction)
        return contradictionFinding(told, level, choice.group.roots[0]);
    return commonFinding(told, marks, outcomes, level, choice);
}

} // namespace

std::optional<Finding> findContradictionForcingChain(const Pencilmarks& marks)
{
    return findForcing(marks, {Reach::Static, 0, kByContradiction, kContradictionScale});
}

std::optional<Finding> findCellForcingChain(const Pencilmarks& marks)
{
    return findForcing(marks, {Reach::Static, 0, kFromSquare, kCellScale});
}

std::optional<Finding> findHouseForcingChain(const Pencilmarks& marks)
{
    return findForcing(marks, {Reach::Static, 0, kFromHouse, kHouseScale});
}

std::optional<Finding> findDynamicForcingChain(const Pencilmarks& marks)
{
    return findForcing(marks, {Reach::Dynamic, 0, kEveryKind, kDynamicScale});
}

std::optional<Finding> findForcingNet(const Pencilmarks& marks)
{
    return findForcing(marks, {Reach::Net, 0, kEveryKind, kNetScale});
}

std::optional<Finding> findNestedForcingChain(const Pencilmarks& marks)
{
    for (int nesting = 1; nesting <= kDeepestNesting; ++nesting)
        if (auto found = findForcing(marks, {Reach::Net, nesting, kEveryKind,
                                             kNestedScales[static_cast<std::size_t>(nesting - 1)], true}))
            return found;
    return std::nullopt;
}

} // namespace kavrin
