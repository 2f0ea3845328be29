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
    bool processEventsOnce() override { return ++passes == escAfter_; }
    long long passes = 0;

private:
    long long escAfter_;
};

class CountingObserver final : public SquareObserver {
public:
    void squareChanged(int index) override { changed.push_back(index); }
    std::vector<int> changed;
};

inline Board boardFromLine(std::string_view line)
{
    auto parsed = parsePuzzleLine(line);
    if (!std::holds_alternative<Board>(parsed))
        qFatal("bad test puzzle line");
    return std::get<Board>(std::move(parsed));
}

inline std::string digitsOf(const Grid& grid)
{
    std::string digits;
    for (const std::uint8_t d : grid)
        digits += static_cast<char>('0' + d);
    return digits;
}

inline std::string digitsOf(const Board& board)
{
    return digitsOf(board.digits());
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
    QFile file(QStringLiteral(KAVRIN_TEST_DATA "/puzzles.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read puzzles.txt");
    std::vector<PuzzleCase> cases;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList f = line.split(':');
        cases.push_back({f[0].toStdString(), f[1].toStdString(), f[2].toInt(), f[3].toStdString()});
    }
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
