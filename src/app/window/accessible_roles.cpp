// An accessibility factory giving squares and tiles their roles; Qt's own serves the rest.
#include "accessible_roles.h"

#include "solve_panel.h"
#include "square_view.h"

#include <QAccessibleWidget>

namespace kavrin {

namespace {

QAccessibleInterface* roleFor(const QString& /*className*/, QObject* object)
{
    if (auto* square = qobject_cast<SquareView*>(object))
        return new QAccessibleWidget(square, QAccessible::Cell);
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
