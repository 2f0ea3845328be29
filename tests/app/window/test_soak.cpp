// A seeded random-input soak of the game window: keys, buttons, wheel, panel, drops, commands and
// cancelled searches, with the grid, its picture and the window's state checked after each action.
// Rerun a failure with KAVRIN_SOAK_SEED set to the seed it printed; KAVRIN_SOAK_ACTIONS lengthens it.
#include "frm_game.h"
#include "frm_wait.h"
#include "generation/uniform_source.h"
#include "host/host.h"
#include "model/board.h"
#include "model/colour.h"
#include "model/square.h"
#include "qt_host.h"
#include "scripted_dialogs.h"
#include "solve_panel.h"
#include "square_view.h"
#include "test_files.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QChar>
#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QList>
#include <QMimeData>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

namespace {

constexpr unsigned kDefaultSeed = 20261207;
constexpr int kDefaultActions = 10000;
// Event passes a search may take after its first cancel before the soak calls it a hang.
constexpr int kCancelPassLimit = 20000;
// Every this many actions the squares are rendered and their pixels compared with their records.
constexpr int kPixelCheckInterval = 25;

// Ok boxes are acknowledged; every question gets a random Yes or No.
struct RandomPrompter final : Prompter {
    explicit RandomPrompter(std::mt19937& random) : random(random) {}
    Answer ask(const Message& message) override
    {
        return message.buttons == Buttons::Ok ? Answer::Ok : random() % 2 ? Answer::Yes : Answer::No;
    }
    std::mt19937& random;
};

// Every key the squares take, some they ignore, and (last) the command shortcuts.
const std::vector<QKeyCombination> kKeys = [] {
    std::vector<QKeyCombination> keys;
    for (int d = 0; d <= 9; ++d)
        keys.insert(keys.end(), {Qt::Key(Qt::Key_0 + d), Qt::KeypadModifier | Qt::Key(Qt::Key_0 + d)});
    for (const Qt::Key key : {Qt::Key_Delete, Qt::Key_Space, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                              Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Return,
                              Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Backspace, Qt::Key_A, Qt::Key_Escape, Qt::Key_Tab})
        keys.emplace_back(key);
    keys.insert(keys.end(), {Qt::KeypadModifier | Qt::Key_Enter, Qt::ShiftModifier | Qt::Key_Return,
                             Qt::ShiftModifier | Qt::ControlModifier | Qt::Key_Return, Qt::KeypadModifier | Qt::Key_Plus,
                             Qt::KeypadModifier | Qt::Key_Minus, Qt::AltModifier | Qt::Key_5});
    keys.insert(keys.end(), {Qt::Key_F2, Qt::Key_F5, Qt::CTRL | Qt::Key_A, Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Z,
                             Qt::CTRL | Qt::Key_O, Qt::CTRL | Qt::Key_S});
    return keys;
}();
constexpr int kShortcutCount = 7;
const char* const kCommands[] = {"New",  "Generate", "Solve", "Solve", "Solve", "Check Diagram",
                                 "Clear blue numbers", "Load", "Save", "About", nullptr}; // null: a recent item

// What the platform sends for a click, and for a double-click after it.
void sendClick(QWidget& target, Qt::MouseButton button, QPoint at, bool twice)
{
    sendMouse(target, QEvent::MouseButtonPress, button, at, button);
    sendMouse(target, QEvent::MouseButtonRelease, button, at, Qt::NoButton);
    if (twice) {
        sendMouse(target, QEvent::MouseButtonDblClick, button, at, button);
        sendMouse(target, QEvent::MouseButtonRelease, button, at, Qt::NoButton);
    }
}

// The digits and fixed flags of the grid.
QString gridState(const frmGame& game)
{
    QString state = digits(game);
    for (int i = 1; i <= kSquareCount; ++i)
        state += game.board()[i].Fixed ? u'F' : u'-';
    return state;
}

} // namespace

class SoakTest : public QObject {
    Q_OBJECT
private slots:
    void randomActions()
    {
        game_.show();
        QApplication::setActiveWindow(&game_);
        QVERIFY(QTest::qWaitForWindowExposed(&game_));
        QObject::connect(&searchWatch_, &QTimer::timeout, &game_, [this] { watchSearch(); });
        searchWatch_.start(0);
        const int actions = qEnvironmentVariableIsSet("KAVRIN_SOAK_ACTIONS") ? qEnvironmentVariableIntValue("KAVRIN_SOAK_ACTIONS")
                                                                              : kDefaultActions;
        for (number_ = 1; number_ <= actions; ++number_) {
            randomAction();
            passes_ = 0;
            QCoreApplication::processEvents();
            QString broken = failure_.isEmpty() ? brokenRule() : failure_;
            if (broken.isEmpty() && number_ % kPixelCheckInterval == 0)
                broken = wrongPicture();
            if (!broken.isEmpty())
                QFAIL(qPrintable(report(broken)));
        }
    }

private:
    int below(std::size_t n) { return static_cast<int>(random_() % n); }
    bool chance(int percent) { return below(100) < percent; }

    // Enough to replay the run up to the failure.
    QString report(const QString& broken) const
    {
        return QStringLiteral("%3 (replay: KAVRIN_SOAK_SEED=%1 KAVRIN_SOAK_ACTIONS=%2)").arg(seed_).arg(number_).arg(broken);
    }

    // What must hold between actions; empty when all does.
    QString brokenRule() const
    {
        const Board& board = game_.board();
        for (int i = 1; i <= kSquareCount; ++i) {
            const SquareView& square = game_.square(i);
            if (board[i].Digit > 9 || (board[i].Digit == 0 && board[i].Fixed))
                return QStringLiteral("square %1 holds %2, fixed %3").arg(i).arg(board[i].Digit).arg(board[i].Fixed);
            if (square.drawnDigit() != board[i].Digit || square.drawnBackground() != board.background(i))
                return QStringLiteral("square %1 shows other than its record").arg(i);
        }
        if (!game_.isEnabled() || (game_.waitWindow() && game_.waitWindow()->isVisible()))
            return QStringLiteral("the window stays disabled or the wait window up");
        const int current = game_.currentSquare();
        if (current < 1 || current > kSquareCount || game_.focusFrame().pos() != game_.square(current).pos() - QPoint(1, 1))
            return QStringLiteral("the focus frame is not on current square %1").arg(current);
        return {};
    }

    // What the squares really show: their background inside the frame, and a digit in its colour or none.
    QString wrongPicture() const
    {
        for (int i = 1; i <= kSquareCount; ++i) {
            const QImage image = game_.square(i).grab().toImage().copy(game_.square(i).contentsRect());
            const QColor background = toQColor(game_.board().background(i));
            const QColor ink = toQColor(game_.board().digitColour(i));
            bool inked = false;
            bool marked = false;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    inked = inked || image.pixelColor(x, y) == ink;
                    marked = marked || image.pixelColor(x, y) != background;
                }
            const bool digit = game_.board()[i].Digit != 0;
            if (image.pixelColor(0, 0) != background || digit != inked || (!digit && marked))
                return QStringLiteral("square %1 is not drawn as its record says").arg(i);
        }
        return {};
    }

    // Each kind of input with its chance in a hundred.
    void randomAction() { input(std::discrete_distribution<int>({38, 18, 10, 8, 6, 2, 18})(random_)); }

    // 0 a key, 1 a click, 2 a wheel turn, 3 a pointer move, 4 a panel double-click, 5 a drop anywhere
    // on the window, 6 a menu command or recent item.
    void input(int kind)
    {
        SquareView& square = game_.square(1 + below(kSquareCount));
        SolvePanel& panel = game_.panel();
        switch (kind) {
        case 0:
            return pressKey();
        case 1: {
            const Qt::MouseButton button = std::array{Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}[below(3)];
            const QPoint at = pointIn(square);
            return sendClick(square, button, at, chance(33));
        }
        case 2:
            return turnWheel(game_, square, std::array{120, -120, 240, -240, 360, -360, 30, -30, 60, -60, 90, -40}[below(12)]);
        case 3:
            return sendMouse(square, QEvent::MouseMove, Qt::NoButton, pointIn(square), Qt::NoButton);
        case 4:
            return sendClick(panel, Qt::LeftButton, pointIn(panel), true);
        case 5: {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(randomPuzzlePath())});
            dropAt(game_, pointIn(game_), data);
            return;
        }
        default:
            return runCommand();
        }
    }

    // Keys go where the window's focus is; a square takes them when the focus has left the grid.
    QWidget& keyTarget()
    {
        QWidget* focus = QApplication::focusWidget();
        if (qobject_cast<SquareView*>(focus) && game_.isAncestorOf(focus))
            return *focus;
        return game_.square(game_.currentSquare());
    }

    // A shortcut goes through QTest, which offers it to the shortcut map first; any other key straight
    // to the widget, as QTest would warn about every key the window rightly ignores.
    void pressKey()
    {
        const int pick = below(kKeys.size());
        const QKeyCombination key = kKeys[pick];
        if (pick < int(kKeys.size()) - kShortcutCount) {
            QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
            QApplication::sendEvent(&keyTarget(), &press);
            return;
        }
        prepareFileDialogs();
        QTest::keyPress(&keyTarget(), key.key(), key.keyboardModifiers());
        QApplication::setActiveWindow(&game_);
    }

    QPoint pointIn(const QWidget& widget) { return {below(widget.width()), below(widget.height())}; }

    // Saved puzzles, missing ones and short ones (what the loader makes of odd bytes is the engine's test).
    QString randomPuzzlePath()
    {
        static const char* const names[] = {"a.kvr", "b.kvr", "c.kvr", "missing.kvr", "short.kvr"};
        QString path = folder_.filePath(QString::fromLatin1(names[below(std::size(names))]));
        if (path.endsWith("short.kvr"))
            writeFile(path, QByteArray(below(243), '\x05'));
        return path;
    }

    void prepareFileDialogs()
    {
        static const char* const targets[] = {"a.kvr", "b.kvr", "c.kvr", "no folder/x.kvr", "."};
        dialogs_->openAnswer = chance(10) ? std::nullopt : std::optional<QString>(randomPuzzlePath());
        const int save = below(12);
        dialogs_->saveAnswer = save >= 10 ? std::nullopt
                                          : std::optional<QString>(folder_.filePath(targets[save % std::size(targets)]));
        if (chance(5))
            QFile::remove(folder_.filePath(QChar(u'a' + below(3)) + QStringLiteral(".kvr")));
    }

    void runCommand()
    {
        prepareFileDialogs();
        const char* const command = kCommands[below(std::size(kCommands))];
        const QList<QAction*> items = recentItems(game_);
        if (!command && !items.isEmpty())
            items[below(items.size())]->trigger();
        else
            trigger(game_, command ? command : "Load");
        QApplication::setActiveWindow(&game_);
    }

    // The visible search yields once per trial digit; each pass of it lands here.
    void watchSearch()
    {
        frmWait* wait = game_.waitWindow();
        if (!wait || !wait->isVisible())
            return;
        if (passes_++ == 0) {
            firstCancel_ = -1;
            const int pick = below(100); // mostly a few passes, now and then long enough to get somewhere
            cancelAt_ = pick < 80 ? 1 + below(5) : pick < 97 ? 10 + below(50) : 200 + below(800);
        }
        if (chance(10))
            inputWhileDisabled();
        if (passes_ >= cancelAt_)
            cancel(*wait);
        if (firstCancel_ >= 0 && passes_ - firstCancel_ > kCancelPassLimit)
            qFatal("%s", qPrintable(report(QStringLiteral("the search went on after the cancel"))));
    }

    // Esc; a close, which counts as Esc; or Shift+Esc, or Esc then another key, which cancel nothing.
    void cancel(frmWait& wait)
    {
        if (firstCancel_ < 0)
            firstCancel_ = passes_;
        const int pick = below(100);
        if (pick < 75) {
            QTest::keyClick(&wait, Qt::Key_Escape);
        } else if (pick < 85) {
            wait.close();
        } else {
            QTest::keyClick(&wait, Qt::Key_Escape, pick < 92 ? Qt::ShiftModifier : Qt::NoModifier);
            if (pick >= 92)
                QTest::keyClick(&wait, Qt::Key_B);
            cancelAt_ = passes_ + 1 + below(3);
        }
    }

    // Input that reaches the disabled window mid-search must leave the grid to the search.
    void inputWhileDisabled()
    {
        const QString before = gridState(game_);
        input(std::array{0, 1, 2, 4, 5}[below(5)]); // a key, a click, a wheel turn, the panel, a drop
        if (failure_.isEmpty() && gridState(game_) != before)
            failure_ = QStringLiteral("input changed the grid during the search");
    }

    const unsigned seed_ = qEnvironmentVariableIsSet("KAVRIN_SOAK_SEED") ? qEnvironmentVariable("KAVRIN_SOAK_SEED").toUInt()
                                                                         : kDefaultSeed;
    std::mt19937 random_{seed_};
    QTemporaryDir folder_;
    RandomPrompter prompter_{random_};
    ScriptedDialogs* dialogs_ = nullptr;
    frmGame game_{prompter_, std::make_unique<SeededUniform>(seed_),
                  filesIn(folder_.filePath(QStringLiteral("Recent Files.txt")), {}, dialogs_)};
    QTimer searchWatch_;
    QString failure_;
    int number_ = 0;
    int passes_ = 0;
    int cancelAt_ = 0;
    int firstCancel_ = -1;
};

QTEST_MAIN(SoakTest)
#include "test_soak.moc"
