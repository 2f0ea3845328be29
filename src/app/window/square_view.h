// One grid square: a sunken 30 x 30 box showing the record SetSquare last gave it.
#pragma once

#include "model/board.h"

#include <QFrame>

namespace kavrin {

class frmGame;

class SquareView final : public QFrame {
    Q_OBJECT
public:
    SquareView(frmGame& game, int index, QWidget* parent);

    // Keeps the square's record and background and schedules a repaint from them.
    void draw(const SquareInfo& square, Colour background, Colour digitColour);
    Colour drawnBackground() const { return background_; }
    int drawnDigit() const { return digit_; }
    int index() const { return index_; }
    // What a screen reader says of the square: what the player sees on it.
    QString spokenName() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    frmGame& game_;
    int index_;
    Colour background_ = kWhite;
    Colour digitColour_ = kFixedDigitColour;
    int digit_ = 0;
    bool fixed_ = false;
};

} // namespace kavrin
