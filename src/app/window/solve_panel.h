// The available-numbers panel: 81 tiles showing each square's candidates, draggable.
#pragma once

#include "model/candidates.h"

#include <QFrame>
#include <QPixmap>

#include <array>
#include <memory>

namespace kavrin {

class SolveTile;

class SolvePanel final : public QFrame {
    Q_OBJECT
public:
    explicit SolvePanel(QWidget* parent);
    ~SolvePanel() override;

    void ArrangeSolveTiles();
    void ShowAvailableNumbers(const Candidates& candidates);
    // What tile i shows: the digits drawn visibly, in their places ("123" "4.6" "789" style, '.' hidden).
    QString shownDigits(int index) const;
    bool hasTileAt(QPoint position) const;

    static inline const QString kHint = QStringLiteral("Double-Click: Show available numbers for each block");

signals:
    void picSolveHolder_DblClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::array<SolveTile*, kSquareCount + 1> Solve{}; // element 0 unused
    bool PanelDragging = false;
    int PanelGrabX = 0;
    int PanelGrabY = 0;
};

} // namespace kavrin
