// Load and Save of .kvr files, as the window does them.
#pragma once

#include "files/puzzle_file.h"

#include <QString>

namespace kavrin {

// Empty on success, else a sentence naming the file.
using FileError = QString;

// Leaves the board untouched when the file cannot be read or is too short.
FileError LoadPuzzle(Board& board, const QString& path);
// Writes the whole file or nothing, so an old file stays whole when the save fails; only a
// writable file in a folder that is not is written in place.
FileError SavePuzzle(const Board& board, const QString& path);

} // namespace kavrin
