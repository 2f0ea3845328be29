// A seeded random-input soak of the game window: keys, buttons, wheel, panel, commands and cancelled searches.
#include "window_fixture.h"
#include "frm_wait.h"
#include "generation/uniform_source.h"
#include "qt_host.h"
#include "scripted_dialogs.h"
#include "solve_panel.h"
#include "square_view.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <random>
#include <vector>

using namespace kavrin;
using namespace kavrin::test;

namespace {

// Rerun a failure with KAVRIN_SOAK_SEED set to the seed it printed.
constexpr unsigned kDefaultSeed = 20261207;
constexpr int kDefaultActions = 10000;
constexpr int kTraceLength = 12;
// Event passes a search may take after its first cancel before the soak calls it a hang.
constexpr int kCancelPassLimit = 20000;
// Every this many actions the squares are rendered and their pixels compared with their records.
constexpr int kPixelCheckInterval = 25;

unsigned environmentNumber(const char* name, unsigned fallback)
{
    bool ok = false;
    const unsigned value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

// Ok boxes are acknowledged; every question gets a random Yes or No.
class RandomPrompter final : public Prompter {
public:
    explicit RandomPrompter(std::mt19937& random) : random_(random) {}
    Answer ask(const Message& message) override
    {
        ++asked;
        if (message.buttons == Buttons::Ok)
            return Answer::Ok;
        return random_() % 2 ? Answer::Yes : Answer::No;
    }
    int asked = 0;

private:
    std::mt19937& random_;
};

GameFiles soakFiles(const QString& listFile, ScriptedDialogs*& dialogs)
{
    auto owned = std::make_unique<ScriptedDialogs>();
    dialogs = owned.get();
    return GameFiles{listFile, QString(), std::move(owned)};
}

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString name() const { return QKeySequence(QKeyCombination(modifiers, key)).toString(); }
};

// Every key the squares take, some they ignore, and the command shortcuts.
std::vector<Key> squareKeys()
{
    std::vector<Key> keys;
    for (int d = 0; d <= 9; ++d) {
        keys.push_back({Qt::Key(Qt::Key_0 + d), Qt::NoModifier});
        keys.push_back({Qt::Key(Qt::Key_0 + d), Qt::KeypadModifier});
    }
    for (const Qt::Key key : {Qt::Key_Delete, Qt::Key_Space, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                              Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Return,
                              Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Backspace, Qt::Key_A, Qt::Key_Insert,
                              Qt::Key_Escape, Qt::Key_Tab})
        keys.push_back({key, Qt::NoModifier});
    const Key others[] = {
        {Qt::Key_Enter, Qt::KeypadModifier}, {Qt::Key_Return, Qt::ShiftModifier},
        {Qt::Key_Return, Qt::ShiftModifier | Qt::ControlModifier}, {Qt::Key_Plus, Qt::KeypadModifier},
        {Qt::Key_Minus, Qt::KeypadModifier}, {Qt::Key_5, Qt::AltModifier},
    };
    keys.insert(keys.end(), std::begin(others), std::end(others));
    return keys;
}

const std::vector<Key>& shortcutKeys()
{
    static const std::vector<Key> keys = {
        {Qt::Key_F2, Qt::NoModifier},        {Qt::Key_F5, Qt::NoModifier},        {Qt::Key_A, Qt::ControlModifier},
        {Qt::Key_C, Qt::ControlModifier},    {Qt::Key_Z, Qt::ControlModifier},    {Qt::Key_O, Qt::ControlModifier},
        {Qt::Key_S, Qt::ControlModifier},
    };
    return keys;
}

Qt::MouseButton buttonOf(int n)
{
    static const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    return buttons[n];
}

// Sent straight to the widget: QTest would warn about every key or click the window rightly ignores.
void sendKey(QWidget& target, const Key& key)
{
    QKeyEvent press(QEvent::KeyPress, key.key, key.modifiers);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key.key, key.modifiers);
    QApplication::sendEvent(&target, &release);
}

// Through QTest, which offers the press to the shortcut map first; the release only reaches the widget.
void sendShortcut(QWidget& target, const Key& key)
{
    QTest::keyPress(&target, key.key, key.modifiers);
    QKeyEvent release(QEvent::KeyRelease, key.key, key.modifiers);
    QApplication::sendEvent(&target, &release);
}

void sendMouse(QWidget& target, QEvent::Type type, Qt::MouseButton button, QPoint at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), target.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}

void sendClick(QWidget& target, Qt::MouseButton button, QPoint at)
{
    sendMouse(target, QEvent::MouseButtonPress, button, at);
    sendMouse(target, QEvent::MouseButtonRelease, button, at);
}

// What the platform sends for a double-click: a press and release, then the double-click and a release.
void sendDoubleClick(QWidget& target, Qt::MouseButton button, QPoint at)
{
    sendClick(target, button, at);
    sendMouse(target, QEvent::MouseButtonDblClick, button, at);
    sendMouse(target, QEvent::MouseButtonRelease, button, at);
}

// The drag and drop events a file manager sends, at a point of the window.
void sendDrop(QWidget& window, QPoint at, const QMimeData& data)
{
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
}

// Whether a digit shows on an empty square's tile: exactly when no square of its row, column or block holds it.
bool digitFree(const Board& board, int index, int digit)
{
    const auto [row, col] = SquareRowCol(index);
    for (int other = 1; other <= kSquareCount; ++other) {
        const auto [r, c] = SquareRowCol(other);
        const bool peer = r == row || c == col || ((r - 1) / 3 == (row - 1) / 3 && (c - 1) / 3 == (col - 1) / 3);
        if (peer && board[other].Digit == digit)
            return false;
    }
    return true;
}

QString expectedTile(const Board& board, int index)
{
    QString shown;
    for (int d = 1; d <= 9; ++d)
        shown += board[index].Digit == 0 && digitFree(board, index, d) ? QChar('0' + d) : QChar('.');
    return shown;
}

// The platform's "does not support raise()" and the like say nothing about the window.
QtMessageHandler previousHandler = nullptr;
void quietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    previousHandler(type, context, message);
}

struct QuietPlatform {
    QuietPlatform() { previousHandler = qInstallMessageHandler(quietPlatform); }
    ~QuietPlatform() { qInstallMessageHandler(previousHandler); }
    QuietPlatform(const QuietPlatform&) = delete;
    QuietPlatform& operator=(const QuietPlatform&) = delete;
};

// The window, its random source and the record of what was done to it.
class Soak {
public:
    explicit Soak(unsigned seed)
        : seed_(seed), random_(seed), prompter_(random_),
          game_(prompter_, std::make_unique<SeededUniform>(seed),
                soakFiles(folder_.filePath(QStringLiteral("Recent Files.txt")), dialogs_))
    {
        game_.show();
        QApplication::setActiveWindow(&game_);
        searchWatch_.setInterval(0);
        QObject::connect(&searchWatch_, &QTimer::timeout, &game_, [this] { watchSearch(); });
        searchWatch_.start();
    }

    bool exposed() { return QTest::qWaitForWindowExposed(&game_); }

    // Runs one random action; returns the first broken rule, or nothing.
    QString act(int number)
    {
        number_ = number;
        searchTrace_.clear();
        randomAction();
        searchSeen_ = false;
        passes_ = 0;
        QCoreApplication::processEvents();
        if (!failure_.isEmpty())
            return report(failure_);
        QString broken = brokenRule();
        if (broken.isEmpty() && number % kPixelCheckInterval == 0)
            broken = wrongPicture();
        return broken.isEmpty() ? QString() : report(broken);
    }

    int searches() const { return searchCount_; }
    int messages() const { return prompter_.asked; }

private:
    int below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return below(100) < percent; }

    // Inside one action a search may take many inputs; only its last few are kept.
    void note(const QString& action)
    {
        if (passes_ > 0)
            searchTrace_.push_back(QStringLiteral("pass %1: %2").arg(passes_).arg(action));
        else
            trace_.push_back(QStringLiteral("%1: %2").arg(number_).arg(action));
        if (trace_.size() > kTraceLength)
            trace_.pop_front();
        if (searchTrace_.size() > kTraceLength / 2)
            searchTrace_.pop_front();
    }

    QString report(const QString& broken) const
    {
        QString text = QStringLiteral("seed %1, action %2: %3\nlast actions:").arg(seed_).arg(number_).arg(broken);
        for (const QString& line : trace_)
            text += QStringLiteral("\n  ") + line;
        if (!searchTrace_.empty())
            text += QStringLiteral("\nlast events of its search:");
        for (const QString& line : searchTrace_)
            text += QStringLiteral("\n  ") + line;
        return text;
    }

    // What must hold between actions; empty when all does.
    QString brokenRule() const
    {
        const Board& board = game_.board();
        for (int i = 1; i <= kSquareCount; ++i) {
            const SquareInfo& square = board[i];
            if (square.Digit > 9)
                return QStringLiteral("square %1 holds %2").arg(i).arg(square.Digit);
            if (square.Digit == 0 && square.Fixed)
                return QStringLiteral("empty square %1 is fixed").arg(i);
            if (game_.square(i).drawnDigit() != square.Digit)
                return QStringLiteral("square %1 shows %2 but holds %3").arg(i).arg(game_.square(i).drawnDigit()).arg(square.Digit);
            if (game_.square(i).drawnBackground() != board.background(i))
                return QStringLiteral("square %1 shows background %2 but has %3")
                    .arg(i).arg(game_.square(i).drawnBackground(), 0, 16).arg(board.background(i), 0, 16);
        }
        if (!game_.isEnabled())
            return QStringLiteral("the window stays disabled");
        if (game_.waitWindow() && game_.waitWindow()->isVisible())
            return QStringLiteral("the wait window stays up");
        if (game_.currentSquare() < 1 || game_.currentSquare() > kSquareCount)
            return QStringLiteral("current square %1").arg(game_.currentSquare());
        if (game_.focusFrame().pos() != game_.square(game_.currentSquare()).pos() - QPoint(1, 1))
            return QStringLiteral("the focus frame is not on square %1").arg(game_.currentSquare());
        return {};
    }

    // What the squares really show: their background inside the frame, and a digit in its colour or none.
    QString wrongPicture() const
    {
        for (int i = 1; i <= kSquareCount; ++i) {
            SquareView& square = game_.square(i);
            const QImage image = square.grab().toImage();
            const QRect inner = square.contentsRect();
            const QColor background = toQColor(game_.board().background(i));
            const QColor ink = toQColor(game_.board().digitColour(i));
            if (image.pixelColor(inner.topLeft()) != background)
                return QStringLiteral("square %1 is painted %2, not %3").arg(i).arg(image.pixelColor(inner.topLeft()).name(), background.name());
            bool inked = false;
            bool other = false;
            for (int y = inner.top(); y <= inner.bottom(); ++y)
                for (int x = inner.left(); x <= inner.right(); ++x) {
                    const QColor pixel = image.pixelColor(x, y);
                    inked = inked || pixel == ink;
                    other = other || pixel != background;
                }
            const bool digit = game_.board()[i].Digit != 0;
            if (digit != inked || (!digit && other))
                return QStringLiteral("square %1 holding %2 is drawn %3").arg(i).arg(game_.board()[i].Digit).arg(digit ? "without its digit colour" : "with a mark");
        }
        return {};
    }

    // Each action with its chance in a hundred.
    void randomAction()
    {
        static constexpr std::pair<int, void (Soak::*)()> actions[] = {
            {34, &Soak::pressKey},       {12, &Soak::click},     {6, &Soak::doubleClick},
            {10, &Soak::turnWheel},      {8, &Soak::movePointer}, {3, &Soak::doubleClickPanel},
            {4, &Soak::dragPanel},       {3, &Soak::pressShortcut}, {2, &Soak::dropFile},
            {18, &Soak::runCommand},
        };
        int roll = below(100);
        for (const auto& [chance, action] : actions) {
            if (roll < chance) {
                (this->*action)();
                return;
            }
            roll -= chance;
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

    void pressKey()
    {
        static const std::vector<Key> keys = squareKeys();
        const Key& key = keys[below(static_cast<int>(keys.size()))];
        QWidget& target = keyTarget();
        note(QStringLiteral("key %1 on %2").arg(key.name(), widgetName(target)));
        sendKey(target, key);
    }

    void pressShortcut()
    {
        const Key& key = shortcutKeys()[below(static_cast<int>(shortcutKeys().size()))];
        prepareFileDialogs();
        note(QStringLiteral("shortcut %1").arg(key.name()));
        sendShortcut(keyTarget(), key);
        QApplication::setActiveWindow(&game_);
    }

    QString widgetName(const QWidget& widget) const
    {
        if (const auto* square = qobject_cast<const SquareView*>(&widget))
            return QStringLiteral("square %1").arg(square->index());
        return QString::fromLatin1(widget.metaObject()->className());
    }

    SquareView& randomSquare() { return game_.square(1 + below(kSquareCount)); }
    QPoint pointIn(const QWidget& widget) { return QPoint(below(widget.width()), below(widget.height())); }

    void click()
    {
        SquareView& square = randomSquare();
        const int button = below(3);
        note(QStringLiteral("click %1 on square %2").arg(button + 1).arg(square.index()));
        sendClick(square, buttonOf(button), pointIn(square));
    }

    void doubleClick()
    {
        SquareView& square = randomSquare();
        const Qt::MouseButton button = buttonOf(below(3));
        const QPoint at = pointIn(square);
        note(QStringLiteral("double-click %1 on square %2").arg(int(button)).arg(square.index()));
        sendDoubleClick(square, button, at);
    }

    // Through the window, as the platform delivers it, so that the wheel hook sees it.
    void sendWheel(int delta)
    {
        const QPoint at = randomSquare().mapTo(&game_, QPoint(5, 5));
        QWheelEvent wheel(at, game_.mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(game_.windowHandle(), &wheel);
    }

    int wheelDelta()
    {
        static const int deltas[] = {120, -120, 240, -240, 360, -360, 30, -30, 60, -60, 90, -40};
        return deltas[below(std::size(deltas))];
    }

    void turnWheel()
    {
        const int delta = wheelDelta();
        note(QStringLiteral("wheel %1 with square %2 current").arg(delta).arg(game_.currentSquare()));
        sendWheel(delta);
    }

    void sendMove(QWidget& widget, QPoint at, Qt::MouseButtons buttons)
    {
        QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(QPointF(at)), Qt::NoButton, buttons,
                         Qt::NoModifier);
        QApplication::sendEvent(&widget, &move);
    }

    void movePointer()
    {
        SquareView& square = randomSquare();
        note(QStringLiteral("pointer to square %1").arg(square.index()));
        sendMove(square, pointIn(square), Qt::NoButton);
    }

    void doubleClickPanel()
    {
        SolvePanel& panel = game_.panel();
        const QPoint at = pointIn(panel);
        note(QStringLiteral("panel double-click at %1,%2").arg(at.x()).arg(at.y()));
        sendDoubleClick(panel, Qt::LeftButton, at);
        for (int i = 1; i <= kSquareCount && failure_.isEmpty() && passes_ == 0; ++i)
            if (panel.shownDigits(i) != expectedTile(game_.board(), i))
                failure_ = QStringLiteral("tile %1 shows %2, not %3").arg(i).arg(panel.shownDigits(i), expectedTile(game_.board(), i));
    }

    // Anywhere on the window: the grid, the panel, its tiles, the bare client area or the menu bar.
    void dropFile()
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(randomPuzzlePath())});
        const QPoint at = pointIn(game_);
        note(QStringLiteral("drop %1 at %2,%3").arg(QFileInfo(data.urls()[0].toLocalFile()).fileName()).arg(at.x()).arg(at.y()));
        sendDrop(game_, at, data);
    }

    // A few moves with the button held; the panel is put back now and then so that it stays in reach.
    void dragPanel()
    {
        SolvePanel& panel = game_.panel();
        if (chance(20))
            panel.move(365, 8);
        QPoint at = pointIn(panel);
        note(QStringLiteral("panel drag from %1,%2").arg(at.x()).arg(at.y()));
        sendMouse(panel, QEvent::MouseButtonPress, Qt::LeftButton, at);
        for (int n = below(4); n >= 0; --n) {
            at += QPoint(below(41) - 20, below(41) - 20);
            sendMove(panel, at, chance(90) ? Qt::LeftButton : Qt::RightButton);
        }
        sendMouse(panel, QEvent::MouseButtonRelease, Qt::LeftButton, at);
    }

    QString folderPath(const QString& name) const { return folder_.filePath(name); }

    // Saved puzzles, missing ones, short ones and random bytes.
    QString randomPuzzlePath()
    {
        static const char* const names[] = {"a.kvr", "b.kvr", "c.kvr", "missing.kvr", "short.kvr", "noise.kvr"};
        const QString name = QString::fromLatin1(names[below(std::size(names))]);
        if (name == QLatin1String("short.kvr"))
            writeFile(folderPath(name), randomBytes(below(243)));
        else if (name == QLatin1String("noise.kvr"))
            writeFile(folderPath(name), randomBytes(243 + below(3)));
        return folderPath(name);
    }

    QByteArray randomBytes(int size)
    {
        QByteArray bytes(size, '\0');
        for (char& byte : bytes) {
            const int pick = below(10);
            byte = static_cast<char>(pick < 5 ? 0 : pick < 8 ? below(10) : pick < 9 ? 0xFF : below(256));
        }
        return bytes;
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    void prepareFileDialogs()
    {
        const int pick = below(10);
        dialogs_->openAnswer = pick == 0 ? std::nullopt : std::optional<QString>(randomPuzzlePath());
        static const char* const targets[] = {"a.kvr", "b.kvr", "c.kvr", "no folder/x.kvr", "."};
        const int save = below(12);
        dialogs_->saveAnswer = save >= int(std::size(targets)) + 5
                                   ? std::nullopt
                                   : std::optional<QString>(folderPath(targets[save % std::size(targets)]));
        if (chance(5))
            QFile::remove(folderPath(QChar('a' + below(3)) + QStringLiteral(".kvr")));
    }

    void runCommand()
    {
        prepareFileDialogs();
        static const char* const commands[] = {"NewGame", "Generate", "Solve", "Solve", "Solve", "Check",
                                               "Clear",   "Load",     "Save",  "About", nullptr};
        const char* const name = commands[below(std::size(commands))];
        const QList<QAction*> items = recentItems(game_);
        if (!name && !items.isEmpty()) {
            QAction* item = items[below(static_cast<int>(items.size()))];
            note(QStringLiteral("command %1").arg(item->text()));
            item->trigger();
        } else {
            note(QStringLiteral("command %1").arg(name ? name : "Load"));
            trigger(game_, name ? name : "Load");
        }
        QApplication::setActiveWindow(&game_);
    }

    // The visible search yields once per trial digit; each pass of it lands here.
    void watchSearch()
    {
        frmWait* wait = game_.waitWindow();
        if (!wait || !wait->isVisible())
            return;
        if (!searchSeen_) {
            searchSeen_ = true;
            ++searchCount_;
            firstCancel_ = -1;
            cancelAt_ = cancelDelay();
            note(QStringLiteral("search, cancel after %1 passes").arg(cancelAt_));
        }
        ++passes_;
        if (chance(10))
            inputWhileDisabled();
        if (passes_ >= cancelAt_)
            cancel(*wait);
        if (firstCancel_ >= 0 && passes_ - firstCancel_ > kCancelPassLimit)
            giveUp();
    }

    // Mostly a few passes; now and then long enough for a search to get somewhere.
    int cancelDelay()
    {
        const int pick = below(100);
        return pick < 80 ? 1 + below(5) : pick < 97 ? 10 + below(50) : 200 + below(800);
    }

    void cancel(frmWait& wait)
    {
        if (firstCancel_ < 0)
            firstCancel_ = passes_;
        const int pick = below(100);
        static const char* const kinds[] = {"Esc", "close", "Shift+Esc", "Esc then B"};
        const char* const kind = kinds[(pick >= 75) + (pick >= 85) + (pick >= 92)];
        note(QStringLiteral("%1 on the wait window").arg(QString::fromLatin1(kind)));
        if (pick < 75) {
            QTest::keyClick(&wait, Qt::Key_Escape);
        } else if (pick < 85) {
            wait.close(); // refused, and counted as Esc
        } else if (pick < 92) {
            QTest::keyClick(&wait, Qt::Key_Escape, Qt::ShiftModifier); // not a cancel
            cancelAt_ = passes_ + 1 + below(3);
        } else {
            QTest::keyClick(&wait, Qt::Key_Escape);
            QTest::keyClick(&wait, Qt::Key_B); // takes the cancel back
            cancelAt_ = passes_ + 1 + below(3);
        }
    }

    // Input that reaches the disabled window mid-search must leave the grid to the search.
    void inputWhileDisabled()
    {
        std::array<SquareInfo, kSquareCount> before{};
        for (int i = 1; i <= kSquareCount; ++i)
            before[i - 1] = game_.board()[i];
        void (Soak::*const inputs[])() = {&Soak::pressKey, &Soak::click,     &Soak::turnWheel,
                                          &Soak::pressShortcut, &Soak::dropFile, &Soak::doubleClickPanel};
        (this->*inputs[below(std::size(inputs))])();
        for (int i = 1; i <= kSquareCount; ++i)
            if (failure_.isEmpty() && !(game_.board()[i] == before[i - 1]))
                failure_ = QStringLiteral("%1 changed square %2 during the search").arg(searchTrace_.back()).arg(i);
    }

    // A search that does not stop is closed; one that does not even stop then ends the run.
    void giveUp()
    {
        if (failure_.isEmpty()) {
            failure_ = QStringLiteral("the search went on for %1 passes after the cancel").arg(kCancelPassLimit);
            game_.close();
        }
        if (passes_ - firstCancel_ > 2 * kCancelPassLimit)
            qFatal("%s", qPrintable(report(failure_)));
    }

    unsigned seed_;
    std::mt19937 random_;
    QTemporaryDir folder_;
    RandomPrompter prompter_;
    ScriptedDialogs* dialogs_ = nullptr;
    frmGame game_;
    QTimer searchWatch_;
    std::deque<QString> trace_;
    std::deque<QString> searchTrace_;
    QString failure_;
    int number_ = 0;
    bool searchSeen_ = false;
    int searchCount_ = 0;
    int passes_ = 0;
    int cancelAt_ = 0;
    int firstCancel_ = -1;
};

} // namespace

class SoakTest : public QObject {
    Q_OBJECT
private slots:
    void randomActions()
    {
        const unsigned seed = environmentNumber("KAVRIN_SOAK_SEED", kDefaultSeed);
        const int actions = static_cast<int>(environmentNumber("KAVRIN_SOAK_ACTIONS", kDefaultActions));
        const QuietPlatform quiet;
        Soak soak(seed);
        QVERIFY(soak.exposed());
        for (int n = 1; n <= actions; ++n) {
            const QString broken = soak.act(n);
            if (!broken.isEmpty())
                QFAIL(qPrintable(broken));
        }
        std::printf("seed %u: %d actions, %d messages, %d visible searches\n", seed, actions, soak.messages(),
                    soak.searches());
    }
};

QTEST_MAIN(SoakTest)
#include "test_soak.moc"
