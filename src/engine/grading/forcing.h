// Forcing: every candidate of a square, or every place of a digit in a house, leads to the same
// conclusion, or one candidate leads to a contradiction and goes. Tried after the pattern
// techniques, cheapest reach first.
#pragma once

#include "grading/finding.h"
#include "grading/pencilmarks.h"

#include <array>
#include <optional>

namespace kavrin {

// Nested forcing goes this many levels deep at most; a puzzle that needs more stays unfinished.
inline constexpr int kDeepestNesting = 3;

// Each returns its easiest instance on the marks, or nothing: the fewest steps from the
// assumptions to the conclusion; for a tie, contradictions in squares with the fewest candidates
// first, then squares 0..80, then houses 0..26 with digits 1..9. Nested forcing, too costly to
// follow every branch, takes its first contradiction in that order. Static finders follow the
// singles that one elimination makes: a square or a house left with one of its two places.
std::optional<Finding> findContradictionForcingChain(const Pencilmarks& marks);
std::optional<Finding> findCellForcingChain(const Pencilmarks& marks);
std::optional<Finding> findHouseForcingChain(const Pencilmarks& marks);
// Any of the three, following singles from every elimination made along the way.
std::optional<Finding> findDynamicForcingChain(const Pencilmarks& marks);
// Dynamic, with locked candidates inside the branches.
std::optional<Finding> findForcingNet(const Pencilmarks& marks);
// Nets whose branches also take out candidates that a shallower net breaks on.
std::optional<Finding> findNestedForcingChain(const Pencilmarks& marks);

using ForcingFinder = std::optional<Finding> (*)(const Pencilmarks&);

// In the order to try them, cheapest first.
inline constexpr std::array<ForcingFinder, 6> kForcingFinders = {
    findContradictionForcingChain, findCellForcingChain, findHouseForcingChain,
    findDynamicForcingChain,       findForcingNet,       findNestedForcingChain,
};

} // namespace kavrin
