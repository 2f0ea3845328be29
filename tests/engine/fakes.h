// Recording stand-ins for the window, and board helpers shared by the engine tests.
#pragma once

#include "files/puzzle_line.h"
#include "host/host.h"
#include "model/board.h"
#include "model/candidates.h"
#include "model/colour.h"
#include "model/geometry.h"
#include "model/square.h"
#include "recording_prompter.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace kavrin::test {

// Squares as the grading code counts them, from 0: r and c from 1 as players say them.
constexpr int sq(int r, int c)
{
    return squareAt(r - 1, c - 1);
}

// "147" as a DigitMask.
inline DigitMask maskOf(std::string_view digits)
{
    DigitMask mask = 0;
    for (const char d : digits)
        mask |= static_cast<DigitMask>(1u << (d - '0'));
    return mask;
}

class RecordingWait final : public WaitWindow {
public:
    void ShowWait(bool showHint) override { shown.push_back(showHint); ++open; }
    void unloadWait() override { --open; }
    std::vector<bool> shown;
    int open = 0;
};

// Presses Esc after a given number of event passes (never when negative).
class ScriptedEvents final : public EventPump {
public:
    explicit ScriptedEvents(long long escAfter = -1) : escAfter_(escAfter) {}
    bool processEventsOnce() override { return --escAfter_ == 0; }

private:
    long long escAfter_;
};

// Every SetSquare call as the window would see it: square, digit, Fixed and background.
class StepLog final : public SquareObserver {
public:
    explicit StepLog(const Board& board) : board_(board) {}
    void squareChanged(int index) override
    {
        steps.push_back({index, board_[index].Digit, board_[index].Fixed, board_.background(index)});
    }
    struct Step {
        int square, digit;
        bool fixed;
        Colour background;
        bool operator==(const Step&) const = default;
    };
    std::vector<Step> steps;

private:
    const Board& board_;
};

// A search host that records what it is told and presses Esc like ScriptedEvents.
struct FakeHost {
    explicit FakeHost(long long escAfter = -1) : events(escAfter) {}
    RecordingPrompter prompter;
    RecordingWait wait;
    ScriptedEvents events;
    SearchHost host{prompter, wait, events};
};

inline Board boardFromLine(std::string_view line)
{
    auto parsed = parsePuzzleLine(line);
    if (!std::holds_alternative<Board>(parsed))
        qFatal("bad test puzzle line");
    return std::get<Board>(std::move(parsed));
}

// The line with the given squares (from 1) set to the given characters.
inline std::string lineWith(std::string line, std::initializer_list<std::pair<int, char>> squares)
{
    for (const auto& [square, digit] : squares)
        line[std::size_t(square - 1)] = digit;
    return line;
}

inline std::string digitsOf(const Grid& grid)
{
    std::string digits;
    for (const std::uint8_t d : grid)
        digits += static_cast<char>('0' + d);
    return digits;
}

inline std::string digitsOf(const Board& board) { return digitsOf(board.digits()); }

// A full valid grid, shifted rows.
inline const std::string kFull =
    "123456789456789123789123456214365897365897214897214365531642978642978531978531642";

// The rows of a table in tests/data, split at ':'; blank lines and # comments skipped.
inline std::vector<QStringList> dataRows(const char* name)
{
    QFile file(QStringLiteral(KAVRIN_TEST_DATA "/") + QLatin1StringView(name));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", name);
    std::vector<QStringList> rows;
    while (!file.atEnd())
        if (const QString line = QString::fromUtf8(file.readLine()).trimmed(); !line.isEmpty() && !line.startsWith('#'))
            rows.push_back(line.split(':'));
    return rows;
}

struct PuzzleCase {
    std::string name;
    std::string puzzle;
    int solutions; // 0, 1, or 2 for two or more
    std::string firstSolution;
};

// The shared table in tests/data/puzzles.txt: name:puzzle:solution-count:first solution.
inline std::vector<PuzzleCase> puzzleTable()
{
    std::vector<PuzzleCase> cases;
    for (const QStringList& f : dataRows("puzzles.txt"))
        cases.push_back({f[0].toStdString(), f[1].toStdString(), f[2].toInt(), f[3].toStdString()});
    return cases;
}

} // namespace kavrin::test
