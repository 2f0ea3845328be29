// An accessibility factory giving squares and tiles their roles; Qt's own serves the rest.
#include "accessible_roles.h"

#include "solve_panel.h"
#include "square_view.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QObject>
#include <QString>

namespace kavrin {

namespace {

// A square's name is made on request: a search changes squares far more often than anyone listens.
class SquareAccessible final : public QAccessibleWidget {
public:
    explicit SquareAccessible(SquareView* square) : QAccessibleWidget(square, QAccessible::Cell) {}
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? static_cast<const SquareView*>(widget())->spokenName()
                                         : QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* roleFor(const QString& /*className*/, QObject* object)
{
    if (auto* square = qobject_cast<SquareView*>(object))
        return new SquareAccessible(square);
    if (auto* tile = qobject_cast<SolveTile*>(object))
        return new QAccessibleWidget(tile, QAccessible::StaticText);
    return nullptr;
}

} // namespace

void installAccessibleRoles()
{
    static const bool installed = [] {
        QAccessible::installFactory(roleFor);
        return true;
    }();
    (void)installed;
}

} // namespace kavrin
