// The game window: the grid, the focus frame, the available-numbers panel and the menus.
#pragma once

#include "file_commands.h"
#include "file_routes.h"
#include "game_host.h"
#include "generation/uniform_source.h"
#include "host/host.h"
#include "model/board.h"
#include "model/candidates.h"
#include "model/square.h"
#include "square_input.h"
#include "square_view.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMainWindow>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>
#include <bitset>
#include <memory>

namespace kavrin {

class SolvePanel;

// It lays the window out and hands each event on: the squares' input to SquareInput, the engine's
// requests to GameHost, and the files to FileRoutes.
class frmGame final : public QMainWindow, public SquareObserver {
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
    frmWait* waitWindow() const { return host_.waitWindow(); }
    int currentSquare() const { return CurrentSquare; }
    // The search's cancel flag, set by Esc on the wait window.
    bool escPressed() const { return host_.escPressed(); }

    // A later start of the program came here, with a file to open (empty: none).
    void openFromLaterStart(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void squareChanged(int index) override;
    // The squares changed meanwhile speak, and the focus returns to its square.
    void waitEnded();

    void Form_Load();
    void buildMenus();
    void addCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut, void (frmGame::*handler)());
    void ArrangeSquares();
    void centreOnScreen();
    FileRoutes::DropHandler dropHandlerAt(QPoint position);

    void Kavrin_KeyDown(int index, QKeyEvent* event);
    void Kavrin_MouseDown(int index, MouseButton button);
    void Kavrin_DblClick(int index);
    void Kavrin_MouseMove(int index);
    void Kavrin_GotFocus(int index);
    void clsMouseWheel_MouseWheel(int& direct, int& Cancel);
    void picSolveHolder_DblClick();

    void mnuLoad_Click();
    void mnuSave_Click();
    void mnuNewGame_Click();
    void mnuGenerate_Click();
    void mnuSolve_Click();
    void mnuCheck_Click();
    void mnuClear_Click();
    void mnuExit_Click();
    void mnuAbout_Click();

    void Form_OLEDragDrop(const QMimeData& data);
    void picSolveHolder_OLEDragDrop(const QMimeData& data);
    void Kavrin_OLEDragDrop(int index, const QMimeData& data);

    std::unique_ptr<UniformSource> random_;
    Board board_;
    Candidates candidates_;
    QWidget* client_;
    QWidget* Shape1;
    SolvePanel* picSolveHolder;
    std::array<SquareView*, kSquareCount + 1> Kavrin{}; // element 0 unused
    GameHost host_;
    FileRoutes files_;
    SquareInput input_;
    QMenu* mnuFile = nullptr;
    QAction* SepRecent = nullptr;
    int CurrentSquare = 0;
    std::bitset<kSquareCount + 1> unannounced_; // changed while the wait window showed
    bool frameCentred_ = false;
};

} // namespace kavrin
