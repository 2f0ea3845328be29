// Load and Save of .kvr files, as the window does them.
#pragma once

#include "model/board.h"

#include <QString>

namespace kavrin {

// How a load or a save ended. The words for a failure are made only where one is shown.
struct FileResult {
    enum class Kind { Done, CannotOpen, TooShort, CannotWrite };
    Kind kind = Kind::Done;
    QString reason; // the system's words, when the file could not be opened or written

    bool ok() const { return kind == Kind::Done; }
};

// A regular file with at least one byte: a folder, a FIFO (whose open would wait for a writer
// forever) and an empty file are passed over before any load.
bool isLoadableFile(const QString& path);

// Leaves the board untouched when the file cannot be read or is too short.
FileResult loadPuzzleFile(Board& board, const QString& path);
// Writes the whole file or nothing, so an old file stays whole when the save fails; only a
// writable file in a folder that is not is written in place.
FileResult savePuzzleFile(const Board& board, const QString& path);

} // namespace kavrin
