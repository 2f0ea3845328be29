// The file commands of the game window: Load, Save, a recent item, a path from outside, a drop.
#pragma once

#include "files/load_save.h"
#include "host/host.h"
#include "model/board.h"

#include <QString>

#include <functional>
#include <optional>

class QMimeData;

namespace kavrin {

class PuzzleDialogs;
class clsRecentMenu;

// Fills the board from the file; an error leaves the board as it was.
using PuzzleLoader = std::function<FileResult(const QString& path)>;

// Loading shows nothing when the file cannot be read: the board stays and the list is not
// touched. A list file that cannot be written is reported; the open still counts.
// Each returns whether a puzzle was loaded.

// File > Load.
bool loadFromDialog(PuzzleDialogs& dialogs, const PuzzleLoader& load, clsRecentMenu& recent,
                    Prompter& prompter);
// A recent item: opens it, or offers to drop the entry when its file has gone.
bool openRecentFile(const QString& path, clsRecentMenu& recent, Prompter& prompter,
                    const PuzzleLoader& load);
// The command line or a drop: quotes removed, a missing or empty file ignored without a word.
bool OpenFromPath(const QString& path, clsRecentMenu& recent, const PuzzleLoader& load,
                  Prompter& prompter);
// A path from outside as the recent list keeps it: quotes removed, then absolute and clean, so
// that it names the same file from any working folder. Empty stays empty.
QString cleanedAbsolutePath(const QString& path);

// File > Save. A failure is reported with the system's reason.
void saveFromDialog(PuzzleDialogs& dialogs, const Board& board, Prompter& prompter);

// The first local file of a drop; nothing for text or web links.
std::optional<QString> droppedFilePath(const QMimeData& data);

} // namespace kavrin
