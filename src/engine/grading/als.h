// Almost locked sets: n squares of a house that take n + 1 digits between them, one square
// short of a locked set, so that losing any one of their digits locks the rest in.
#pragma once

#include "grading/finding.h"
#include "grading/pencilmarks.h"

#include <optional>

namespace kavrin {

// Two squares of a house: every pair of digits they could hold together that would repeat a
// digit, or take both digits of a two-digit square that sees both, is ruled out; a digit in no
// pair that is left goes.
std::optional<Finding> findAlignedPairExclusion(const Pencilmarks& marks);

// Two almost locked sets that cannot both hold x (every x of one sees every x of the other): one
// of them is locked without x, so for another digit z both take, one holds z, and no square that
// sees every z of both can take it.
std::optional<Finding> findAlsXz(const Pencilmarks& marks);

} // namespace kavrin
