// One grid square: a sunken 30 x 30 box showing the record SetSquare last gave it.
#pragma once

#include "model/board.h"
#include "model/colour.h"

#include <QFrame>
#include <QObject>
#include <QString>
#include <QWidget>

namespace kavrin {

// A mouse button as the squares number it; Middle stands for any button but the two main ones.
enum class MouseButton { None = 0, Left = 1, Right = 2, Middle = 4 };

// Its input goes out as signals, as the panel's does; the square knows nothing of the game.
class SquareView final : public QFrame {
    Q_OBJECT
public:
    SquareView(int index, QWidget* parent);

    // Keeps the square's record and background and schedules a repaint from them.
    void draw(const SquareInfo& square, Colour background, Colour digitColour);
    // Tells a screen reader that what the square shows has changed.
    void announceName();
    Colour drawnBackground() const { return background_; }
    int drawnDigit() const { return digit_; }
    int index() const { return index_; }
    // What a screen reader says of the square: what the player sees on it.
    QString spokenName() const;

signals:
    // The event arrives ignored; whoever acts on the key accepts it.
    void keyDown(int index, QKeyEvent* event);
    void mouseDown(int index, kavrin::MouseButton button);
    // The second press of a double-click, which comes as this alone.
    void doubleClicked(int index);
    void mouseMoved(int index);
    void gotFocus(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int index_;
    Colour background_ = kWhite;
    Colour digitColour_ = kFixedDigitColour;
    int digit_ = 0;
    bool fixed_ = false;
};

} // namespace kavrin
