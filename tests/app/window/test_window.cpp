// The game window through real Qt events: layout, input, panel, commands and the search.
#include "frm_game.h"
#include "frm_wait.h"
#include "host/host.h"
#include "host/messages.h"
#include "model/board.h"
#include "model/colour.h"
#include "model/square.h"
#include "qt_host.h"
#include "recording_prompter.h"
#include "scripted_dialogs.h"
#include "solve_panel.h"
#include "square_view.h"
#include "window_fixture.h"

#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <deque>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

namespace {

using Act = std::function<void(QWidget*)>;

Act key(Qt::Key k, Qt::KeyboardModifiers m = {}) { return [=](QWidget* s) { QTest::keyClick(s, k, m); }; }
Act click(Qt::MouseButton button) { return [=](QWidget* s) { QTest::mouseClick(s, button); }; }
Act wheel(int delta) { return [=](QWidget* s) { turnWheel(*static_cast<frmGame*>(s->window()), *s, delta); }; }

void moveWith(QWidget& widget, QPoint at, Qt::MouseButtons held) { sendMouse(widget, QEvent::MouseMove, {}, at, held); }

// Scaled up from one pixel per logical pixel, every aligned 2 x 2 block is of one colour.
bool finerThanALogicalPixel(const QImage& image)
{
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb corner = image.pixel(x, y);
            if (image.pixel(x + 1, y) != corner || image.pixel(x, y + 1) != corner || image.pixel(x + 1, y + 1) != corner)
                return true;
        }
    return false;
}

} // namespace

// test_hidpi runs layoutAndFocus and drawnAtFullResolution again at a device pixel ratio of 2.
class WindowTest : public QObject {
    Q_OBJECT
private slots:
    // The grid and panel where they stand, and the focus frame following the keys and clicks.
    void layoutAndFocus()
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
        QTest::mouseClick(&w.game.square(40), Qt::LeftButton);
        QCOMPARE(w.game.focusFrame().pos(), QPoint(134, 169));
        // Each arrow once onto the edge from the square next to it, and once against the edge.
        const struct { Qt::Key key; int to; } moves[] = {
            {Qt::Key_Right, 41}, {Qt::Key_Up, 32},     {Qt::Key_Home, 28},     {Qt::Key_Right, 29}, {Qt::Key_Left, 28},
            {Qt::Key_Left, 28},  {Qt::Key_End, 36},    {Qt::Key_Left, 35},     {Qt::Key_Right, 36}, {Qt::Key_PageUp, 9},
            {Qt::Key_Down, 18},  {Qt::Key_Up, 9},      {Qt::Key_Up, 9},        {Qt::Key_PageDown, 81},
            {Qt::Key_Up, 72},    {Qt::Key_Down, 81},   {Qt::Key_Down, 81},     {Qt::Key_Right, 81},
            {Qt::Key_Tab, 1},    {Qt::Key_Tab, 2}};
        for (const auto& m : moves) {
            QTest::keyClick(QApplication::focusWidget(), m.key);
            QCOMPARE(w.game.currentSquare(), m.to);
        }
    }

    // Squares, tiles and the panel's hint are drawn at the screen's full resolution, not scaled up.
    void drawnAtFullResolution()
    {
        Window w;
        if (w.game.devicePixelRatioF() != 2.0)
            QSKIP("for test_hidpi, at a device pixel ratio of 2");
        QTest::keyClick(&w.game.square(1), Qt::Key_7);
        QTest::mouseDClick(&w.game.panel(), Qt::LeftButton, {}, QPoint(100, 100));
        const std::pair<const char*, QWidget*> drawn[] = {{"square", &w.game.square(1)}, {"panel", &w.game.panel()},
                                                          {"tile", w.game.panel().findChildren<SolveTile*>().value(1)}};
        for (const auto& [what, widget] : drawn) {
            const QImage image = widget->grab().toImage();
            QCOMPARE(image.size(), widget->size() * 2);
            QVERIFY2(finerThanALogicalPixel(image), what);
        }
    }

    // Square 23, holding `start`, after one input: what it holds, and the player's digits are fixed.
    void input_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<Act>("act");
        QTest::addColumn<int>("digit");
        QTest::newRow("digit 5") << 0 << key(Qt::Key_5) << 5;
        QTest::newRow("keypad 7") << 0 << key(Qt::Key_7, Qt::KeypadModifier) << 7;
        QTest::newRow("0 empties") << 4 << key(Qt::Key_0) << 0;
        QTest::newRow("space empties") << 4 << key(Qt::Key_Space) << 0;
        QTest::newRow("delete empties") << 4 << key(Qt::Key_Delete) << 0;
        QTest::newRow("enter steps up") << 0 << key(Qt::Key_Return) << 1;
        QTest::newRow("keypad enter steps up") << 9 << key(Qt::Key_Enter, Qt::KeypadModifier) << 0;
        QTest::newRow("shift enter steps down") << 0 << key(Qt::Key_Return, Qt::ShiftModifier) << 9;
        QTest::newRow("ctrl shift enter steps up") << 0 << key(Qt::Key_Return, Qt::ShiftModifier | Qt::ControlModifier) << 1;
        QTest::newRow("keypad plus") << 3 << key(Qt::Key_Plus, Qt::KeypadModifier) << 4;
        QTest::newRow("keypad minus") << 3 << key(Qt::Key_Minus, Qt::KeypadModifier) << 2;
        QTest::newRow("main plus ignored") << 3 << key(Qt::Key_Plus) << 3;
        QTest::newRow("backspace ignored") << 3 << key(Qt::Key_Backspace) << 3;
        QTest::newRow("left click") << 0 << click(Qt::LeftButton) << 1;
        QTest::newRow("wheel away, a fast turn still one step") << 0 << wheel(360) << 1;
        QTest::newRow("wheel towards") << 1 << wheel(-120) << 0;
        QTest::newRow("right click") << 0 << click(Qt::RightButton) << 9;
        QTest::newRow("middle click") << 6 << click(Qt::MiddleButton) << 0;
        QTest::newRow("double click steps twice") << 0 << Act([](QWidget* s) {
            QTest::mouseClick(s, Qt::RightButton);
            QTest::mouseDClick(s, Qt::RightButton);
        }) << 8;
    }
    void input()
    {
        QFETCH(int, start);
        QFETCH(Act, act);
        QFETCH(int, digit);
        Window w;
        SquareView& square = w.game.square(23);
        square.setFocus();
        if (start != 0)
            QTest::keyClick(&square, Qt::Key(Qt::Key_0 + start));
        act(&square);
        QCOMPARE(int(w.game.board()[23].Digit), digit);
        QCOMPARE(w.game.board()[23].Fixed, digit != 0);
        QCOMPARE(square.drawnDigit(), digit);
    }

    // The focus follows the pointer while the window is active, and only then.
    void pointerMovesTheFocus()
    {
        Window w;
        auto* other = new QWidget;
        other->show();
        QApplication::setActiveWindow(other);
        moveWith(w.game.square(30), QPoint(5, 5), Qt::NoButton);
        QCOMPARE(w.game.focusWidget(), &w.game.square(1));
        delete other;
        QApplication::setActiveWindow(&w.game);
        moveWith(w.game.square(40), QPoint(5, 5), Qt::NoButton);
        QCOMPARE(w.game.currentSquare(), 40);
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
        moveWith(panel, QPoint(60, 70), Qt::LeftButton);
        QCOMPARE(panel.pos(), start + QPoint(10, 20));
        moveWith(panel, QPoint(90, 90), Qt::LeftButton | Qt::RightButton); // the left button alone drags
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(60, 70));
        moveWith(panel, QPoint(90, 90), Qt::LeftButton); // released: no drag
        QCOMPARE(panel.pos(), start + QPoint(10, 20));
    }

    void commandsThroughTheirShortcuts()
    {
        Window w;
        SquareView& square = w.game.square(10);
        square.setFocus();
        QTest::keyClick(&square, Qt::Key_F5);
        QVERIFY(!digits(w.game).contains('0'));
        QVERIFY(w.prompter.texts().last() == "Ready." || w.prompter.texts().last().contains(" Retr"));
        QTest::keyClick(&square, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(w.prompter.texts().last(), QString("1- Entries matched.\r\n2- No logical error found.\r\n3- Puzzle solved."));
        QTest::keyClick(&square, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(digits(w.game).contains('0'));
        for (int i = 1; i <= 81; ++i)
            QCOMPARE(w.game.board()[i].Digit != 0, w.game.board()[i].Fixed);
        QTest::keyClick(&square, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w.prompter.texts().last(), QString("Puzzle solved."));
        QTest::keyClick(&square, Qt::Key_F2);
        QCOMPARE(w.prompter.texts().last(), QString("Manual entries will be lost.\r\nAre you sure?"));
        QVERIFY(!digits(w.game).contains('0'));
        w.prompter.answers = {Answer::Yes};
        QTest::keyClick(&square, Qt::Key_F2);
        QCOMPARE(digits(w.game), QString(81, '0'));
        trigger(w.game, "About");
        QVERIFY(w.prompter.texts().last().startsWith("Created by:\r\n  "));

        QTest::keyClick(&w.game.square(1), Qt::Key_5);
        QTest::keyClick(&w.game.square(2), Qt::Key_5);
        trigger(w.game, "Check Diagram");
        QVERIFY(w.prompter.texts().last().startsWith("1- 2 errors found in entries!\r\n"));
        QCOMPARE(w.game.square(1).drawnBackground(), kYellow);
        QTest::keyClick(&w.game.square(1), Qt::Key_4);
        QCOMPARE(w.game.square(1).drawnBackground(), kWhite);
    }

    // Yes on an empty grid: the search animates, and nothing but the search touches the grid (no
    // command, no wheel turn), until Esc or a close of the wait window, refused and taken as Esc.
    void searchRunsAndCancels()
    {
        Window w;
        const QString question = QString::fromStdString(lastAttemptQuestion().text);
        w.prompter.answers = {Answer::No};
        trigger(w.game, "Solve");
        QCOMPARE(w.prompter.texts(), QStringList{question});
        QCOMPARE(digits(w.game), QString(81, '0'));

        frmWait* wait = nullptr;
        bool refused = false;
        duringSearch(w, 30, [&] {
            wait = w.game.waitWindow();
            QVERIFY(!w.game.isEnabled());
            // It belongs to the game window, blocks it, and takes keys itself.
            QCOMPARE(wait->windowHandle()->transientParent(), w.game.windowHandle());
            QCOMPARE(wait->windowModality(), Qt::WindowModal);
            QVERIFY(wait->isEnabled());
            QCOMPARE(wait->caption(), QString("Please wait...\r\nPress Esc to cancel"));
            const QString before = digits(w.game);
            for (const char* command : {"New", "Generate", "Clear blue numbers", "Load"})
                trigger(w.game, command);
            turnWheel(w.game, w.game.square(w.game.currentSquare()), -120);
            QCOMPARE(digits(w.game), before);
            QTest::keyClick(wait, Qt::Key_Escape, Qt::ShiftModifier);
            QVERIFY(!w.game.escPressed());
            QTest::keyClick(wait, Qt::Key_Escape);
            QVERIFY(w.game.escPressed());
            QTest::keyClick(wait, Qt::Key_A); // a later key takes the cancel back
            QVERIFY(!w.game.escPressed());
            refused = !wait->close();
        });
        w.prompter.answers = {Answer::Yes};
        trigger(w.game, "Solve");
        QVERIFY(refused && wait && !wait->isVisible() && w.game.isEnabled());
        QCOMPARE(w.prompter.texts(), QStringList({question, question, "I finished my work."}));
        QCOMPARE(w.dialogs->opened, 0);
        QVERIFY(digits(w.game).startsWith("123456789") && digits(w.game).contains('0'));
        for (int i = 1; i <= 81; ++i)
            QVERIFY(!w.game.board()[i].Fixed);

        // The next search starts with the flag cleared and, left alone, fills the grid.
        trigger(w.game, "Clear blue numbers");
        w.prompter.answers = {Answer::Yes};
        trigger(w.game, "Solve");
        QCOMPARE(w.prompter.texts().last(), QString("I finished my work."));
        QVERIFY(!digits(w.game).contains('0'));
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

    // test_small_screen: 1280 x 1024 at a scale factor of 2.
    void longReportStaysOnScreen() { checkLongReportStaysOnScreen(); }

    // A close of the window, or a quit of the application.
    void closingMidSearchExitsCleanly()
    {
        for (const bool quitApplication : {false, true}) {
            Window w;
            w.prompter.answers = {Answer::Yes};
            duringSearch(w, 10, [&] { quitApplication ? QCoreApplication::quit() : void(w.game.close()); });
            // Inside the program's own event loop, which must end once the search has unwound.
            QTimer::singleShot(0, &w.game, [&] { trigger(w.game, "Solve"); });
            QTimer::singleShot(60000, qApp, [] { QCoreApplication::exit(1); });
            QCOMPARE(QApplication::exec(), 0);
            QVERIFY(!w.game.isVisible() && !w.game.waitWindow()->isVisible());
            QCOMPARE(w.prompter.texts().size(), 1); // nothing after the question
            QVERIFY(digits(w.game).contains('0'));
        }
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
