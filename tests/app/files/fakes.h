// Stand-ins for the window's prompter and dialogs, and a File menu laid out like the window's.
#pragma once

#include "host/host.h"
#include "puzzle_dialogs.h"
#include "recent_menu.h"

#include <QAction>
#include <QMenu>

#include <deque>
#include <vector>

namespace kavrin::test {

class RecordingPrompter final : public Prompter {
public:
    Answer ask(const Message& message) override
    {
        messages.push_back(message);
        if (answers.empty())
            return message.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<Message> messages;
    std::deque<Answer> answers;
};

// Answers each dialog with what the test put there; nothing stands for Cancel.
class ScriptedDialogs final : public PuzzleDialogs {
public:
    std::optional<QString> openPuzzlePath() override { ++opened; return openAnswer; }
    std::optional<QString> savePuzzlePath() override { ++saved; return saveAnswer; }
    std::optional<QString> openAnswer;
    std::optional<QString> saveAnswer;
    int opened = 0;
    int saved = 0;
};

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
