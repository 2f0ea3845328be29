// A shown game window with a recording prompter, scripted dialogs and a recent list of its own.
#pragma once

#include "frm_game.h"
#include "recording_prompter.h"
#include "scripted_dialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace kavrin::test {

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
