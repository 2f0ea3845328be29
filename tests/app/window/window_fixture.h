// A shown game window with a recording prompter, scripted dialogs and a recent list of its own.
#pragma once

#include "frm_game.h"
#include "recording_prompter.h"
#include "scripted_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace kavrin::test {

// A menu command by its caption, as the player finds it; the menu's own captions for the game's
// commands ("NewGame" is "New", "Check" is "Check Diagram", "Clear" is "Clear blue numbers").
inline void trigger(const frmGame& game, QString caption)
{
    caption = caption == "NewGame" ? "New" : caption == "Check" ? "Check Diagram" : caption == "Clear" ? "Clear blue numbers" : caption;
    for (QAction* action : game.findChildren<QAction*>())
        if (action->text() == caption)
            return action->trigger();
    QFAIL(qPrintable("no command " + caption));
}

// The File menu's recent items that show, top to bottom.
inline QList<QAction*> recentItems(const frmGame& game)
{
    QList<QAction*> items;
    for (QAction* action : game.menuBar()->actions().constFirst()->menu()->actions())
        if (action->isVisible() && !action->data().toString().isEmpty())
            items << action;
    return items;
}

// The recent list lives in a folder of its own; the dialogs answer what the test sets.
inline GameFiles filesIn(const QString& listFile, const QString& commandLine, ScriptedDialogs*& dialogs)
{
    auto owned = std::make_unique<ScriptedDialogs>();
    dialogs = owned.get();
    return GameFiles{listFile, commandLine, std::move(owned)};
}

struct Window {
    QTemporaryDir home;
    RecordingPrompter prompter;
    ScriptedDialogs* dialogs = nullptr;
    frmGame game;
    // An empty `listFile` gives the window a list of its own.
    explicit Window(const QString& commandLine = {}, const QString& listFile = {})
        : game{prompter, std::make_unique<SeededUniform>(5),
               filesIn(listFile.isEmpty() ? home.filePath(QStringLiteral("Recent Files.txt")) : listFile,
                       commandLine, dialogs)}
    {
        game.show();
        QVERIFY(QTest::qWaitForWindowExposed(&game));
        QApplication::setActiveWindow(&game);
    }
};

} // namespace kavrin::test
