// The game window: its layout and menus, and its handlers, each handing on to the room that acts.
#include "frm_game.h"

#include "accessible_roles.h"
#include "commands/check_command.h"
#include "commands/game_commands.h"
#include "commands/generate_command.h"
#include "commands/solve_command.h"
#include "grid_layout.h"
#include "host/messages.h"
#include "qt_host.h"
#include "recent_menu.h"
#include "solve_panel.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMargins>
#include <QMenu>
#include <QMenuBar>
#include <QRect>
#include <QScreen>
#include <QSize>
#include <QWindow>

#include <cstddef>
#include <functional>
#include <utility>

namespace kavrin {

frmGame::frmGame(Prompter& prompter, std::unique_ptr<UniformSource> random, GameFiles files)
    : random_(std::move(random)), client_(new QWidget(this)), Shape1(new QFrame(client_)),
      picSolveHolder(new SolvePanel(client_)), host_(*this, prompter, [this] { waitEnded(); }),
      files_(board_, host_, std::move(files), [this] { return host_.searching(); }, this), input_(board_, Kavrin)
{
    setWindowTitle(toQString(kTitle) + QStringLiteral(" \u2013 by its two authors"));
    setCentralWidget(client_);
    board_.setObserver(this);
    installAccessibleRoles();
    Form_Load();
}

frmGame::~frmGame()
{
    board_.setObserver(nullptr);
}

// The wheel hook needs the window's native handle, which exists once the window is shown.
void frmGame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    input_.hookWheel(windowHandle(), [this](int& direct, int& cancel) { clsMouseWheel_MouseWheel(direct, cancel); });
}

void frmGame::Form_Load()
{
    buildMenus();
    resize(360, 360 + menuBar()->sizeHint().height()); // the client area below the menu bar
    centreOnScreen();
    files_.showRecentFiles(this, mnuFile, SepRecent);
    files_.takeDropsOn(*this, [this](QPoint position) { return dropHandlerAt(position); });
    ArrangeSquares();
    picSolveHolder->ArrangeSolveTiles();
    candidates_.ResetCandidates();
    picSolveHolder->move(Kavrin[81]->x() + Kavrin[81]->width() + 15, 8);
    connect(picSolveHolder, &SolvePanel::doubleClicked, this, &frmGame::picSolveHolder_DblClick);
    files_.openCommandLine();
}

// The one gate of the commands: none starts while a search is running, whatever reaches the
// window (a shortcut, a menu item, a recent item, a drop). A later start's file waits instead.
void frmGame::addCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut, void (frmGame::*handler)())
{
    connect(menu->addAction(caption, shortcut), &QAction::triggered, this, [this, handler] {
        if (!host_.searching())
            (this->*handler)();
    });
}

void frmGame::buildMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("File"));
    addCommand(mnuFile, QStringLiteral("Load"), Qt::CTRL | Qt::Key_O, &frmGame::mnuLoad_Click);
    addCommand(mnuFile, QStringLiteral("Save"), Qt::CTRL | Qt::Key_S, &frmGame::mnuSave_Click);
    SepRecent = mnuFile->addSeparator();
    // The recent list shows or hides this placeholder and its separator.
    mnuFile->addAction(QString::fromLatin1(kRecentPlaceholder));
    mnuFile->addSeparator();
    // Closing mid-search is the close event's to handle, so Exit needs no gate.
    mnuFile->addAction(QStringLiteral("Exit"), this, &frmGame::mnuExit_Click);

    QMenu* mnuGame = menuBar()->addMenu(QStringLiteral("Game"));
    addCommand(mnuGame, QStringLiteral("New"), Qt::Key_F2, &frmGame::mnuNewGame_Click);
    mnuGame->addSeparator();
    addCommand(mnuGame, QStringLiteral("Generate"), Qt::Key_F5, &frmGame::mnuGenerate_Click);
    // These three are the game's commands, not select-all, copy and undo.
    addCommand(mnuGame, QStringLiteral("Solve"), Qt::CTRL | Qt::Key_A, &frmGame::mnuSolve_Click);
    addCommand(mnuGame, QStringLiteral("Check Diagram"), Qt::CTRL | Qt::Key_C, &frmGame::mnuCheck_Click);
    mnuGame->addSeparator();
    addCommand(mnuGame, QStringLiteral("Clear blue numbers"), Qt::CTRL | Qt::Key_Z, &frmGame::mnuClear_Click);

    addCommand(menuBar()->addMenu(QStringLiteral("Help")), QStringLiteral("About"), {}, &frmGame::mnuAbout_Click);
}

void frmGame::centreOnScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize frame = frameGeometry().size();
    move(screen.x() + (screen.width() - frame.width()) / 2, screen.y() + (screen.height() - frame.height()) / 2);
}

// The frame has a size only once the window manager has framed the shown window: the whole frame
// is centred then, once.
void frmGame::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (frameCentred_ || !windowHandle() || windowHandle()->frameMargins().isNull())
        return;
    frameCentred_ = true;
    centreOnScreen();
}

void frmGame::ArrangeSquares()
{
    for (int i = 1; i <= kSquareCount; ++i) {
        Kavrin[i] = new SquareView(i, client_);
        Kavrin[i]->move(blockGridPosition(i, QSize(30, 30), QPoint(10, 10)));
        connect(Kavrin[i], &SquareView::keyDown, this, &frmGame::Kavrin_KeyDown);
        connect(Kavrin[i], &SquareView::mouseDown, this, &frmGame::Kavrin_MouseDown);
        connect(Kavrin[i], &SquareView::doubleClicked, this, &frmGame::Kavrin_DblClick);
        connect(Kavrin[i], &SquareView::mouseMoved, this, &frmGame::Kavrin_MouseMove);
        connect(Kavrin[i], &SquareView::gotFocus, this, &frmGame::Kavrin_GotFocus);
    }
    static_cast<QFrame*>(Shape1)->setFrameStyle(QFrame::Box | QFrame::Plain);
    static_cast<QFrame*>(Shape1)->setLineWidth(1);
    Shape1->setGeometry(Kavrin[1]->x() - 1, Kavrin[1]->y() - 1, 32, 32);
    Shape1->lower();
    Kavrin[1]->setFocus(Qt::OtherFocusReason);
    Kavrin_GotFocus(1);
}

void frmGame::Kavrin_GotFocus(int index)
{
    Shape1->move(Kavrin[index]->x() - 1, Kavrin[index]->y() - 1);
    CurrentSquare = index;
}

void frmGame::squareChanged(int index)
{
    Kavrin[index]->draw(board_[index], board_.background(index), board_.digitColour(index));
    // A search would flood a screen reader with every trial: while the wait window shows, the
    // squares keep quiet, and each one changed speaks once when it closes.
    if (host_.waitShown())
        unannounced_.set(static_cast<std::size_t>(index));
    else
        Kavrin[index]->announceName();
}

// Disabling took the focus off the grid; it returns to the square that had it, not to square 1.
void frmGame::waitEnded()
{
    for (int i = 1; i <= kSquareCount; ++i)
        if (unannounced_.test(static_cast<std::size_t>(i)))
            Kavrin[i]->announceName();
    unannounced_.reset();
    if (CurrentSquare > 0)
        Kavrin[CurrentSquare]->setFocus(Qt::OtherFocusReason);
}

void frmGame::Kavrin_KeyDown(int index, QKeyEvent* event)
{
    if (input_.keyDown(index, *event))
        event->accept();
}

void frmGame::Kavrin_MouseDown(int index, MouseButton button)
{
    input_.mouseDown(index, button);
}

void frmGame::Kavrin_DblClick(int index)
{
    input_.doubleClick(index);
}

void frmGame::Kavrin_MouseMove(int index)
{
    if (QApplication::activeWindow() == this)
        Kavrin[index]->setFocus(Qt::MouseFocusReason);
}

// The hook sees turns before the widgets do, so a window disabled for a search must refuse them here.
void frmGame::clsMouseWheel_MouseWheel(int& direct, int& /*Cancel*/)
{
    if (isEnabled())
        input_.wheelTurned(CurrentSquare, direct);
}

void frmGame::picSolveHolder_DblClick()
{
    candidates_.UpdateCandidates(board_);
    picSolveHolder->ShowAvailableNumbers(candidates_);
}

void frmGame::mnuSolve_Click()
{
    host_.runSearch([this](SearchHost& host) { SolveCommand(board_, candidates_, host); });
}

void frmGame::mnuCheck_Click()
{
    CheckCommand(board_, candidates_, host_);
}

void frmGame::mnuGenerate_Click()
{
    GenerateCommand(board_, candidates_, *random_, host_, host_);
}

void frmGame::mnuNewGame_Click()
{
    NewGame(board_, host_);
}

void frmGame::mnuClear_Click()
{
    ClearBlueNumbers(board_);
}

void frmGame::mnuLoad_Click()
{
    files_.loadFromDialog();
}

void frmGame::mnuSave_Click()
{
    files_.saveFromDialog();
}

void frmGame::mnuExit_Click()
{
    close();
}

void frmGame::mnuAbout_Click()
{
    host_.ask(aboutMessage());
}

void frmGame::openFromLaterStart(const QString& path)
{
    files_.openFromLaterStart(path);
}

void frmGame::Form_OLEDragDrop(const QMimeData& data)
{
    files_.openDropped(data);
}

void frmGame::picSolveHolder_OLEDragDrop(const QMimeData& data)
{
    files_.openDropped(data);
}

void frmGame::Kavrin_OLEDragDrop(int /*index*/, const QMimeData& data)
{
    files_.openDropped(data);
}

// The grid, the bare client area and the panel take files; the panel's tiles and the menu bar do not.
FileRoutes::DropHandler frmGame::dropHandlerAt(QPoint position)
{
    QWidget* target = childAt(position);
    if (target != client_ && !client_->isAncestorOf(target))
        return {};
    if (auto* square = qobject_cast<SquareView*>(target))
        return [this, square](const QMimeData& data) { Kavrin_OLEDragDrop(square->index(), data); };
    if (target != picSolveHolder)
        return [this](const QMimeData& data) { Form_OLEDragDrop(data); };
    if (picSolveHolder->hasTileAt(picSolveHolder->mapFrom(this, position)))
        return {};
    return [this](const QMimeData& data) { picSolveHolder_OLEDragDrop(data); };
}

// Closing mid-search cancels the search first; the window closes when it has unwound.
void frmGame::closeEvent(QCloseEvent* event)
{
    if (host_.holdCloseForSearch())
        return event->ignore();
    host_.closeWaitWindow();
    input_.releaseWheel();
    event->accept();
}

} // namespace kavrin
