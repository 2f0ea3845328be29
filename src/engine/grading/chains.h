// Chain techniques beyond the basic ladder: turbot fish, W-wing, remote pairs, X-chains and
// X-cycles, XY-chains and alternating inference chains. Each finder returns its technique's
// easiest instance on the marks (the shortest chain, then the first in a fixed scan order) that
// places or removes something, or nothing.
#pragma once

#include "grading/finding.h"
#include "grading/pencilmarks.h"

#include <optional>
#include <string_view>

namespace kavrin {

// How hard each chain technique is held to be on the community's scale: a chain rates `base`,
// plus a tenth for each of kChainLengthSteps its strong links reach, never above `top`.
struct ChainScale {
    std::string_view technique;
    double base;
    double top;
};

inline constexpr ChainScale kChainScales[] = {
    {"skyscraper", 5.4, 5.4},  {"2-string-kite", 5.4, 5.4}, {"turbot-crane", 5.4, 5.4},
    {"w-wing", 6.6, 6.6},      {"remote-pair", 6.6, 7.0},   {"x-chain", 5.4, 5.8},
    {"x-cycle", 5.4, 5.8},     {"xy-chain", 6.6, 7.0},      {"aic", 7.0, 7.5},
};

inline constexpr int kChainLengthSteps[] = {4, 6, 8, 12, 16, 24, 32};

// Two strong links of one digit whose near ends see each other: the far ends cannot both be
// false. Skyscraper: both in rows or both in columns; 2-string kite: one of each, near ends in
// one block; turbot-crane: any other pair.
std::optional<Finding> findSkyscraper(const Pencilmarks& marks);
std::optional<Finding> findTwoStringKite(const Pencilmarks& marks);
std::optional<Finding> findTurbotCrane(const Pencilmarks& marks);

// Two squares with the same two digits x and y that do not see each other, and a house where x
// has two places, one seeing each square: one square holds y.
std::optional<Finding> findWWing(const Pencilmarks& marks);

// Squares with the same two digits, each seeing the next: squares an odd number of steps apart
// hold different digits, so a square seeing two of them takes neither.
std::optional<Finding> findRemotePair(const Pencilmarks& marks);

// One digit, strong links in houses alternating with weak ones: one end holds it.
std::optional<Finding> findXChain(const Pencilmarks& marks);
// The same closed into a loop: continuous, it clears each weak link's common peers; broken
// where two strong links meet, it places the digit there.
std::optional<Finding> findXCycle(const Pencilmarks& marks);

// Squares with two digits, each linked to the next by a digit they share: if the first does not
// hold x, the last does.
std::optional<Finding> findXYChain(const Pencilmarks& marks);

// Strong links in houses and in squares, weak links of either kind, mixed: the ends, a loop, or
// a return to the start that places it.
std::optional<Finding> findAlternatingChain(const Pencilmarks& marks);

} // namespace kavrin
