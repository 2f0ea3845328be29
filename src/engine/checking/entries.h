// Repeated digits in a row, column or block, painted yellow.
#pragma once

#include "model/board.h"

#include <cstdint>

namespace kavrin {

void ResetSquareColors(Board& board);

// Marks every square in a repetition; returns how many of them were not yellow before.
std::int16_t CheckEntries(Board& board);

} // namespace kavrin
