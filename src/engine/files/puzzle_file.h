// The .kvr puzzle file: exactly 243 bytes, no header.
//
// Byte layout: the 81 square records in index order, record n (1..81) at offset 3 * (n - 1):
//   +0  Digit, u8: 0 = empty, 1..9 = the digit
//   +1  Fixed, i16 little-endian: -1 (FF FF) fixed, 0 (00 00) solver digit or empty
// Reading: any non-zero flag counts as fixed; a digit above 9 loads as an empty square, and a
// flag on an empty square is dropped. Bytes past 243 are ignored; a shorter input is rejected.
#pragma once

#include "model/board.h"
#include "model/square.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kavrin {

inline constexpr std::size_t kPuzzleFileSize = 243;
inline constexpr std::size_t kRecordSize = 3;

using PuzzleBytes = std::array<std::uint8_t, kPuzzleFileSize>;
// Records as read, before the range clean-up (a digit byte may be above 9).
using PuzzleRecords = std::array<SquareInfo, kSquareCount>;

PuzzleBytes encodePuzzle(const Board& board);
std::optional<PuzzleRecords> decodePuzzle(std::span<const std::uint8_t> bytes);
// Puts records on the board through SetSquare, repainting every square on white.
void applyPuzzle(Board& board, const PuzzleRecords& records);

} // namespace kavrin
