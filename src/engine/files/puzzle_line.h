// Puzzles as 81-character lines: '1'..'9' a fixed digit, '.' or '0' an empty square.
#pragma once

#include "model/board.h"
#include "model/square.h"

#include <string>
#include <string_view>
#include <variant>

namespace kavrin {

// The digits of a line, 0 for an empty square, or why it is not a puzzle line. Surrounding
// blanks are ignored.
std::variant<Grid, std::string> parseGivens(std::string_view line);
// The board of a line (its digits fixed, on white), or why it is not one.
std::variant<Board, std::string> parsePuzzleLine(std::string_view line);
// '.' for empty squares; fixed and solver digits alike as digits.
std::string formatPuzzleLine(const Grid& digits);
std::string formatPuzzleLine(const Board& board);

} // namespace kavrin
