// Building the recent-file items from the list file and handing on the chosen path.
#include "recent_menu.h"

#include <QAction>
#include <QFontMetrics>
#include <QList>
#include <QMenu>
#include <QPaintDevice>
#include <QVariant>
#include <QWidget>
#include <QtGlobal>

#include <algorithm>
#include <utility>

namespace kavrin {

namespace {

// The action standing right after `anchor`, before which new items go; null at the end.
QAction* actionAfter(const QMenu& menu, const QAction* anchor)
{
    if (!anchor)
        return nullptr;
    const QList<QAction*> actions = menu.actions();
    const qsizetype at = actions.indexOf(anchor);
    return at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr;
}

} // namespace

clsRecentMenu::clsRecentMenu() = default;
clsRecentMenu::~clsRecentMenu() = default;

void clsRecentMenu::Initialize(QWidget* owner, QMenu* menu, QString listFileName, QAction* separator,
                               int maxLength, int maxItems)
{
    owner_ = owner;
    menu_ = menu;
    list_ = RecentList(std::move(listFileName));
    separator_ = separator;
    maxLength_ = maxLength;
    maxItems_ = maxItems;
    first_ = adoptOrCreateFirstItem();
    connectItem(first_);
    CreateRecentMenu();
}

FileError clsRecentMenu::AddToList(const QString& path)
{
    FileError error = list_.AddToList(path);
    CreateRecentMenu();
    return error;
}

FileError clsRecentMenu::RemoveFromList(const QString& path)
{
    FileError error = list_.RemoveFromList(path);
    CreateRecentMenu();
    return error;
}

void clsRecentMenu::CreateRecentMenu()
{
    more_.clear();
    if (!menu_ || !first_)
        return;
    // An unreadable list shows as an empty one; the next write reports the trouble.
    const QStringList paths = list_.read().paths;
    const int count = std::clamp(static_cast<int>(paths.size()), 0, std::max(maxItems_, 0));
    for (int i = 0; i < count; ++i) {
        QAction* item = i == 0 ? first_.data() : appendItem();
        item->setData(paths[i]);
        item->setText(caption(i + 1, paths[i]));
    }
    setShown(count > 0);
}

QAction* clsRecentMenu::adoptOrCreateFirstItem()
{
    QAction* const next = actionAfter(*menu_, separator_);
    if (next && next->text() == QString::fromLatin1(kRecentPlaceholder))
        return next;
    auto* const item = new QAction(QString::fromLatin1(kRecentPlaceholder), menu_); // the menu owns it
    menu_->insertAction(next, item);
    return item;
}

QAction* clsRecentMenu::appendItem()
{
    const QAction* const last = more_.empty() ? first_.data() : more_.back().get();
    more_.push_back(std::make_unique<QAction>());
    QAction* const item = more_.back().get();
    menu_->insertAction(actionAfter(*menu_, last), item);
    connectItem(item);
    return item;
}

void clsRecentMenu::connectItem(QAction* item)
{
    connect(item, &QAction::triggered, this, [this, item] { emit recentFileChosen(item->data().toString()); });
}

QString clsRecentMenu::caption(int number, const QString& path) const
{
    const QFontMetrics metrics(menu_->font(), owner_ ? static_cast<QPaintDevice*>(owner_.data()) : menu_.data());
    const auto width = [&metrics](const QString& text) { return metrics.horizontalAdvance(text); };
    QString shortened = ShortenPath(path, maxLength_, width);
    // A '&' in a path is a letter of the name, not an access-key mark.
    return QString::number(number) + u' ' + shortened.replace(u'&', QStringLiteral("&&"));
}

void clsRecentMenu::setShown(bool shown)
{
    if (separator_)
        separator_->setVisible(shown);
    first_->setVisible(shown);
    for (const auto& item : more_)
        item->setVisible(shown);
}

} // namespace kavrin
