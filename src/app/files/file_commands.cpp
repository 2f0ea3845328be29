// What the file commands do between the dialogs, the puzzle file and the recent list.
#include "file_commands.h"

#include "files/open_path.h"
#include "files/recent_list.h"
#include "host/messages.h"
#include "puzzle_dialogs.h"
#include "recent_menu.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QMimeData>
#include <QUrl>

#include <string>

namespace kavrin {

namespace {

std::string utf8(const QString& text) { return text.toUtf8().toStdString(); }

void reportListFailure(Prompter& prompter, const FileError& error)
{
    if (!error.isEmpty())
        prompter.ask(exclamation(utf8(error)));
}

bool loadAndList(const QString& path, clsRecentMenu& recent, const PuzzleLoader& load, Prompter& prompter)
{
    if (!load(path).ok())
        return false;
    reportListFailure(prompter, recent.AddToList(path));
    return true;
}

} // namespace

bool loadFromDialog(PuzzleDialogs& dialogs, const PuzzleLoader& load, clsRecentMenu& recent,
                    Prompter& prompter)
{
    const std::optional<QString> path = dialogs.openPuzzlePath();
    return path && isLoadableFile(*path) && loadAndList(*path, recent, load, prompter);
}

bool openRecentFile(const QString& path, clsRecentMenu& recent, Prompter& prompter,
                    const PuzzleLoader& load)
{
    if (isLoadableFile(path))
        return loadAndList(path, recent, load, prompter);
    if (prompter.ask(recentFileMissingQuestion(utf8(path))) == Answer::Yes)
        reportListFailure(prompter, recent.RemoveFromList(path));
    return false;
}

bool OpenFromPath(const QString& path, clsRecentMenu& recent, const PuzzleLoader& load,
                  Prompter& prompter)
{
    const QString cleaned = cleanedAbsolutePath(path);
    return isLoadableFile(cleaned) && loadAndList(cleaned, recent, load, prompter);
}

QString cleanedAbsolutePath(const QString& path)
{
    QString unquoted = cleanedPath(path);
    if (unquoted.isEmpty())
        return unquoted;
    const QString given = QDir::current().absoluteFilePath(unquoted);
    const QString clean = QDir::cleanPath(given);
    // Cleaning goes by the letters alone, so it is kept only where it names the file the system
    // finds: "puzzle.kvr/" is no file, nor is "gone/../puzzle.kvr".
    const QFileInfo found(given);
    return found.exists() && found.canonicalFilePath() == QFileInfo(clean).canonicalFilePath() ? clean : given;
}

void saveFromDialog(PuzzleDialogs& dialogs, const Board& board, Prompter& prompter)
{
    const std::optional<QString> path = dialogs.savePuzzlePath();
    if (!path)
        return;
    const FileResult saved = savePuzzleFile(board, *path);
    if (!saved.ok())
        prompter.ask(exclamation(cannotSaveText(utf8(*path), utf8(saved.reason))));
}

std::optional<QString> droppedFilePath(const QMimeData& data)
{
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return std::nullopt;
}

} // namespace kavrin
