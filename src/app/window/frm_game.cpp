// The game window: layout, square input, and the Game and Help menu commands.
#include "frm_game.h"

#include "accessible_roles.h"
#include "commands/check_command.h"
#include "commands/game_commands.h"
#include "commands/generate_command.h"
#include "commands/solve_command.h"
#include "files/load_save.h"
#include "frm_wait.h"
#include "grid_layout.h"
#include "host/messages.h"
#include "mouse_wheel.h"
#include "qt_host.h"
#include "solve_panel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <utility>

namespace kavrin {

namespace {

// The recent items: at most this many, each caption at most this wide in the menu's font.
constexpr int kRecentItemsShown = 9;
constexpr int kRecentCaptionWidth = 500; // pixels

} // namespace

frmGame::frmGame(Prompter& prompter, std::unique_ptr<UniformSource> random, GameFiles files)
    : prompter_(prompter), random_(std::move(random)), client_(new QWidget(this)),
      Shape1(new QFrame(client_)), picSolveHolder(new SolvePanel(client_)), files_(std::move(files))
{
    if (!files_.dialogs)
        files_.dialogs = std::make_unique<PuzzleFileDialogs>(this);
    setAcceptDrops(true);
    setWindowTitle(toQString(kTitle) + QStringLiteral(" \u2013 by its two authors"));
    setCentralWidget(client_);
    board_.setObserver(this);
    installAccessibleRoles();
    QCoreApplication::instance()->installEventFilter(this);
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
    if (clsMouseWheel)
        return;
    clsMouseWheel = std::make_unique<CMouseWheel>();
    clsMouseWheel->setMouseWheelHandler([this](int& direct, int& cancel) { clsMouseWheel_MouseWheel(direct, cancel); });
    clsMouseWheel->Form(windowHandle());
    clsMouseWheel->SubClassHookForm();
}

void frmGame::Form_Load()
{
    buildMenus();
    placeWindow();
    recent_.Initialize(this, mnuFile, files_.recentListFile, SepRecent, kRecentCaptionWidth, kRecentItemsShown);
    connect(&recent_, &clsRecentMenu::recentFileChosen, this,
            [this](const QString& path) { whenIdle([this, path] { mnuRecentFile_Click(path); }); });
    ArrangeSquares();
    picSolveHolder->ArrangeSolveTiles();
    candidates_.ResetCandidates();
    picSolveHolder->move(Kavrin[81]->x() + Kavrin[81]->width() + 15, 8);
    connect(picSolveHolder, &SolvePanel::doubleClicked, this, &frmGame::picSolveHolder_DblClick);
    OpenFromPath(files_.commandLine);
}

// The one gate of the commands: none starts while a search is running, whatever reaches the
// window (a shortcut, a menu item, a recent item, a drop). A later start's file waits instead.
void frmGame::whenIdle(const std::function<void()>& command)
{
    if (!searching_)
        command();
}

QAction* frmGame::addCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                             void (frmGame::*handler)())
{
    QAction* action = menu->addAction(caption, shortcut);
    connect(action, &QAction::triggered, this, [this, handler] { whenIdle([this, handler] { (this->*handler)(); }); });
    return action;
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

    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("Help"));
    addCommand(mnuHelp, QStringLiteral("About"), {}, &frmGame::mnuAbout_Click);
}

// A 360 x 360 client area below the menu bar, centred on the screen.
void frmGame::placeWindow()
{
    resize(360, 360 + menuBar()->sizeHint().height());
    centreOnScreen();
}

void frmGame::centreOnScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize frame = frameGeometry().size();
    move(screen.x() + (screen.width() - frame.width()) / 2, screen.y() + (screen.height() - frame.height()) / 2);
}

// The window manager gives the keys to the window clicked, even one that a modal window blocks:
// they go on to the modal window (the wait window, a message box, a file dialog), which comes forward.
void frmGame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
        modal->raise();
        modal->activateWindow();
    }
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
}

void frmGame::enter(int index, int digit)
{
    board_.SetSquare(index, digit, true, kWhite);
}

void frmGame::step(int index, Step direction)
{
    board_.SetSquare(index, direction, true, kWhite);
}

void frmGame::goTo(int row, int col)
{
    Kavrin[SquareIndex(row, col)]->setFocus(Qt::OtherFocusReason);
}

void frmGame::Kavrin_KeyDown(int index, QKeyEvent* event)
{
    const auto [row, col] = SquareRowCol(index);
    const int key = event->key();
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const bool shiftAlone = (event->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        enter(index, key - Qt::Key_0);
    else if (key == Qt::Key_Delete || key == Qt::Key_Space)
        enter(index, 0);
    else if (key == Qt::Key_Left)
        col > 1 ? goTo(row, col - 1) : void();
    else if (key == Qt::Key_Right)
        col < 9 ? goTo(row, col + 1) : void();
    else if (key == Qt::Key_Up)
        row > 1 ? goTo(row - 1, col) : void();
    else if (key == Qt::Key_Down)
        row < 9 ? goTo(row + 1, col) : void();
    else if (key == Qt::Key_Home)
        goTo(row, 1);
    else if (key == Qt::Key_End)
        goTo(row, 9);
    else if (key == Qt::Key_PageUp)
        goTo(1, col);
    else if (key == Qt::Key_PageDown)
        goTo(9, col);
    else if (key == Qt::Key_Return || key == Qt::Key_Enter || (key == Qt::Key_Plus && keypad))
        step(index, shiftAlone ? Step::Down : Step::Up);
    else if (key == Qt::Key_Minus && keypad)
        step(index, Step::Down);
    else
        return;
    event->accept();
}

void frmGame::Kavrin_MouseDown(int index, MouseButton button)
{
    if (button == MouseButton::Left)
        step(index, Step::Up);
    else if (button == MouseButton::Right)
        step(index, Step::Down);
    else
        enter(index, 0);
    LastButton = button;
}

void frmGame::Kavrin_DblClick(int index)
{
    Kavrin_MouseDown(index, LastButton);
}

void frmGame::Kavrin_MouseMove(int index)
{
    if (QApplication::activeWindow() == this)
        Kavrin[index]->setFocus(Qt::MouseFocusReason);
}

void frmGame::picSolveHolder_DblClick()
{
    candidates_.UpdateCandidates(board_);
    picSolveHolder->ShowAvailableNumbers(candidates_);
}

// The hook sees turns before the widgets do, so a window disabled for a search must refuse them here.
void frmGame::clsMouseWheel_MouseWheel(int& direct, int& /*Cancel*/)
{
    if (!isEnabled())
        return;
    step(CurrentSquare, direct == 1 ? Step::Up : Step::Down);
}

void frmGame::ShowWait(bool showHint)
{
    setEnabled(false);
    if (showHint)
        EscPressed = false;
    if (!wait_)
        wait_ = std::make_unique<frmWait>(EscPressed, this);
    // A child window follows its owner's disabling, and this one has to take Esc.
    wait_->setEnabled(true);
    wait_->setWindowTitle(toQString(kTitle));
    QString caption = toQString(kPleaseWait);
    if (showHint)
        caption += toQString(kCrLf) + toQString(kPressEscToCancel);
    wait_->setCaption(caption);
    wait_->move(frameGeometry().center() - wait_->rect().center());
    wait_->show();
    wait_->raise();
    wait_->activateWindow();
    wait_->setFocus();
    wait_->repaint();
}

void frmGame::unloadWait()
{
    // The keys come back here if the wait window had them, and only then: no stealing them from
    // another program the player went to meanwhile.
    const bool waitHadKeys = wait_ && wait_->isActiveWindow();
    if (wait_)
        wait_->unload();
    setEnabled(true);
    if (waitHadKeys)
        activateWindow();
    // Disabling took the focus off the grid; it returns to the square that had it, not to square 1.
    if (CurrentSquare > 0)
        Kavrin[CurrentSquare]->setFocus(Qt::OtherFocusReason);
}

// A close of the main window cancels too, even one that came before the wait window cleared the flag.
bool frmGame::processEventsOnce()
{
    QCoreApplication::processEvents();
    return EscPressed || closeRequested_;
}

// Once the window is closing, the search's closing message is not shown.
Answer frmGame::ask(const Message& message)
{
    if (closeRequested_)
        return message.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    return prompter_.ask(message);
}

void frmGame::mnuSolve_Click()
{
    SearchHost host{*this, *this, *this};
    searching_ = true;
    SolveCommand(board_, candidates_, host);
    searching_ = false;
    if (closeRequested_)
        close();
}

// A quit asked while the search yields would otherwise end the program only when the search is over.
bool frmGame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit && searching_)
        closeRequested_ = true;
    return QMainWindow::eventFilter(watched, event);
}

void frmGame::mnuCheck_Click()
{
    CheckCommand(board_, candidates_, *this);
}

void frmGame::mnuGenerate_Click()
{
    GenerateCommand(board_, candidates_, *random_, *this, *this);
}

void frmGame::mnuNewGame_Click()
{
    NewGame(board_, *this);
}

void frmGame::mnuClear_Click()
{
    ClearBlueNumbers(board_);
}

FileResult frmGame::LoadPuzzle(const QString& path)
{
    return loadPuzzleFile(board_, path);
}

PuzzleLoader frmGame::loader()
{
    return [this](const QString& path) { return LoadPuzzle(path); };
}

void frmGame::mnuLoad_Click()
{
    loadFromDialog(*files_.dialogs, loader(), recent_, *this);
}

void frmGame::mnuSave_Click()
{
    saveFromDialog(*files_.dialogs, board_, *this);
}

void frmGame::mnuRecentFile_Click(const QString& path)
{
    openRecentFile(path, recent_, *this, loader());
}

void frmGame::OpenFromPath(const QString& path)
{
    kavrin::OpenFromPath(path, recent_, loader(), *this);
}

void frmGame::openFromLaterStart(const QString& path)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (path.isEmpty())
        return;
    laterStartPath_ = path;
    openLaterStartFile();
}

// The file waits while a search runs or a message box waits for its answer; the latest one wins.
void frmGame::openLaterStartFile()
{
    if (laterStartPath_.isEmpty())
        return;
    if (searching_ || QApplication::activeModalWidget()) {
        constexpr int kBusyRetryMs = 250;
        QTimer::singleShot(kBusyRetryMs, this, &frmGame::openLaterStartFile);
        return;
    }
    OpenFromPath(std::exchange(laterStartPath_, QString()));
}

void frmGame::openDropped(const QMimeData& data)
{
    if (const std::optional<QString> path = droppedFilePath(data))
        whenIdle([this, &path] { OpenFromPath(*path); });
}

void frmGame::Form_OLEDragDrop(const QMimeData& data)
{
    openDropped(data);
}

void frmGame::picSolveHolder_OLEDragDrop(const QMimeData& data)
{
    openDropped(data);
}

void frmGame::Kavrin_OLEDragDrop(int /*index*/, const QMimeData& data)
{
    openDropped(data);
}

// The grid, the bare client area and the panel take files; the panel's tiles and the menu bar do not.
bool frmGame::takesDropAt(QPoint position) const
{
    QWidget* target = childAt(position);
    if (target != client_ && !client_->isAncestorOf(target))
        return false;
    return target != picSolveHolder || !picSolveHolder->hasTileAt(picSolveHolder->mapFrom(this, position));
}

void frmGame::dragEnterEvent(QDragEnterEvent* event)
{
    if (droppedFilePath(*event->mimeData()))
        event->acceptProposedAction();
}

void frmGame::dragMoveEvent(QDragMoveEvent* event)
{
    if (takesDropAt(event->position().toPoint()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void frmGame::dropEvent(QDropEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (!takesDropAt(position))
        return event->ignore();
    event->acceptProposedAction();
    QWidget* target = childAt(position);
    if (auto* square = qobject_cast<SquareView*>(target))
        Kavrin_OLEDragDrop(square->index(), *event->mimeData());
    else if (target == picSolveHolder)
        picSolveHolder_OLEDragDrop(*event->mimeData());
    else
        Form_OLEDragDrop(*event->mimeData());
}

void frmGame::mnuExit_Click()
{
    close();
}

void frmGame::mnuAbout_Click()
{
    ask(aboutMessage());
}

// Closing mid-search cancels the search first; the window closes when it has unwound.
void frmGame::closeEvent(QCloseEvent* event)
{
    if (searching_) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    if (wait_)
        wait_->unload();
    if (clsMouseWheel)
        clsMouseWheel->Form(nullptr);
    clsMouseWheel.reset();
    event->accept();
}

} // namespace kavrin
