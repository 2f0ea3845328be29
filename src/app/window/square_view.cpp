// Drawing a square's digit and sending out its input.
#include "square_view.h"

#include "model/square.h"
#include "qt_host.h"

#include <QAccessible>
#include <QFont>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QRect>

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

MouseButton buttonOf(Qt::MouseButton button)
{
    return button == Qt::LeftButton    ? MouseButton::Left
           : button == Qt::RightButton ? MouseButton::Right
                                       : MouseButton::Middle;
}
} // namespace

SquareView::SquareView(int index, QWidget* parent) : QFrame(parent), index_(index)
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
    // Only the record is kept: the next paint draws from it, so a search that sets a square
    // many times between two event passes pays for one picture.
    background_ = background;
    digitColour_ = digitColour;
    digit_ = square.Digit;
    fixed_ = square.Fixed;
    update();
}

// The name is made when a screen reader asks for it; one listening hears that it changed.
void SquareView::announceName()
{
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

QString SquareView::spokenName() const
{
    const auto [row, col] = SquareRowCol(index_);
    QString name = QStringLiteral("Row %1, column %2: ").arg(row).arg(col);
    if (digit_ == 0)
        name += QStringLiteral("empty");
    else
        name += QString::number(digit_) + (fixed_ ? QStringLiteral(", given") : QStringLiteral(", placed by the solver"));
    if (background_ == kYellow)
        name += QStringLiteral(", marked");
    return name;
}

void SquareView::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    const QRect inner = contentsRect();
    QPainter painter(this);
    painter.fillRect(inner, toQColor(background_));
    if (digit_ == 0)
        return;
    // A printed number: a leading blank for the sign, shifted 3 units left all the same.
    const QString text = QStringLiteral(" %1").arg(digit_);
    const QFontMetrics metrics(font());
    const int x = inner.left() + (inner.width() - metrics.horizontalAdvance(text)) / 2 - 3;
    const int y = inner.top() + (inner.height() - metrics.height()) / 2;
    painter.setClipRect(inner);
    painter.setPen(toQColor(digitColour_));
    painter.drawText(x, y + metrics.ascent(), text);
}

void SquareView::keyPressEvent(QKeyEvent* event)
{
    event->ignore(); // a key nobody takes goes on to the window
    emit keyDown(index_, event);
}

void SquareView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    emit mouseDown(index_, buttonOf(event->button()));
}

void SquareView::mouseDoubleClickEvent(QMouseEvent*)
{
    emit doubleClicked(index_);
}

void SquareView::mouseMoveEvent(QMouseEvent*)
{
    emit mouseMoved(index_);
}

void SquareView::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    emit gotFocus(index_);
}

} // namespace kavrin
