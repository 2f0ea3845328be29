// The colour values the board stores, as 0x00BBGGRR or a system colour (0x80000000 + index).
#pragma once

#include <cstdint>

namespace kavrin {

using Colour = std::uint32_t;

inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kYellow = 0x00FFFF;
inline constexpr Colour kFixedDigitColour = 0x000080;
inline constexpr Colour kSolverDigitColour = 0x80000001; // the system desktop colour

} // namespace kavrin
