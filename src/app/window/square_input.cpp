// The key table and the square input: every change through SetSquare, as the player's digit.
#include "square_input.h"

#include "model/colour.h"

#include <QKeyEvent>
#include <QtGlobal>

#include <utility>

namespace kavrin {

namespace {

// What a row of the key table asks of the modifiers held; the other modifiers are ignored.
enum class Needs { Nothing, Keypad, ShiftAlone, KeypadAndShiftAlone };

struct KeyRow {
    int first; // a range of keys; the digit of a Digit row is the key's distance from `first`
    int last;
    Needs needs;
    KeyAction action;
};

// The first row that matches a key decides: Shift alone turns a step up into a step down.
constexpr KeyRow kKeyTable[] = {
    {Qt::Key_0, Qt::Key_9, Needs::Nothing, KeyAction::Digit},
    {Qt::Key_Delete, Qt::Key_Delete, Needs::Nothing, KeyAction::Empty},
    {Qt::Key_Space, Qt::Key_Space, Needs::Nothing, KeyAction::Empty},
    {Qt::Key_Left, Qt::Key_Left, Needs::Nothing, KeyAction::Left},
    {Qt::Key_Right, Qt::Key_Right, Needs::Nothing, KeyAction::Right},
    {Qt::Key_Up, Qt::Key_Up, Needs::Nothing, KeyAction::Up},
    {Qt::Key_Down, Qt::Key_Down, Needs::Nothing, KeyAction::Down},
    {Qt::Key_Home, Qt::Key_Home, Needs::Nothing, KeyAction::Home},
    {Qt::Key_End, Qt::Key_End, Needs::Nothing, KeyAction::End},
    {Qt::Key_PageUp, Qt::Key_PageUp, Needs::Nothing, KeyAction::PageUp},
    {Qt::Key_PageDown, Qt::Key_PageDown, Needs::Nothing, KeyAction::PageDown},
    {Qt::Key_Return, Qt::Key_Enter, Needs::ShiftAlone, KeyAction::StepDown},
    {Qt::Key_Return, Qt::Key_Enter, Needs::Nothing, KeyAction::StepUp},
    {Qt::Key_Plus, Qt::Key_Plus, Needs::KeypadAndShiftAlone, KeyAction::StepDown},
    {Qt::Key_Plus, Qt::Key_Plus, Needs::Keypad, KeyAction::StepUp},
    {Qt::Key_Minus, Qt::Key_Minus, Needs::Keypad, KeyAction::StepDown},
};

bool holds(Qt::KeyboardModifiers modifiers, Needs needs)
{
    const bool keypad = modifiers & Qt::KeypadModifier;
    const bool shiftAlone = (modifiers & ~Qt::KeypadModifier) == Qt::ShiftModifier;
    switch (needs) {
    case Needs::Keypad: return keypad;
    case Needs::ShiftAlone: return shiftAlone;
    case Needs::KeypadAndShiftAlone: return keypad && shiftAlone;
    case Needs::Nothing: break;
    }
    return true;
}

} // namespace

KeyBinding keyBinding(int key, Qt::KeyboardModifiers modifiers)
{
    for (const KeyRow& row : kKeyTable)
        if (key >= row.first && key <= row.last && holds(modifiers, row.needs))
            return {row.action, row.action == KeyAction::Digit ? key - row.first : 0};
    return {};
}

SquareInput::SquareInput(Board& board, const std::array<SquareView*, kSquareCount + 1>& squares)
    : board_(board), squares_(squares)
{
}

bool SquareInput::keyDown(int index, const QKeyEvent& event)
{
    const KeyBinding binding = keyBinding(event.key(), event.modifiers());
    act(index, binding);
    return binding.action != KeyAction::None;
}

// Movement stops at the grid's edges; it does not wrap.
void SquareInput::act(int index, KeyBinding binding)
{
    const auto [row, col] = SquareRowCol(index);
    switch (binding.action) {
    case KeyAction::Digit: return enter(index, binding.digit);
    case KeyAction::Empty: return enter(index, 0);
    case KeyAction::Left: return col > 1 ? goTo(row, col - 1) : void();
    case KeyAction::Right: return col < 9 ? goTo(row, col + 1) : void();
    case KeyAction::Up: return row > 1 ? goTo(row - 1, col) : void();
    case KeyAction::Down: return row < 9 ? goTo(row + 1, col) : void();
    case KeyAction::Home: return goTo(row, 1);
    case KeyAction::End: return goTo(row, 9);
    case KeyAction::PageUp: return goTo(1, col);
    case KeyAction::PageDown: return goTo(9, col);
    case KeyAction::StepUp: return step(index, Step::Up);
    case KeyAction::StepDown: return step(index, Step::Down);
    case KeyAction::None: return;
    }
}

void SquareInput::mouseDown(int index, MouseButton button)
{
    if (button == MouseButton::Left)
        step(index, Step::Up);
    else if (button == MouseButton::Right)
        step(index, Step::Down);
    else
        enter(index, 0);
    LastButton = button;
}

void SquareInput::doubleClick(int index)
{
    mouseDown(index, LastButton);
}

void SquareInput::wheelTurned(int index, int direct)
{
    step(index, direct == 1 ? Step::Up : Step::Down);
}

void SquareInput::hookWheel(QObject* window, CMouseWheel::MouseWheelHandler handler)
{
    if (clsMouseWheel)
        return;
    clsMouseWheel = std::make_unique<CMouseWheel>();
    clsMouseWheel->setMouseWheelHandler(std::move(handler));
    clsMouseWheel->Form(window);
    clsMouseWheel->SubClassHookForm();
}

void SquareInput::releaseWheel()
{
    if (clsMouseWheel)
        clsMouseWheel->Form(nullptr);
    clsMouseWheel.reset();
}

void SquareInput::goTo(int row, int col)
{
    squares_[SquareIndex(row, col)]->setFocus(Qt::OtherFocusReason);
}

void SquareInput::enter(int index, int digit)
{
    board_.SetSquare(index, digit, true, kWhite);
}

void SquareInput::step(int index, Step direction)
{
    board_.SetSquare(index, direction, true, kWhite);
}

} // namespace kavrin
