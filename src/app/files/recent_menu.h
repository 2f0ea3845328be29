// clsRecentMenu: the numbered recent-file items of the File menu, rebuilt from the list file.
#pragma once

#include "files/recent_list.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class QAction;
class QMenu;

namespace kavrin {

// The caption the first item carries before there is anything to show.
inline constexpr auto kRecentPlaceholder = "Drive:\\Directory\\Filename.Extension";

class clsRecentMenu final : public QObject {
    Q_OBJECT
public:
    clsRecentMenu();
    ~clsRecentMenu() override;

    // Called once. The items go into `menu` right after `separator` (null: at the menu's end).
    // Item 0 is the action already standing there with the placeholder caption, else one
    // created here. Captions are measured in the menu's font on `owner`'s screen.
    void Initialize(QWidget* owner, QMenu* menu, QString listFileName, QAction* separator,
                    int maxLength, int maxItems);

    // Both rebuild the menu, whether or not the list file could be written.
    FileError AddToList(const QString& path);
    FileError RemoveFromList(const QString& path);
    void CreateRecentMenu();

    const QString& ListFileName() const { return list_.ListFileName(); }

signals:
    // A recent item was chosen; `path` is its full path.
    void recentFileChosen(const QString& path);

private:
    QAction* adoptOrCreateFirstItem();
    QAction* appendItem();
    void connectItem(QAction* item);
    QString caption(int number, const QString& path) const;
    void setShown(bool shown);

    QPointer<QWidget> owner_;
    QPointer<QMenu> menu_;
    QPointer<QAction> separator_;
    QPointer<QAction> first_;
    std::vector<std::unique_ptr<QAction>> more_; // items 1 onward
    RecentList list_{QString()};
    int maxLength_ = 0;
    int maxItems_ = 0;
};

} // namespace kavrin
