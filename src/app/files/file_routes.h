// Every road by which a puzzle file reaches the game window: the dialogs, the recent items, the
// command line, a later start of the program and a drop.
#pragma once

#include "file_commands.h"
#include "host/host.h"
#include "model/board.h"
#include "puzzle_dialogs.h"
#include "recent_menu.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

namespace kavrin {

// Where the window keeps its recent list, what the shell asked it to open, and how it asks for files.
struct GameFiles {
    QString recentListFile;
    QString commandLine; // the whole argument text, quotes and all
    std::unique_ptr<PuzzleDialogs> dialogs; // null: the platform's file dialogs
};

class FileRoutes final : public QObject {
    Q_OBJECT
public:
    // Whether a command is running that no file may interrupt.
    using Busy = std::function<bool()>;

    // Files fill `board`; messages go to `prompter`; `owner` is the window the files are for.
    FileRoutes(Board& board, Prompter& prompter, GameFiles files, Busy busy, QWidget* owner);

    // The recent items go into `menu` after `separator`, their captions measured on `owner`.
    void showRecentFiles(QWidget* owner, QMenu* menu, QAction* separator);
    void loadFromDialog();
    void saveFromDialog();
    void openRecentFile(const QString& path);
    void OpenFromPath(const QString& path);
    void openCommandLine();
    // A later start of the program brings the owner forward, with a file to open (empty: none).
    // The file waits while a command runs or a message box is up, and the latest one wins.
    void openFromLaterStart(const QString& path);
    // Where a drop lands: what takes its data there, or nothing where files are not taken.
    using DropHandler = std::function<void(const QMimeData& data)>;
    using DropTargetAt = std::function<DropHandler(QPoint position)>;
    // Drags and drops of files on `window`, each point as `targetAt` says.
    void takeDropsOn(QWidget& window, DropTargetAt targetAt);
    void openDropped(const QMimeData& data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openLaterStartFile();
    PuzzleLoader loader();

    Board& board_;
    Prompter& prompter_;
    GameFiles files_;
    Busy busy_;
    QPointer<QWidget> owner_;
    clsRecentMenu recent_;
    QString laterStartPath_;
    DropTargetAt dropTargetAt_;
};

} // namespace kavrin
