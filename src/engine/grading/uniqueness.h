// Patterns that would leave a puzzle with two solutions: sound only for a puzzle known to have
// exactly one, which is why the rater counts solutions before it grades.
#pragma once

#include "grading/finding.h"
#include "grading/pencilmarks.h"

#include <optional>

namespace kavrin {

// Four squares in two rows, two columns and two blocks that all take digits a and b: if nothing
// else could go there, a and b could swap. Type 1: three take only a and b, so the fourth takes
// something else. Type 4: two take only a and b, and a is locked to the other two in a house
// they share, so those cannot take b. Type 2: the other two take one more digit c besides, so
// one of them is c, and a square that sees both cannot be.
std::optional<Finding> findUniqueRectangle(const Pencilmarks& marks);

// Every empty square takes two digits, but one takes three, and each digit has two places in
// every house save one digit with three in that square's houses: were it not that digit, the
// grid would be a pattern with two solutions.
std::optional<Finding> findBivalueUniversalGrave(const Pencilmarks& marks);

} // namespace kavrin
