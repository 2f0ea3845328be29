// Recording stand-ins for the window, and board helpers shared by the engine tests.
#pragma once

#include "files/puzzle_line.h"
#include "host/host.h"
#include "recording_prompter.h"
#include "model/candidates.h"

#include <QFile>
#include <QString>
#include <QTest>

#include <string>
#include <utility>
#include <vector>

namespace kavrin::test {

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

struct OracleSolutions {
    long long count = 0;
    std::string first; // "" when there is none
};

// A plain backtracker over a line of digits ('0' empty), in index order with digits ascending:
// the solutions up to the limit, and the first one it meets. Repeated givens have none.
inline OracleSolutions oracleSolutions(std::string digits, long long limit)
{
    auto fits = [&](int i, char d) {
        const int r = i / 9, c = i % 9;
        for (int k = 0; k < 9; ++k) {
            const int br = r / 3 * 3 + k / 3, bc = c / 3 * 3 + k % 3;
            if (digits[r * 9 + k] == d || digits[k * 9 + c] == d || digits[br * 9 + bc] == d)
                return false;
        }
        return true;
    };
    OracleSolutions found;
    for (int i = 0; i < 81; ++i) {
        const char given = std::exchange(digits[i], '0');
        if (given != '0' && !fits(i, given))
            return found; // givens that repeat a digit
        digits[i] = given;
    }
    auto solve = [&](auto& self) -> void {
        const auto i = digits.find('0');
        if (i == std::string::npos) {
            if (found.count++ == 0)
                found.first = digits;
            return;
        }
        for (char d = '1'; d <= '9' && found.count < limit; ++d)
            if (fits(static_cast<int>(i), d)) {
                digits[i] = d;
                self(self);
                digits[i] = '0';
            }
    };
    solve(solve);
    return found;
}

} // namespace kavrin::test
