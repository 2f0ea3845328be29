// Tiles of three rows of three digits; a digit no longer possible is drawn invisibly in place.
#include "solve_panel.h"

#include "grid_layout.h"

#include <QChar>
#include <QFont>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace kavrin {

namespace {

QString tileName(int index, const QString& shown)
{
    const auto [row, col] = SquareRowCol(index);
    QStringList possible;
    for (const QChar digit : shown)
        if (digit != u'.')
            possible << QString(digit);
    const QString what = shown.isEmpty()    ? QStringLiteral("blank")
                         : possible.empty() ? QStringLiteral("none possible")
                                            : possible.join(u' ') + QStringLiteral(" possible");
    return QStringLiteral("Row %1, column %2: %3").arg(row).arg(col).arg(what);
}

} // namespace

SolveTile::SolveTile(int index, QWidget* parent) : QWidget(parent), index_(index)
{
    // Tiles take no input: presses and double-clicks reach the panel, in its coordinates.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(40, 41);
    QFont font(QStringLiteral("DejaVu Sans")); // stands in for Arial 8.25 pt
    font.setPixelSize(10);
    setFont(font);
    setAccessibleName(tileName(index_, shown_));
}

void SolveTile::showCandidates(const Candidates& candidates)
{
    shown_.clear();
    for (int d = 1; d <= 9; ++d)
        shown_ += candidates(index_, d) != 0 ? QChar(u'0' + d) : QChar(u'.');
    setAccessibleName(tileName(index_, shown_));
    update();
}

// Each number a printed one, " d ", one pixel apart, three to a line; a digit no longer possible
// keeps its place and is simply not drawn.
void SolveTile::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font());
    int x = 0;
    int y = 0;
    for (qsizetype i = 0; i < shown_.size(); ++i) {
        const int digit = int(i) + 1;
        const QString text = QStringLiteral(" %1 ").arg(shown_[i] == u'.' ? 0 : digit);
        x += 1;
        if (shown_[i] != u'.')
            painter.drawText(x, y + metrics.ascent(), text);
        x += metrics.horizontalAdvance(text);
        if (digit % 3 == 0) {
            x = 0;
            y += metrics.lineSpacing();
        }
    }
}

SolvePanel::SolvePanel(QWidget* parent) : QFrame(parent)
{
    setAccessibleName(QStringLiteral("Available numbers"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    setFont(font);
}

SolvePanel::~SolvePanel() = default;

void SolvePanel::ArrangeSolveTiles()
{
    const QSize tile(40, 41);
    for (int i = 1; i <= kSquareCount; ++i) {
        Solve[i] = new SolveTile(i, this);
        Solve[i]->move(blockGridPosition(i, tile, contentsRect().topLeft() + QPoint(0, 10)));
    }
    const QRect last = Solve[kSquareCount]->geometry();
    resize(last.right() + 1 + 10 + lineWidth(), last.bottom() + 1 + 10 + lineWidth());
}

void SolvePanel::ShowAvailableNumbers(const Candidates& candidates)
{
    for (int i = 1; i <= kSquareCount; ++i)
        Solve[i]->showCandidates(candidates);
}

QString SolvePanel::shownDigits(int index) const
{
    return Solve[index]->shown();
}

bool SolvePanel::hasTileAt(QPoint position) const
{
    return std::any_of(Solve.begin() + 1, Solve.end(),
                       [position](const SolveTile* tile) { return tile->geometry().contains(position); });
}

void SolvePanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inner = contentsRect();
    const int x = (inner.width() - fontMetrics().horizontalAdvance(kHint)) / 2;
    painter.drawText(inner.left() + x, inner.top() + 3 + fontMetrics().ascent(), kHint);
}

void SolvePanel::mouseDoubleClickEvent(QMouseEvent*)
{
    emit doubleClicked();
}

void SolvePanel::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = event->position() - contentsRect().topLeft();
    const QRect inner = contentsRect();
    PanelDragging = p.x() >= 0 && p.x() < inner.width() && p.y() >= 0 && p.y() < inner.height();
    PanelGrabX = static_cast<int>(std::nearbyint(p.x()));
    PanelGrabY = static_cast<int>(std::nearbyint(p.y()));
}

void SolvePanel::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::LeftButton || !PanelDragging)
        return;
    const QPointF p = event->position() - contentsRect().topLeft();
    move(x() - PanelGrabX + static_cast<int>(p.x()), y() - PanelGrabY + static_cast<int>(p.y()));
}

void SolvePanel::mouseReleaseEvent(QMouseEvent*)
{
    PanelDragging = false;
}

} // namespace kavrin
