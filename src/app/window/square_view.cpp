// Drawing a square's digit and passing its input to the game window.
#include "square_view.h"

#include "frm_game.h"
#include "qt_host.h"

#include <QMouseEvent>
#include <QPainter>

namespace kavrin {

namespace {
QFont squareFont()
{
    // Stands in for MS Sans Serif 9.75 pt bold: a bold sans-serif face about 13 pixels high.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}
} // namespace

SquareView::SquareView(frmGame& game, int index, QWidget* parent)
    : QFrame(parent), game_(game), index_(index)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFixedSize(30, 30);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setFont(squareFont());
    draw({}, kWhite, kFixedDigitColour);
}

void SquareView::draw(const SquareInfo& square, Colour background, Colour digitColour)
{
    const QRect inner = contentsRect();
    picture_ = QPixmap(inner.size());
    picture_.fill(toQColor(background));
    background_ = background;
    digit_ = square.Digit;
    if (square.Digit != 0) {
        // A printed number: a leading blank for the sign, shifted 3 units left all the same.
        const QString text = QStringLiteral(" %1").arg(square.Digit);
        const QFontMetrics metrics(font());
        const int x = (inner.width() - metrics.horizontalAdvance(text)) / 2 - 3;
        const int y = (inner.height() - metrics.height()) / 2;
        QPainter painter(&picture_);
        painter.setFont(font());
        painter.setPen(toQColor(digitColour));
        painter.drawText(x, y + metrics.ascent(), text);
    }
    update();
}

void SquareView::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter(this).drawPixmap(contentsRect().topLeft(), picture_);
}

void SquareView::keyPressEvent(QKeyEvent* event)
{
    if (!game_.Kavrin_KeyDown(index_, *event))
        QFrame::keyPressEvent(event);
}

namespace {
int buttonNumber(Qt::MouseButton button)
{
    return button == Qt::LeftButton ? 1 : button == Qt::RightButton ? 2 : 4;
}
} // namespace

void SquareView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    game_.Kavrin_MouseDown(index_, buttonNumber(event->button()));
}

// Qt delivers the second press of a double-click as this event alone.
void SquareView::mouseDoubleClickEvent(QMouseEvent*)
{
    game_.Kavrin_DblClick(index_);
}

void SquareView::mouseMoveEvent(QMouseEvent*)
{
    game_.Kavrin_MouseMove(index_);
}

void SquareView::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    game_.Kavrin_GotFocus(index_);
}

} // namespace kavrin
