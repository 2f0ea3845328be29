// A File menu laid out like the window's, with the shared prompter and dialogs.
#pragma once

#include "host/host.h"
#include "recording_prompter.h"
#include "scripted_dialogs.h"
#include "recent_menu.h"

#include <QAction>
#include <QMenu>

#include <vector>

namespace kavrin::test {

// Load, Save, SepRecent, the placeholder item, Sep1, Exit.
struct FileMenu {
    FileMenu()
    {
        menu.addAction(QStringLiteral("Load"));
        menu.addAction(QStringLiteral("Save"));
        SepRecent = menu.addSeparator();
        placeholder = menu.addAction(QString::fromLatin1(kRecentPlaceholder));
        Sep1 = menu.addSeparator();
        menu.addAction(QStringLiteral("Exit"));
    }
    // The actions between the two separators.
    QList<QAction*> recentItems() const
    {
        const QList<QAction*> all = menu.actions();
        return all.mid(all.indexOf(SepRecent) + 1, all.indexOf(Sep1) - all.indexOf(SepRecent) - 1);
    }
    QStringList captions() const
    {
        QStringList texts;
        for (const QAction* item : recentItems())
            if (item->isVisible())
                texts.append(item->text());
        return texts;
    }
    QMenu menu;
    QAction* SepRecent = nullptr;
    QAction* placeholder = nullptr;
    QAction* Sep1 = nullptr;
};

} // namespace kavrin::test
