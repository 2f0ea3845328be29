// The available-numbers panel: 81 tiles showing each square's candidates, draggable.
#pragma once

#include "model/candidates.h"
#include "model/square.h"

#include <QFrame>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>

namespace kavrin {

// One tile: the digits still possible in its square, each in its own place, painted from what it
// was last shown so that it is sharp at any device pixel ratio. It takes no input.
class SolveTile final : public QWidget {
    Q_OBJECT
public:
    SolveTile(int index, QWidget* parent);
    void showCandidates(const Candidates& candidates);
    // The digits drawn visibly, in their places ("1234.6789", '.' hidden); empty until candidates are first shown.
    const QString& shown() const { return shown_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int index_;
    QString shown_;
};

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
    void doubleClicked();

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
