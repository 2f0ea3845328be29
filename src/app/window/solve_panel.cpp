// Tiles of three rows of three digits; a digit no longer possible is drawn invisibly in place.
#include "solve_panel.h"

#include "grid_layout.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kavrin {

class SolveTile final : public QWidget {
public:
    explicit SolveTile(QWidget* parent) : QWidget(parent), picture_(40, 41)
    {
        // Tiles take no input: presses and double-clicks reach the panel, in its coordinates.
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFixedSize(40, 41);
        QFont font(QStringLiteral("DejaVu Sans")); // stands in for Arial 8.25 pt
        font.setPixelSize(10);
        setFont(font);
        picture_.fill(Qt::white);
    }

    void show(const Candidates& candidates, int square)
    {
        picture_.fill(Qt::white);
        shown_.clear();
        QPainter painter(&picture_);
        painter.setFont(font());
        const QFontMetrics metrics(font());
        int x = 0;
        int y = 0;
        for (int d = 1; d <= 9; ++d) {
            const int value = candidates(square, d);
            painter.setPen(value != 0 ? Qt::black : Qt::white);
            const QString text = QStringLiteral(" %1 ").arg(value);
            x += 1;
            painter.drawText(x, y + metrics.ascent(), text);
            x += metrics.horizontalAdvance(text);
            shown_ += value != 0 ? QChar('0' + d) : QChar('.');
            if (d % 3 == 0) {
                x = 0;
                y += metrics.lineSpacing();
            }
        }
        update();
    }
    const QString& shown() const { return shown_; }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawPixmap(0, 0, picture_); }

private:
    QPixmap picture_;
    QString shown_;
};

SolvePanel::SolvePanel(QWidget* parent) : QFrame(parent)
{
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
        Solve[i] = new SolveTile(this);
        Solve[i]->move(blockGridPosition(i, tile, contentsRect().topLeft() + QPoint(0, 10)));
    }
    const QRect last = Solve[kSquareCount]->geometry();
    resize(last.right() + 1 + 10 + lineWidth(), last.bottom() + 1 + 10 + lineWidth());
}

void SolvePanel::ShowAvailableNumbers(const Candidates& candidates)
{
    for (int i = 1; i <= kSquareCount; ++i)
        Solve[i]->show(candidates, i);
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
    emit picSolveHolder_DblClick();
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
