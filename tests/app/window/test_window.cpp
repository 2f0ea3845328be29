// The game window through real Qt events: layout, input, panel, commands and the search.
#include "window_fixture.h"
#include "frm_wait.h"
#include "host/messages.h"
#include "qt_host.h"
#include "solve_panel.h"
#include "square_view.h"

#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using namespace kavrin;
using namespace kavrin::test;

namespace {
QString digits(const frmGame& game)
{
    QString s;
    for (int i = 1; i <= 81; ++i)
        s += QChar('0' + game.board()[i].Digit);
    return s;
}

// Runs `action` on the n-th event pass of the search while the wait window is up.
void duringSearch(Window& w, int n, const std::function<void()>& action)
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
} // namespace

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void layout()
    {
        Window w;
        QCOMPARE(w.game.clientArea().size(), QSize(360, 360));
        const int x[] = {20, 55, 90, 135, 170, 205, 250, 285, 320};
        for (int i = 1; i <= 81; ++i) {
            const auto [row, col] = SquareRowCol(i);
            QCOMPARE(w.game.square(i).geometry(), QRect(x[col - 1], x[row - 1], 30, 30));
        }
        QCOMPARE(w.game.currentSquare(), 1);
        QCOMPARE(w.game.focusFrame().geometry(), QRect(19, 19, 32, 32));
        QCOMPARE(w.game.panel().pos(), QPoint(365, 8));
        QCOMPARE(w.game.panel().contentsRect().size(), QSize(440, 459));
    }

    void focusMoves()
    {
        Window w;
        QTest::mouseClick(&w.game.square(40), Qt::LeftButton);
        QCOMPARE(w.game.currentSquare(), 40);
        QCOMPARE(w.game.focusFrame().pos(), QPoint(134, 169));
        const struct { Qt::Key key; int to; } moves[] = {{Qt::Key_Right, 41}, {Qt::Key_Up, 32}, {Qt::Key_Home, 28},
                                                         {Qt::Key_Left, 28}, {Qt::Key_End, 36}, {Qt::Key_PageUp, 9},
                                                         {Qt::Key_Up, 9}, {Qt::Key_PageDown, 81}, {Qt::Key_Down, 81}};
        for (const auto& m : moves) {
            QTest::keyClick(QApplication::focusWidget(), m.key);
            QCOMPARE(w.game.currentSquare(), m.to);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(&w.game.square(1), Qt::Key_Tab);
        QCOMPARE(w.game.currentSquare(), 2);
    }

    void input_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<std::function<void(QWidget*)>>("act");
        QTest::addColumn<int>("digit");
        QTest::addColumn<bool>("fixed");
        using A = std::function<void(QWidget*)>;
        QTest::newRow("digit 5") << 0 << A([](QWidget* s) { QTest::keyClick(s, Qt::Key_5); }) << 5 << true;
        QTest::newRow("keypad 7") << 0 << A([](QWidget* s) { QTest::keyClick(s, Qt::Key_7, Qt::KeypadModifier); }) << 7 << true;
        QTest::newRow("0 empties") << 4 << A([](QWidget* s) { QTest::keyClick(s, Qt::Key_0); }) << 0 << false;
        QTest::newRow("space empties") << 4 << A([](QWidget* s) { QTest::keyClick(s, Qt::Key_Space); }) << 0 << false;
        QTest::newRow("delete empties") << 4 << A([](QWidget* s) { QTest::keyClick(s, Qt::Key_Delete); }) << 0 << false;
        QTest::newRow("enter steps up") << 0 << A([](QWidget* s) { QTest::keyClick(s, Qt::Key_Return); }) << 1 << true;
        QTest::newRow("shift enter steps down") << 0 << A([](QWidget* s) { QTest::keyClick(s, Qt::Key_Return, Qt::ShiftModifier); }) << 9 << true;
        QTest::newRow("ctrl shift enter steps up") << 0 << A([](QWidget* s) { QTest::keyClick(s, Qt::Key_Return, Qt::ShiftModifier | Qt::ControlModifier); }) << 1 << true;
        QTest::newRow("keypad plus") << 3 << A([](QWidget* s) { QTest::keyClick(s, Qt::Key_Plus, Qt::KeypadModifier); }) << 4 << true;
        QTest::newRow("keypad minus") << 3 << A([](QWidget* s) { QTest::keyClick(s, Qt::Key_Minus, Qt::KeypadModifier); }) << 2 << true;
        QTest::newRow("main plus ignored") << 3 << A([](QWidget* s) { QTest::keyClick(s, Qt::Key_Plus); }) << 3 << true;
        QTest::newRow("backspace ignored") << 3 << A([](QWidget* s) { QTest::keyClick(s, Qt::Key_Backspace); }) << 3 << true;
        QTest::newRow("left click") << 0 << A([](QWidget* s) { QTest::mouseClick(s, Qt::LeftButton); }) << 1 << true;
        QTest::newRow("left click on 9") << 9 << A([](QWidget* s) { QTest::mouseClick(s, Qt::LeftButton); }) << 0 << false;
        QTest::newRow("right click") << 0 << A([](QWidget* s) { QTest::mouseClick(s, Qt::RightButton); }) << 9 << true;
        QTest::newRow("middle click") << 6 << A([](QWidget* s) { QTest::mouseClick(s, Qt::MiddleButton); }) << 0 << false;
        QTest::newRow("double click steps twice") << 0 << A([](QWidget* s) {
            QTest::mousePress(s, Qt::LeftButton);
            QTest::mouseRelease(s, Qt::LeftButton);
            QTest::mouseDClick(s, Qt::LeftButton);
        }) << 2 << true;
    }
    void input()
    {
        QFETCH(int, start);
        QFETCH(std::function<void(QWidget*)>, act);
        Window w;
        SquareView& square = w.game.square(23);
        square.setFocus();
        if (start != 0)
            QTest::keyClick(&square, Qt::Key(Qt::Key_0 + start));
        act(&square);
        QFETCH(int, digit);
        QCOMPARE(int(w.game.board()[23].Digit), digit);
        QTEST(w.game.board()[23].Fixed, "fixed");
        QCOMPARE(square.drawnDigit(), digit);
    }

    void wheelStepsTheCurrentSquare()
    {
        Window w;
        QTest::mouseMove(&w.game.square(40));
        w.game.square(40).setFocus();
        auto turn = [&](int delta) {
            QWheelEvent wheel(QPointF(5, 5), w.game.square(40).mapToGlobal(QPointF(5, 5)), {}, QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(w.game.windowHandle(), &wheel);
        };
        turn(120);
        QCOMPARE(int(w.game.board()[40].Digit), 1);
        turn(240); // a fast turn is still one step
        QCOMPARE(int(w.game.board()[40].Digit), 2);
        turn(-120);
        QCOMPARE(int(w.game.board()[40].Digit), 1);
        QVERIFY(w.game.board()[40].Fixed);
    }

    void panelShowsCandidatesAndDrags()
    {
        Window w;
        QTest::keyClick(&w.game.square(41), Qt::Key_5);
        SolvePanel& panel = w.game.panel();
        QTest::mouseDClick(&panel, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(panel.shownDigits(1), QString("123456789"));
        QCOMPARE(panel.shownDigits(32), QString("1234.6789"));
        QCOMPARE(panel.shownDigits(41), QString("........."));
        QTest::keyClick(&w.game.square(1), Qt::Key_1);
        QCOMPARE(panel.shownDigits(1), QString("123456789")); // stale until the next double-click

        const QPoint start = panel.pos();
        QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(50, 50));
        QMouseEvent move(QEvent::MouseMove, QPointF(60, 70), panel.mapToGlobal(QPointF(60, 70)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&panel, &move);
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(60, 70));
        QCOMPARE(panel.pos(), start + QPoint(10, 20));
        QMouseEvent free(QEvent::MouseMove, QPointF(90, 90), panel.mapToGlobal(QPointF(90, 90)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&panel, &free); // released: no drag
        QCOMPARE(panel.pos(), start + QPoint(10, 20));
    }

    void commandsAndTheirTexts()
    {
        Window w;
        trigger(w.game, "Generate");
        QCOMPARE(w.prompter.texts().size(), 1);
        QVERIFY(w.prompter.texts()[0] == "Ready." || w.prompter.texts()[0].endsWith(" Retry!") ||
                w.prompter.texts()[0].endsWith(" Retries!"));
        QVERIFY(!digits(w.game).contains('0'));
        QVERIFY(w.game.isEnabled());
        trigger(w.game, "Check");
        QCOMPARE(w.prompter.texts().last(), QString("1- Entries matched.\r\n2- No logical error found.\r\n3- Puzzle solved."));
        trigger(w.game, "Clear");
        for (int i = 1; i <= 81; ++i)
            QCOMPARE(w.game.board()[i].Digit != 0, w.game.board()[i].Fixed);
        trigger(w.game, "Solve");
        QCOMPARE(w.prompter.texts().last(), QString("Puzzle solved."));
        QVERIFY(!digits(w.game).contains('0'));

        w.prompter.answers = {Answer::No};
        trigger(w.game, "NewGame");
        QVERIFY(!digits(w.game).contains('0'));
        w.prompter.answers = {Answer::Yes};
        trigger(w.game, "NewGame");
        QCOMPARE(digits(w.game), QString(81, '0'));
        trigger(w.game, "About");
        QVERIFY(w.prompter.texts().last().startsWith("Created by:\r\n  "));

        QTest::keyClick(&w.game.square(1), Qt::Key_5);
        QTest::keyClick(&w.game.square(2), Qt::Key_5);
        trigger(w.game, "Check");
        QVERIFY(w.prompter.texts().last().startsWith("1- 2 errors found in entries!\r\n"));
        QCOMPARE(w.game.square(1).drawnBackground(), kYellow);
        QTest::keyClick(&w.game.square(1), Qt::Key_4);
        QCOMPARE(w.game.square(1).drawnBackground(), kWhite);
    }

    void searchRunsAndCancels()
    {
        Window w;
        const QString question = QString::fromStdString(lastAttemptQuestion().text);
        w.prompter.answers = {Answer::No};
        trigger(w.game, "Solve");
        QCOMPARE(w.prompter.texts(), QStringList{question});
        QCOMPARE(digits(w.game), QString(81, '0'));

        // Yes on an empty grid: the search animates until Esc on the wait window stops it.
        frmWait* wait = nullptr;
        duringSearch(w, 30, [&] {
            wait = w.game.waitWindow();
            QVERIFY(!w.game.isEnabled());
            // It belongs to the game window, blocks it, and takes keys itself.
            QCOMPARE(wait->windowHandle()->transientParent(), w.game.windowHandle());
            QCOMPARE(wait->windowModality(), Qt::WindowModal);
            QVERIFY(wait->isEnabled());
            QCOMPARE(wait->caption(), QString("Please wait...\r\nPress Esc to cancel"));
            QTest::keyClick(wait, Qt::Key_Escape, Qt::ShiftModifier);
            QVERIFY(!w.game.escPressed());
            QTest::keyClick(wait, Qt::Key_Escape);
            QTest::keyClick(wait, Qt::Key_A); // a later key takes the cancel back
            QVERIFY(!w.game.escPressed());
            QTest::keyClick(wait, Qt::Key_Escape);
        });
        w.prompter.answers = {Answer::Yes};
        trigger(w.game, "Solve");
        QVERIFY(wait);
        QCOMPARE(w.prompter.texts().last(), QString("I finished my work."));
        QVERIFY(w.game.isEnabled());
        QVERIFY(!wait->isVisible());
        const QString placed = digits(w.game);
        QVERIFY(placed.startsWith("123456789"));
        QVERIFY(placed.contains('0'));
        for (int i = 1; i <= 81; ++i)
            QVERIFY(!w.game.board()[i].Fixed);

        // The next search starts with the flag cleared and, left alone, fills the grid.
        trigger(w.game, "Clear");
        QCOMPARE(digits(w.game), QString(81, '0'));
        w.prompter.answers = {Answer::Yes};
        trigger(w.game, "Solve");
        QCOMPARE(w.prompter.texts().last(), QString("I finished my work."));
        QVERIFY(!digits(w.game).contains('0'));
        trigger(w.game, "Check");
        QVERIFY(w.prompter.texts().last().endsWith("3- Puzzle solved."));
    }

    // Disabling the window for a command takes the focus off the grid; it comes back where it was.
    void focusStaysAfterACommand_data()
    {
        QTest::addColumn<bool>("search");
        QTest::newRow("generate") << false;
        QTest::newRow("search") << true;
    }
    void focusStaysAfterACommand()
    {
        QFETCH(bool, search);
        Window w;
        QTest::keyClick(&w.game.square(1), Qt::Key_PageDown);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        QCOMPARE(w.game.currentSquare(), 81);
        w.prompter.answers = {Answer::Yes};
        search ? trigger(w.game, "Solve") : trigger(w.game, "Generate");
        QTRY_COMPARE(QApplication::focusWidget(), &w.game.square(81));
        QCOMPARE(w.game.currentSquare(), 81);
        QCOMPARE(w.game.focusFrame().pos(), w.game.square(81).pos() - QPoint(1, 1));
    }

    void messageBoxesBelongToTheGame()
    {
        Window w;
        QtPrompter prompter;
        prompter.setOwner(&w.game);
        QWindow* owner = nullptr;
        QTimer::singleShot(0, &w.game, [&owner] {
            QWidget* box = QApplication::activeModalWidget();
            owner = box->windowHandle()->transientParent();
            box->close();
        });
        prompter.ask({"Ready.", Icon::Information, Buttons::Ok});
        QCOMPARE(owner, w.game.windowHandle());
    }

    void closingMidSearchExitsCleanly_data()
    {
        QTest::addColumn<bool>("quitApplication");
        QTest::newRow("close the window") << false;
        QTest::newRow("quit the application") << true;
    }
    void closingMidSearchExitsCleanly()
    {
        QFETCH(bool, quitApplication);
        Window w;
        w.prompter.answers = {Answer::Yes};
        duringSearch(w, 10, [&] {
            if (quitApplication)
                QCoreApplication::quit();
            else
                w.game.close();
        });
        // Inside the program's own event loop, which must end once the search has unwound.
        QTimer::singleShot(0, &w.game, [&] { trigger(w.game, "Solve"); });
        QTimer::singleShot(60000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!w.game.isVisible());
        QCOMPARE(w.prompter.texts().size(), 1); // nothing after the question
        QVERIFY(!w.game.waitWindow()->isVisible());
        QVERIFY(digits(w.game).contains('0'));
    }

    void waitWindowRefusesToClose()
    {
        Window w;
        w.prompter.answers = {Answer::Yes};
        bool refused = false;
        duringSearch(w, 10, [&] {
            refused = !w.game.waitWindow()->close();
            QVERIFY(!w.game.isEnabled());
            trigger(w.game, "NewGame"); // no command runs while the search does
            trigger(w.game, "Generate");
        });
        trigger(w.game, "Solve");
        QVERIFY(refused); // and counted as Esc
        QCOMPARE(w.prompter.texts().size(), 2);
        QCOMPARE(w.prompter.texts().last(), QString("I finished my work."));
        QVERIFY(digits(w.game).startsWith("123456789"));
        QVERIFY(digits(w.game).contains('0'));
    }

    // The wheel hook sees turns before any widget can refuse them, so the disabled window must refuse them itself.
    void wheelLeavesTheGridToTheSearch()
    {
        Window w;
        w.prompter.answers = {Answer::Yes};
        QString before;
        QString after;
        duringSearch(w, 5, [&] {
            before = digits(w.game);
            const QPoint at = w.game.square(w.game.currentSquare()).mapTo(&w.game, QPoint(5, 5));
            QWheelEvent wheel(at, w.game.mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(w.game.windowHandle(), &wheel);
            after = digits(w.game);
            QTest::keyClick(w.game.waitWindow(), Qt::Key_Escape);
        });
        trigger(w.game, "Solve");
        QVERIFY(!before.isEmpty());
        QCOMPARE(after, before);
        for (int i = 1; i <= 81; ++i)
            QVERIFY(!w.game.board()[i].Fixed);
    }

    void shortcutsReachTheCommands()
    {
        Window w;
        SquareView& square = w.game.square(10);
        square.setFocus();
        QTest::keyClick(&square, Qt::Key_F2);
        QCOMPARE(w.prompter.texts().last(), QString("Manual entries will be lost.\r\nAre you sure?"));
        w.prompter.answers = {Answer::Yes};
        QTest::keyClick(&square, Qt::Key_F5);
        QVERIFY(!digits(w.game).contains('0'));
        QTest::keyClick(&square, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(digits(w.game).contains('0'));
        for (int i = 1; i <= 81; ++i)
            QCOMPARE(w.game.board()[i].Digit != 0, w.game.board()[i].Fixed);
        QTest::keyClick(&square, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w.prompter.texts().last(), QString("Puzzle solved."));
        QTest::keyClick(&square, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(w.prompter.texts().last().startsWith("1- Entries matched.\r\n"));
    }

    void pointerAndWheelStepTheSquareUnderThePointer()
    {
        Window w;
        const auto pointTo = [](QWidget& square) {
            QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), square.mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&square, &move);
        };
        auto* other = new QWidget; // while another window is active the pointer moves nothing
        other->show();
        QApplication::setActiveWindow(other);
        pointTo(w.game.square(30));
        QCOMPARE(w.game.currentSquare(), 1);
        delete other;
        QApplication::setActiveWindow(&w.game);
        pointTo(w.game.square(40));
        QCOMPARE(w.game.currentSquare(), 40);
        QCOMPARE(w.game.focusFrame().pos(), w.game.square(40).pos() - QPoint(1, 1));
        // Through the window, as the platform delivers it, so that the window's wheel hook sees it.
        const auto turn = [&](int delta) {
            const QPoint at = w.game.square(40).mapTo(&w.game, QPoint(5, 5));
            QWheelEvent wheel(at, w.game.mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(w.game.windowHandle(), &wheel);
        };
        turn(120);
        QCOMPARE(int(w.game.board()[40].Digit), 1);
        turn(360); // a fast turn is still one step
        QCOMPARE(int(w.game.board()[40].Digit), 2);
        turn(-120);
        turn(-120);
        turn(-120);
        QCOMPARE(int(w.game.board()[40].Digit), 9);
        QVERIFY(w.game.board()[40].Fixed);
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
