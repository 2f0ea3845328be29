// The game window under a real window manager, icewm on an Xvfb of its own: where the frame
// stands, where the keys go once the player clicks the window a search has disabled, and a later
// start of the program bringing the window forward.
#include "window_fixture.h"

#include "frm_wait.h"
#include "single_instance.h"
#include "square_view.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

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
    bool start()
    {
        // Xvfb picks a free display itself and says which once it is ready.
        xvfb_.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        while (xvfb_.waitForReadyRead(10000) && !xvfb_.canReadLine()) {
        }
        const QByteArray display = xvfb_.readLine().trimmed();
        if (display.isEmpty())
            return false;
        qputenv("DISPLAY", ':' + display);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home_.path());
        wm_.setProcessEnvironment(env);
        wm_.start(QStringLiteral("icewm"), {});
        // The window manager is up once it names itself on the root window.
        return wm_.waitForStarted() && waitFor([] {
                   QString out;
                   return run(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"}, &out)
                       && out.contains(QStringLiteral("window id"));
               });
    }
    ~Desktop()
    {
        for (QProcess* process : {&wm_, &xvfb_}) {
            process->terminate(); // Xvfb then removes its lock and socket
            if (!process->waitForFinished(3000))
                process->kill();
            process->waitForFinished();
        }
    }

private:
    static bool waitFor(const std::function<bool()>& ready)
    {
        for (int tries = 0; tries < 100; ++tries) {
            if (ready())
                return true;
            QTest::qSleep(100);
        }
        return false;
    }

    QTemporaryDir home_;
    QProcess xvfb_;
    QProcess wm_;
};

void xdotool(const QStringList& arguments)
{
    QVERIFY2(run(QStringLiteral("xdotool"), arguments), qPrintable(arguments.join(u' ')));
}

// A point of a widget on the screen, as xdotool wants it.
QStringList screenPoint(const QWidget& widget)
{
    const QPoint at = widget.mapToGlobal(widget.rect().center());
    return {QString::number(at.x()), QString::number(at.y())};
}

// Runs `action` once, on the n-th event pass of a search, while the wait window is up.
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
            xdotool(QStringList{"mousemove"} + screenPoint(w.game.square(1)) + QStringList{"click", "1"});
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

    // A later start, from another working folder, hands its file over and brings the game forward.
    void laterStartComesForwardWithItsFile()
    {
        Window w;
        QTemporaryDir runtime;
        SingleInstance instance(runtime.filePath(KAVRIN_APP_ID ".socket"));
        QVERIFY(!instance.handOverToRunningCopy({}));
        QObject::connect(&instance, &SingleInstance::fileHandedOver, &w.game, &frmGame::openFromLaterStart);
        QWidget other;
        other.setWindowTitle("another program");
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));

        QVERIFY(QDir(w.home.path()).mkdir("sub"));
        QFile puzzle(w.home.filePath("later.kvr"));
        QVERIFY(puzzle.open(QIODevice::WriteOnly));
        puzzle.write(QByteArray("\x04\xff\xff", 3) + QByteArray(240, '\0'));
        puzzle.close();
        QProcess later;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        later.setProcessEnvironment(env);
        later.setWorkingDirectory(w.home.filePath("sub"));
        later.start(QStringLiteral(KAVRIN_SOLVE_PATH), {"../later.kvr"});
        QVERIFY(later.waitForFinished(20000));
        QCOMPARE(later.exitCode(), 0);
        QTRY_COMPARE(int(w.game.board()[1].Digit), 4);
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
