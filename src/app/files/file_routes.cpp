// The roads of a puzzle file into the game window, each gated while a command runs.
#include "file_routes.h"

#include "files/load_save.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <utility>

namespace kavrin {

namespace {

// The recent items: at most this many, each caption at most this wide in the menu's font.
constexpr int kRecentItemsShown = 9;
constexpr int kRecentCaptionWidth = 500; // pixels

} // namespace

FileRoutes::FileRoutes(Board& board, Prompter& prompter, GameFiles files, Busy busy, QWidget* owner)
    : board_(board), prompter_(prompter), files_(std::move(files)), busy_(std::move(busy)), owner_(owner)
{
    if (!files_.dialogs)
        files_.dialogs = std::make_unique<PuzzleFileDialogs>(owner);
    connect(&recent_, &clsRecentMenu::recentFileChosen, this, [this](const QString& path) {
        if (!busy_())
            openRecentFile(path);
    });
}

void FileRoutes::showRecentFiles(QWidget* owner, QMenu* menu, QAction* separator)
{
    recent_.Initialize(owner, menu, files_.recentListFile, separator, kRecentCaptionWidth, kRecentItemsShown);
}

PuzzleLoader FileRoutes::loader()
{
    return [this](const QString& path) { return loadPuzzleFile(board_, path); };
}

void FileRoutes::loadFromDialog()
{
    kavrin::loadFromDialog(*files_.dialogs, loader(), recent_, prompter_);
}

void FileRoutes::saveFromDialog()
{
    kavrin::saveFromDialog(*files_.dialogs, board_, prompter_);
}

void FileRoutes::openRecentFile(const QString& path)
{
    kavrin::openRecentFile(path, recent_, prompter_, loader());
}

void FileRoutes::OpenFromPath(const QString& path)
{
    kavrin::OpenFromPath(path, recent_, loader(), prompter_);
}

void FileRoutes::openCommandLine()
{
    OpenFromPath(files_.commandLine);
}

void FileRoutes::openFromLaterStart(const QString& path)
{
    if (owner_) {
        if (owner_->isMinimized())
            owner_->showNormal();
        owner_->raise();
        owner_->activateWindow();
    }
    if (path.isEmpty())
        return;
    laterStartPath_ = path;
    openLaterStartFile();
}

void FileRoutes::openLaterStartFile()
{
    if (laterStartPath_.isEmpty())
        return;
    if (busy_() || QApplication::activeModalWidget()) {
        constexpr int kBusyRetryMs = 250;
        QTimer::singleShot(kBusyRetryMs, this, &FileRoutes::openLaterStartFile);
        return;
    }
    OpenFromPath(std::exchange(laterStartPath_, QString()));
}

void FileRoutes::takeDropsOn(QWidget& window, DropTargetAt targetAt)
{
    dropTargetAt_ = std::move(targetAt);
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

bool FileRoutes::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (droppedFilePath(*enter->mimeData()))
            enter->acceptProposedAction();
        return true;
    }
    case QEvent::DragMove: {
        auto* move = static_cast<QDragMoveEvent*>(event);
        if (dropTargetAt_(move->position().toPoint()))
            move->acceptProposedAction();
        else
            move->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const DropHandler handler = dropTargetAt_(drop->position().toPoint());
        if (!handler) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        handler(*drop->mimeData());
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

void FileRoutes::openDropped(const QMimeData& data)
{
    if (const std::optional<QString> path = droppedFilePath(data); path && !busy_())
        OpenFromPath(*path);
}

} // namespace kavrin
