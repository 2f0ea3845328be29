// The game window under a real window manager, icewm on an Xvfb of its own: where the frame
// stands, where the keys go once the player clicks the window a search has disabled or a command
// is done, and a later start's file bringing the window forward.
#include "frm_game.h"
#include "frm_wait.h"
#include "host/host.h"
#include "model/board.h"
#include "model/colour.h"
#include "qt_host.h"
#include "recording_prompter.h"
#include "square_view.h"
#include "test_files.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QByteArray>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QList>
#include <QMargins>
#include <QMessageBox>
#include <QObject>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QScreen>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <deque>
#include <functional>
#include <initializer_list>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

namespace {

bool run(const QString& program, const QStringList& arguments, QString* out = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool ran = process.waitForFinished(10000) && process.exitCode() == 0;
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    return ran;
}

// Xvfb and icewm for as long as the tests run, in a home of their own.
class Desktop {
public:
    // On a busy machine a start now and then fails to come up; a fresh one is tried.
    bool start()
    {
        for (int attempt = 1; attempt <= 3; ++attempt) {
            if (const char* failed = startOnce()) {
                qWarning("attempt %d: %s", attempt, failed);
                stop();
            } else {
                return true;
            }
        }
        return false;
    }
    ~Desktop() { stop(); }

private:
    // What failed, or nothing.
    const char* startOnce()
    {
        // Xvfb picks a free display itself and says which once it is ready.
        const QString screen = qEnvironmentVariable("KAVRIN_TEST_SCREEN", QStringLiteral("1024x768x24"));
        xvfb_.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp"});
        while (xvfb_.waitForReadyRead(30000) && !xvfb_.canReadLine()) {
        }
        const QByteArray display = xvfb_.readLine().trimmed();
        if (display.isEmpty())
            return "Xvfb named no display";
        qputenv("DISPLAY", ':' + display);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home_.path());
        wm_.setProcessEnvironment(env);
        wm_.start(QStringLiteral("icewm"), {});
        // The window manager is up once it names itself on the root window.
        const bool named = wm_.waitForStarted() && QTest::qWaitFor([] {
            QString out;
            return run(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"}, &out)
                && out.contains(QStringLiteral("window id"));
        }, 30000);
        return named ? nullptr : "icewm did not name itself on the root window";
    }
    void stop()
    {
        for (QProcess* process : {&wm_, &xvfb_}) {
            process->terminate(); // Xvfb then removes its lock and socket
            if (!process->waitForFinished(3000))
                process->kill();
            process->waitForFinished();
        }
    }

    QTemporaryDir home_;
    QProcess xvfb_;
    QProcess wm_;
};

void xdotool(const QStringList& arguments)
{
    QVERIFY2(run(QStringLiteral("xdotool"), arguments), qPrintable(arguments.join(u' ')));
}

QString activeWindowName()
{
    QString name;
    run(QStringLiteral("xdotool"), {"getactivewindow", "getwindowname"}, &name);
    return name.trimmed();
}

bool demandsAttention(const QWidget& window)
{
    QString state;
    return run(QStringLiteral("xprop"), {"-id", QString::number(window.winId()), "_NET_WM_STATE"}, &state)
        && state.contains(QStringLiteral("_NET_WM_STATE_DEMANDS_ATTENTION"));
}

// Runs `action` once, on the first event pass after `condition` holds.
void once(QObject& context, const std::function<bool()>& condition, const std::function<void()>& action)
{
    auto* timer = new QTimer(&context);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [condition, action, timer] {
        if (!condition())
            return;
        timer->deleteLater();
        timer->stop();
        action();
    });
    timer->start();
}

// Records each message and shows it in a real box over the game; a question is answered Yes.
class BoxPrompter final : public Prompter {
public:
    Answer ask(const Message& message) override
    {
        texts << QString::fromStdString(message.text);
        return message.buttons == Buttons::Ok ? boxes.ask(message) : Answer::Yes;
    }
    QtPrompter boxes;
    QStringList texts;
};

} // namespace

class WindowManagerTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        // The pointer stays off the grid, where the focus would follow it.
        xdotool({"mousemove", "0", "0"});
    }

    // The frame, title bar and all, is centred: not the client area alone.
    void wholeFrameCentred()
    {
        Window w;
        QTRY_VERIFY(!w.game.windowHandle()->frameMargins().isNull());
        QString info;
        QTRY_VERIFY(run("xwininfo", {"-id", QString::number(w.game.winId())}, &info)
                    && info.contains(QRegularExpression("Absolute upper-left X: +[0-9]+")));
        const auto absolute = [&info](const QString& axis) {
            return QRegularExpression("Absolute upper-left " + axis + ": +([0-9]+)").match(info).captured(1).toInt();
        };
        const QMargins frame = w.game.windowHandle()->frameMargins();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QSize outer = w.game.size().grownBy(frame);
        QTRY_COMPARE(QPoint(absolute("X"), absolute("Y")),
                     QPoint((screen.width() - outer.width()) / 2 + frame.left(),
                            (screen.height() - outer.height()) / 2 + frame.top()));
    }

    // A click on the game window that a search disabled brings the wait window forward, with the keys.
    void escStillCancelsAfterAClickOnTheGame()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.game));
        w.prompter.answers = {Answer::Yes};
        bool escTaken = false;
        duringSearch(w, 3, [&] {
            QVERIFY(QTest::qWaitForWindowActive(w.game.waitWindow()));
            const QPoint at = w.game.square(1).mapToGlobal(QPoint(15, 15));
            xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
            // Esc again and again until it lands: the window manager settles the focus in its own time.
            QElapsedTimer sinceEsc;
            escTaken = QTest::qWaitFor([&] {
                if (!sinceEsc.isValid() || sinceEsc.hasExpired(250)) {
                    xdotool({"key", "Escape"});
                    sinceEsc.start();
                }
                return w.game.escPressed();
            }, 5000);
        });
        trigger(w.game, "Solve");
        QVERIFY(escTaken);
        QCOMPARE(w.prompter.texts().last(), QString("I finished my work."));
    }

    // A search that ends while the player is in another program leaves the keys there: the game asks
    // for attention, and shows its message once the player comes back to it.
    void endOfSearchWaitsForThePlayer()
    {
        WindowWith<BoxPrompter> w;
        w.prompter.boxes.setOwner(&w.game);
        QVERIFY(QTest::qWaitForWindowActive(&w.game));
        QProcess other;
        bool keysStayedAway = false;
        bool attentionAsked = false;
        bool boxWhileAway = true;
        QString boxText;
        duringSearch(w, 3, [&] {
            // Once the wait window has the keys: its own request for them must not come after.
            QVERIFY(QTest::qWaitForWindowActive(w.game.waitWindow()));
            other.start(QStringLiteral("xmessage"), {"another program"});
            QVERIFY(QTest::qWaitFor([] {
                return activeWindowName() == "xmessage" && QGuiApplication::applicationState() != Qt::ApplicationActive;
            }, 10000));
            once(w.game, [&w] { return !w.game.waitWindow()->isVisible(); }, [&] {
                attentionAsked = QTest::qWaitFor([&w] { return demandsAttention(w.game); }, 5000);
                keysStayedAway = activeWindowName() == "xmessage";
                boxWhileAway = QApplication::activeModalWidget() != nullptr;
                xdotool({"windowactivate", QString::number(w.game.winId())});
                once(w.game, [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }, [&] {
                    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    boxText = box->text();
                    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
                });
            });
        });
        trigger(w.game, "Solve");
        other.kill();
        other.waitForFinished();
        QVERIFY(keysStayedAway);
        QVERIFY(attentionAsked);
        QVERIFY(!boxWhileAway);
        QCOMPARE(boxText, QString("I finished my work."));
        QCOMPARE(w.prompter.texts.last(), QString("I finished my work."));
    }

    // The Check report at a scale factor of 2 on a 1280 x 1024 screen (test_window_manager_small_screen).
    void longReportStaysOnScreen() { checkLongReportStaysOnScreen(); }

    // Back after a command, the keys go to the square that had the focus, not to square 1.
    void focusStaysOnItsSquare()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.game));
        xdotool({"key", "Page_Down", "End", "F5"});
        QTRY_COMPARE(w.prompter.messages.size(), std::size_t(1)); // Generate is done
        QTRY_VERIFY(w.game.isActiveWindow());
        xdotool({"key", "Delete"});
        QTRY_COMPARE(int(w.game.board()[81].Digit), 0);
        QVERIFY(w.game.board()[1].Digit != 0);
        QCOMPARE(w.game.currentSquare(), 81);
    }

    // A file a later start handed over opens, and brings the game forward from another program.
    void laterStartComesForwardWithItsFile()
    {
        Window w;
        QWidget other;
        other.setWindowTitle("another program");
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(writeFile(w.home.filePath("later.kvr"), puzzleBytes("\x04\xff\xff")));
        w.game.openFromLaterStart(w.home.filePath("later.kvr"));
        QCOMPARE(int(w.game.board()[1].Digit), 4);
        QTRY_VERIFY(w.game.isActiveWindow());
    }
};

int main(int argc, char** argv)
{
    Desktop desktop;
    if (!desktop.start()) {
        qCritical("Xvfb and icewm could not be started");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    WindowManagerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_window_manager.moc"
