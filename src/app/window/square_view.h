// One grid square: a sunken 30 x 30 box that keeps the picture SetSquare last drew on it.
#pragma once

#include "model/board.h"

#include <QFrame>
#include <QPixmap>

namespace kavrin {

class frmGame;

class SquareView final : public QFrame {
    Q_OBJECT
public:
    SquareView(frmGame& game, int index, QWidget* parent);

    // Redraws the kept picture from the square's record and background.
    void draw(const SquareInfo& square, Colour background, Colour digitColour);
    Colour drawnBackground() const { return background_; }
    int drawnDigit() const { return digit_; }
    int index() const { return index_; }

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
    QPixmap picture_;
    Colour background_ = kWhite;
    int digit_ = 0;
};

} // namespace kavrin
