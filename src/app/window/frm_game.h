// The game window: the grid, the focus frame, the available-numbers panel and the menus.
#pragma once

#include "file_commands.h"
#include "generation/uniform_source.h"
#include "host/host.h"
#include "model/candidates.h"
#include "puzzle_dialogs.h"
#include "recent_menu.h"
#include "square_view.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QKeyEvent;
class QKeySequence;
class QMenu;
class QMimeData;

namespace kavrin {

class CMouseWheel;
class SolvePanel;
class frmWait;

// Where the window keeps its recent list, what the shell asked it to open, and how it asks for files.
struct GameFiles {
    QString recentListFile;
    QString commandLine; // the whole argument text, quotes and all
    std::unique_ptr<PuzzleDialogs> dialogs; // null: the platform's file dialogs
};

class frmGame final : public QMainWindow, public SquareObserver, public WaitWindow, public EventPump, public Prompter {
    Q_OBJECT
public:
    // Messages go to `prompter`; draws come from `random`.
    frmGame(Prompter& prompter, std::unique_ptr<UniformSource> random, GameFiles files);
    ~frmGame() override;

    const Board& board() const { return board_; }
    SquareView& square(int index) const { return *Kavrin[index]; }
    SolvePanel& panel() const { return *picSolveHolder; }
    QWidget& focusFrame() const { return *Shape1; }
    QWidget& clientArea() const { return *client_; }
    frmWait* waitWindow() const { return wait_.get(); }
    int currentSquare() const { return CurrentSquare; }
    // The search's cancel flag, set by Esc on the wait window.
    bool escPressed() const { return EscPressed; }

    // A file a later start of the program handed over (empty: none); see openLaterStartFile.
    void openFromLaterStart(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void squareChanged(int index) override;
    void ShowWait(bool showHint) override;
    void unloadWait() override;
    bool processEventsOnce() override;
    Answer ask(const Message& message) override;

    void Form_Load();
    void buildMenus();
    QAction* addCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut, void (frmGame::*handler)());
    void whenIdle(const std::function<void()>& command);
    void ArrangeSquares();
    void placeWindow();
    void centreOnScreen();

    // Square and panel input.
    void Kavrin_KeyDown(int index, QKeyEvent* event);
    void Kavrin_MouseDown(int index, MouseButton button);
    void Kavrin_DblClick(int index);
    void Kavrin_MouseMove(int index);
    void Kavrin_GotFocus(int index);
    void clsMouseWheel_MouseWheel(int& direct, int& Cancel);
    void picSolveHolder_DblClick();
    void goTo(int row, int col);
    void step(int index, Step direction);
    void enter(int index, int digit);

    // Menu commands.
    void mnuLoad_Click();
    void mnuSave_Click();
    void mnuRecentFile_Click(const QString& path);
    void mnuNewGame_Click();
    void mnuGenerate_Click();
    void mnuSolve_Click();
    void mnuCheck_Click();
    void mnuClear_Click();
    void mnuExit_Click();
    void mnuAbout_Click();

    // Opening by path: the command line, drops, and a later start's file.
    FileResult LoadPuzzle(const QString& path);
    PuzzleLoader loader();
    void OpenFromPath(const QString& path);
    void openLaterStartFile();
    void openDropped(const QMimeData& data);
    bool takesDropAt(QPoint position) const;
    void Form_OLEDragDrop(const QMimeData& data);
    void picSolveHolder_OLEDragDrop(const QMimeData& data);
    void Kavrin_OLEDragDrop(int index, const QMimeData& data);

    Prompter& prompter_;
    std::unique_ptr<UniformSource> random_;
    Board board_;
    Candidates candidates_;
    QWidget* client_;
    QWidget* Shape1;
    SolvePanel* picSolveHolder;
    std::array<SquareView*, kSquareCount + 1> Kavrin{}; // element 0 unused
    std::unique_ptr<frmWait> wait_;
    std::unique_ptr<CMouseWheel> clsMouseWheel;
    GameFiles files_;
    clsRecentMenu recent_;
    QMenu* mnuFile = nullptr;
    QAction* SepRecent = nullptr;
    int CurrentSquare = 0;
    MouseButton LastButton = MouseButton::None;
    bool EscPressed = false;
    bool searching_ = false;
    bool closeRequested_ = false;
    bool frameCentred_ = false;
    QString laterStartPath_;
};

} // namespace kavrin
