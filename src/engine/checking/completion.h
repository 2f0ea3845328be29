// How many digits the 27 units lack, with the report that names each faulty unit.
#pragma once

#include "model/board.h"

#include <cstdint>
#include <string>

namespace kavrin {

// 0 exactly when every row, column and block holds 1..9. With a report, its text is built too.
std::int16_t CheckCompletion(const Board& board, std::string* report = nullptr);

} // namespace kavrin
