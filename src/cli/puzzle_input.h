// The puzzle a command is given: a puzzle line on the command line, a .kvr file, a text file
// whose first line that is not blank is a puzzle, or "-" for that line from standard input.
#pragma once

#include "model/board.h"

#include <string>

namespace kavrin::cli {

// Whether the path names a .kvr file, whatever the case of its extension.
bool isKvrPath(const std::string& path);

// Throws an input Error that names the argument when it holds no puzzle.
Board readPuzzle(const std::string& argument);

// The first line that is not blank; throws an input Error when there is none or it is too long.
std::string firstPuzzleLine(int fd, const std::string& name);

} // namespace kavrin::cli
