// Steps of the ladder told in words a player understands, for example
// "row 3: 7 can only go in column 5".
#pragma once

#include "grading/techniques.h"

#include <string>

namespace kavrin {

std::string explain(const Deduction& deduction);

} // namespace kavrin
