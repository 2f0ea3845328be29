// What the keys, the mouse buttons and the wheel do to the grid's squares.
#pragma once

#include "model/board.h"
#include "model/square.h"
#include "mouse_wheel.h"
#include "square_view.h"

#include <QKeyEvent>
#include <QObject>

#include <array>
#include <memory>

namespace kavrin {

// What a key does to the square that has it, or to the focus.
enum class KeyAction { None, Digit, Empty, Left, Right, Up, Down, Home, End, PageUp, PageDown, StepUp, StepDown };

// The table of keys: the action of a key with these modifiers, and the digit a digit key types.
struct KeyBinding {
    KeyAction action = KeyAction::None;
    int digit = 0;
};
KeyBinding keyBinding(int key, Qt::KeyboardModifiers modifiers);

class SquareInput {
public:
    // Every change goes to `board` as the player's; moves give the focus to one of `squares`.
    SquareInput(Board& board, const std::array<SquareView*, kSquareCount + 1>& squares);

    // Whether the key did anything.
    bool keyDown(int index, const QKeyEvent& event);
    void mouseDown(int index, MouseButton button);
    // The second press of a double-click, taken as a press of the button pressed last.
    void doubleClick(int index);
    void wheelTurned(int index, int direct);
    // Hooks the wheel on `window`, once; each turn goes to `handler`.
    void hookWheel(QObject* window, CMouseWheel::MouseWheelHandler handler);
    // Unhooks and releases the wheel hook, as the window unloads.
    void releaseWheel();

private:
    void act(int index, KeyBinding binding);
    void goTo(int row, int col);
    void enter(int index, int digit);
    void step(int index, Step direction);

    Board& board_;
    const std::array<SquareView*, kSquareCount + 1>& squares_;
    MouseButton LastButton = MouseButton::None;
    std::unique_ptr<CMouseWheel> clsMouseWheel;
};

} // namespace kavrin
