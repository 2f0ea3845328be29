// A shown game window with a recording prompter, scripted dialogs and a recent list of its own,
// and the ways a test reaches it: commands by caption, drops, and actions during a search.
#pragma once

#include "file_routes.h"
#include "frm_game.h"
#include "generation/uniform_source.h"
#include "host/host.h"
#include "model/board.h"
#include "model/square.h"
#include "puzzle_dialogs.h"
#include "qt_host.h"
#include "recording_prompter.h"
#include "scripted_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QChar>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QEvent>
#include <QLabel>
#include <QList>
#include <QMargins>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QObject>
#include <QPoint>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <QWindow>
#include <QtGlobal>

#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace kavrin::test {

inline GameFiles filesIn(const QString& listFile, const QString& commandLine, ScriptedDialogs*& dialogs)
{
    auto owned = std::make_unique<ScriptedDialogs>();
    dialogs = owned.get();
    return GameFiles{listFile, commandLine, std::move(owned)};
}

template <class PrompterType>
struct WindowWith {
    QTemporaryDir home;
    PrompterType prompter;
    ScriptedDialogs* dialogs = nullptr;
    frmGame game;
    // An empty `listFile` gives the window a list of its own.
    explicit WindowWith(const QString& commandLine = {}, const QString& listFile = {})
        : game{prompter, std::make_unique<SeededUniform>(5),
               filesIn(listFile.isEmpty() ? home.filePath(QStringLiteral("Recent Files.txt")) : listFile,
                       commandLine, dialogs)}
    {
        game.show();
        QVERIFY(QTest::qWaitForWindowExposed(&game));
        QApplication::setActiveWindow(&game);
    }
};
using Window = WindowWith<RecordingPrompter>;

// A menu command by its caption, as the player finds it.
inline void trigger(const frmGame& game, const QString& caption)
{
    for (QAction* action : game.findChildren<QAction*>())
        if (action->text() == caption)
            return action->trigger();
    QFAIL(qPrintable("no command " + caption));
}

// The File menu's items that show, top to bottom: all of them, or the recent ones.
inline QList<QAction*> fileMenuItems(const frmGame& game, bool recentOnly = true)
{
    QList<QAction*> items;
    for (QAction* action : game.menuBar()->actions().constFirst()->menu()->actions())
        if (action->isVisible() && (!recentOnly || !action->data().toString().isEmpty()))
            items << action;
    return items;
}
inline QList<QAction*> recentItems(const frmGame& game) { return fileMenuItems(game); }

inline QStringList recentCaptions(const frmGame& game)
{
    QStringList captions;
    for (const QAction* item : recentItems(game))
        captions << item->text();
    return captions;
}

// The grid's digits, '0' for an empty square.
inline QString digits(const frmGame& game)
{
    QString text;
    for (int i = 1; i <= kSquareCount; ++i)
        text += QChar(u'0' + game.board()[i].Digit);
    return text;
}

// The drag and drop events a file manager sends, at a point of the window; whether it was taken.
inline bool dropAt(QWidget& window, QPoint at, const QMimeData& data)
{
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    for (QEvent* event : std::initializer_list<QEvent*>{&enter, &move, &drop})
        QApplication::sendEvent(&window, event);
    return enter.isAccepted() && move.isAccepted();
}

// A mouse event at a point of `target`, with the buttons held after it.
inline void sendMouse(QWidget& target, QEvent::Type type, Qt::MouseButton button, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), target.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}

// A wheel turn as the platform delivers it, through the window, so that the wheel hook sees it.
inline void turnWheel(frmGame& game, QWidget& over, int delta)
{
    const QPoint at = over.mapTo(&game, QPoint(5, 5));
    QWheelEvent wheel(at, game.mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(game.windowHandle(), &wheel);
}

// Runs `action` once, on the n-th event pass of a search, while the wait window is up.
template <class W>
void duringSearch(W& w, int n, const std::function<void()>& action)
{
    auto* timer = new QTimer(&w.game);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [&w, n, action, timer, passes = 0]() mutable {
        if (!w.game.waitWindow() || !w.game.waitWindow()->isVisible() || ++passes < n)
            return;
        timer->stop();
        action();
    });
    timer->start();
}

// Where a message box stood and its OK button, and whether it showed `message` whole.
struct ShownBox {
    QRect frame;
    QRect ok;
    bool textWhole = false;
};

// Shows `message` through `prompter`, notes where it stands, then presses its OK button.
inline ShownBox showAndAcknowledge(QtPrompter& prompter, const Message& message)
{
    ShownBox shown;
    QTimer::singleShot(0, qApp, [&] {
        QWidget* box = QApplication::activeModalWidget();
        QVERIFY(box && QTest::qWaitForWindowExposed(box));
        // Under a window manager the frame comes a moment after the window.
        QVERIFY(QTest::qWaitFor([box] { return !box->windowHandle()->frameMargins().isNull(); }, 5000));
        shown.frame = box->frameGeometry();
        for (const QLabel* label : box->findChildren<QLabel*>())
            shown.textWhole = shown.textWhole || label->text() == QString::fromStdString(message.text);
        QPushButton* ok = box->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        shown.ok = QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    prompter.ask(message);
    return shown;
}

// The Check report of an empty grid, 31 lines, stands on the screen, title bar and OK button in
// sight, its text as the prompter got it, byte for byte.
inline void checkLongReportStaysOnScreen()
{
    Window w;
    QVERIFY(QTest::qWaitFor([&w] { return !w.game.windowHandle()->frameMargins().isNull(); }, 5000));
    trigger(w.game, "Check Diagram");
    QtPrompter prompter;
    prompter.setOwner(&w.game);
    const ShownBox shown = showAndAcknowledge(prompter, w.prompter.messages.back());
    const QRect screen = w.game.screen()->availableGeometry();
    QVERIFY(shown.textWhole);
    QVERIFY2(screen.contains(shown.frame), qPrintable(QStringLiteral("frame at %1,%2, %3 x %4").arg(shown.frame.x())
                 .arg(shown.frame.y()).arg(shown.frame.width()).arg(shown.frame.height())));
    QVERIFY(screen.contains(shown.ok));
}

} // namespace kavrin::test
