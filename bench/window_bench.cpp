// Window benchmarks: the visible search as the game window runs it, and start-up to the first paint.
//
//   kavrin_window_bench search [PUZZLE]  steps (trial digits shown) per second, painting and one
//                                        event pass per step, on a search of about 27,000 steps
//   kavrin_window_bench startup [RUNS]   process start to the first paint of the game window,
//                                        the median of RUNS (default 15) fresh processes, in ms
//
// Run with QT_QPA_PLATFORM=offscreen; bench/compare sets up the environment.
#include "file_routes.h"
#include "files/puzzle_line.h"
#include "frm_game.h"
#include "generation/uniform_source.h"
#include "host/host.h"
#include "host/messages.h"
#include "host/silent_host.h"
#include "model/board.h"
#include "model/candidates.h"
#include "model/colour.h"
#include "model/square.h"
#include "puzzle_dialogs.h"
#include "solving/logic_solver.h"
#include "solving/search.h"
#include "square_view.h"
#include "start.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QList>
#include <QObject>
#include <QString>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

extern char** environ;

namespace {

using namespace kavrin;
using Clock = std::chrono::steady_clock;

// Needs the search for about 27,000 trial digits: long enough to time, short enough to watch.
constexpr const char* kSearchPuzzle =
    "..3...............7.......84.6..58....17..56...72.8.411...86..4...52..3.6....4..2";

Board fromLine(const std::string& line)
{
    auto parsed = parsePuzzleLine(line);
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "kavrin_window_bench: " << *error << '\n';
        std::exit(2);
    }
    return std::get<Board>(std::move(parsed));
}

// Counts the paint events the grid's squares receive.
class PaintCounter final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<SquareView*>(watched))
            ++squarePaints;
        return false;
    }
    long long squarePaints = 0;
};

// The engine alone, without the window: how many trial digits the search takes, and its result.
SearchResult silentSearch(Board& board)
{
    Candidates candidates;
    LogicSolve(board, candidates);
    SilentHost host;
    SearchHost searchHost = host.searchHost();
    return LastAttempt(board, candidates, searchHost);
}

void typePuzzle(frmGame& game, const Board& puzzle)
{
    for (int s = 1; s <= kSquareCount; ++s) {
        const int digit = puzzle[s].Digit;
        if (digit == 0)
            continue;
        QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + digit, Qt::NoModifier, QString::number(digit));
        QApplication::sendEvent(&game.square(s), &key);
    }
}

QAction& solveCommand(const frmGame& game)
{
    for (QAction* action : game.findChildren<QAction*>())
        if (action->text() == QLatin1String("Solve"))
            return *action;
    std::cerr << "kavrin_window_bench: the window has no Solve command\n";
    std::exit(1);
}

int visibleSearch(int argc, char** argv)
{
    const std::string line = argc > 2 ? argv[2] : kSearchPuzzle;
    Board expected = fromLine(line);
    const SearchResult silent = silentSearch(expected);

    QApplication app(argc, argv);
    SilentHost prompter; // Yes to the last-attempt question, as a player watching would
    frmGame game(prompter, std::make_unique<SeededUniform>(1), GameFiles{});
    game.show();
    typePuzzle(game, fromLine(line));
    for (int i = 0; i < 20; ++i) // let the window be exposed and painted once before timing
        QCoreApplication::processEvents();

    PaintCounter paints;
    app.installEventFilter(&paints);
    const auto start = Clock::now();
    solveCommand(game).trigger();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    app.removeEventFilter(&paints);

    if (game.board().digits() != expected.digits()) {
        std::cerr << "kavrin_window_bench: the window's search ended elsewhere than the engine's\n";
        return 1;
    }
    if (prompter.lastText != kFinishedMyWork) {
        std::cerr << "kavrin_window_bench: the search did not run to its closing message\n";
        return 1;
    }
    std::printf("visible search: %lld steps in %.3f s = %.0f steps/s, %.2f square paints per step\n",
                silent.trials, seconds, static_cast<double>(silent.trials) / seconds,
                static_cast<double>(paints.squarePaints) / static_cast<double>(silent.trials));
    return 0;
}

long long monotonicNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// Stops the program at the window's first paint and prints when that was.
class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            std::printf("%lld\n", monotonicNanoseconds());
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
        return false;
    }

private:
    bool seen_ = false;
};

// Kavrin_Solve's own start, without a file to open, up to the first paint of the game window.
int firstPaint(char** argv)
{
    int programNameOnly = 1;
    FirstPaint watch;
    return Main(programNameOnly, argv, [&watch](frmGame& game) { game.installEventFilter(&watch); });
}

// Starts this program again as a fresh process and returns the milliseconds to its first paint.
double oneStartUp(const char* self)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char mode[] = "first-paint";
    char* const args[] = {const_cast<char*>(self), mode, nullptr};
    pid_t child = 0;
    const long long started = monotonicNanoseconds();
    const int spawned = posix_spawn(&child, self, &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[64];
    for (ssize_t n; spawned == 0 && (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        text.empty())
        return -1;
    return static_cast<double>(std::stoll(text) - started) / 1e6;
}

int startUp(int argc, char** argv)
{
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
    if (oneStartUp(argv[0]) < 0) { // the first run also writes the file-type registration
        std::cerr << "kavrin_window_bench: the window did not start (another copy running?)\n";
        return 1;
    }
    std::vector<double> ms;
    ms.reserve(runs);
    for (int i = 0; i < runs; ++i)
        ms.push_back(oneStartUp(argv[0]));
    if (std::ranges::any_of(ms, [](double m) { return m < 0; }))
        return 1;
    std::ranges::sort(ms);
    std::printf("start-up to first paint: median %.1f ms (min %.1f, max %.1f, %d runs)\n", ms[ms.size() / 2],
                ms.front(), ms.back(), runs);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "search")
        return visibleSearch(argc, argv);
    if (mode == "startup")
        return startUp(argc, argv);
    if (mode == "first-paint")
        return firstPaint(argv);
    std::cerr << "usage: kavrin_window_bench search [PUZZLE] | startup [RUNS]\n";
    return 2;
}
