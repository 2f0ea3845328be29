// Dead squares, the logical errors: empty squares that can take no digit.
#pragma once

#include "model/board.h"
#include "model/candidates.h"

#include <cstdint>

namespace kavrin {

// Marks yellow and counts every empty square without a candidate (rebuilds the table).
std::int16_t CountLogicalErrors(Board& board, Candidates& candidates);

} // namespace kavrin
