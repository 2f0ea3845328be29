// kvr: the command-line companion. Reads and writes .kvr files and 81-character puzzle lines,
// and solves, checks, generates and shows them with the game's own engine.
#include "checking/check_command.h"
#include "checking/completion.h"
#include "files/load_save.h"
#include "files/puzzle_line.h"
#include "generation/generator.h"
#include "model/game_commands.h"
#include "solving/logic_solver.h"
#include "solving/search.h"

#include <QFile>

#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace kavrin;

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

constexpr const char* kUsage = R"(Usage: kvr COMMAND [ARGUMENTS]

A puzzle is a .kvr file, a text file whose first line is a puzzle, or an 81-character line
in which '1'..'9' are given digits and '.' or '0' empty squares.

Commands:
  show PUZZLE            print the grid; digits placed by a solver are marked with '*'
  check PUZZLE           print the Check report; exit 0 when the puzzle is solved, 1 otherwise
  solve [PUZZLE|-]       solve by logic, then by search; print the 81-character result.
                         With '-' or nothing, solve every line read from standard input
  generate [-n N] [--seed S] [--solution] [-o FILE.kvr]
                         print N new puzzles (default 1) as lines, or the full grids with
                         --solution; the number of failed attempts goes to standard error.
                         -o writes the one generated grid, with its flags, to a .kvr file
  convert IN OUT         convert between a .kvr file and a puzzle-line file (by extension)
  --help                 show this text

Exit status: 0 success, 1 unsolved or not solved, 2 bad usage or unreadable input.
)";

struct UsageError {
    std::string message;
};

// Silent stand-ins for the window: the search runs without prompts or events.
class SilentHost final : public Prompter, public WaitWindow, public EventPump {
public:
    Answer ask(const Message& message) override
    {
        last = message.text;
        return Answer::Yes;
    }
    void ShowWait(bool) override {}
    void unloadWait() override {}
    bool processEventsOnce() override { return false; }
    std::string last;
};

bool endsWithKvr(const std::string& path)
{
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".kvr") == 0;
}

std::optional<std::string> firstLineOf(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    while (!file.atEnd()) {
        const std::string line = file.readLine().trimmed().toStdString();
        if (!line.empty())
            return line;
    }
    return std::string();
}

void putOnBoard(Board& board, const std::variant<PuzzleRecords, std::string>& parsed,
                const std::string& source)
{
    if (const auto* error = std::get_if<std::string>(&parsed))
        throw UsageError{source + ": " + *error};
    applyPuzzle(board, std::get<PuzzleRecords>(parsed));
}

// A puzzle argument: a line if it looks like one, else a file.
Board readPuzzle(const std::string& argument)
{
    Board board;
    if (argument.size() == kSquareCount && !QFile::exists(QString::fromStdString(argument))) {
        putOnBoard(board, parsePuzzleLine(argument), "puzzle line");
    } else if (endsWithKvr(argument)) {
        const FileError error = LoadPuzzle(board, QString::fromStdString(argument));
        if (!error.isEmpty())
            throw UsageError{error.toStdString()};
    } else {
        const auto line = firstLineOf(argument);
        if (!line)
            throw UsageError{"cannot read " + argument};
        putOnBoard(board, parsePuzzleLine(*line), argument);
    }
    return board;
}

std::string terminalText(const std::string& text)
{
    std::string out;
    for (const char c : text)
        if (c != '\r')
            out += c;
    return out;
}

void printGrid(const Board& board)
{
    const std::string rule = "+-------+-------+-------+\n";
    for (int r = 1; r <= 9; ++r) {
        if (r % 3 == 1)
            std::cout << rule;
        for (int c = 1; c <= 9; ++c) {
            const SquareInfo& square = board[SquareIndex(r, c)];
            if (c % 3 == 1)
                std::cout << "| ";
            std::cout << (square.Digit == 0 ? '.' : static_cast<char>('0' + square.Digit))
                      << (square.Digit != 0 && !square.Fixed ? '*' : ' ');
        }
        std::cout << "|\n";
    }
    std::cout << rule;
}

int show(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        throw UsageError{"show takes one puzzle"};
    printGrid(readPuzzle(args[0]));
    return kOk;
}

int check(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        throw UsageError{"check takes one puzzle"};
    Board board = readPuzzle(args[0]);
    Candidates candidates;
    std::cout << terminalText(CheckDiagramReport(board, candidates)) << '\n';
    return CheckCompletion(board) == 0 ? kOk : kFailed;
}

// Logic first, then the search; returns why it is unsolved, or nothing when solved.
std::optional<std::string> solveBoard(Board& board)
{
    Candidates candidates;
    LogicSolve(board, candidates);
    if (CheckCompletion(board) == 0)
        return std::nullopt;
    SilentHost host;
    SearchHost searchHost{host, host, host};
    const SearchResult result = LastAttempt(board, candidates, searchHost);
    if (result.end == SearchEnd::Solved)
        return std::nullopt;
    return result.end == SearchEnd::Refused ? host.last : std::string("no solution");
}

int solveStream()
{
    int status = kOk;
    std::string line;
    for (int number = 1; std::getline(std::cin, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        Board board;
        try {
            putOnBoard(board, parsePuzzleLine(line), "line " + std::to_string(number));
        } catch (const UsageError& error) {
            std::cerr << "kvr: " << error.message << '\n';
            status = kUsageError;
            continue;
        }
        if (const auto why = solveBoard(board)) {
            std::cerr << "kvr: line " << number << ": " << *why << '\n';
            status = std::max(status, kFailed);
        }
        std::cout << formatPuzzleLine(board) << '\n';
    }
    return status;
}

int solve(const std::vector<std::string>& args)
{
    if (args.size() > 1)
        throw UsageError{"solve takes at most one puzzle"};
    if (args.empty() || args[0] == "-")
        return solveStream();
    Board board = readPuzzle(args[0]);
    const auto why = solveBoard(board);
    std::cout << formatPuzzleLine(board) << '\n';
    if (why)
        std::cerr << "kvr: " << args[0] << ": " << *why << '\n';
    return why ? kFailed : kOk;
}

long long numberArgument(const std::vector<std::string>& args, std::size_t& i, long long least)
{
    if (i + 1 >= args.size())
        throw UsageError{args[i] + " needs a number"};
    const std::string& text = args[++i];
    std::size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || value < least)
        throw UsageError{"bad number for " + args[i - 1] + ": " + text};
    return value;
}

int generate(const std::vector<std::string>& args)
{
    long long count = 1;
    auto seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    bool solution = false;
    std::string output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-n")
            count = numberArgument(args, i, 1);
        else if (args[i] == "--seed")
            seed = static_cast<std::uint64_t>(numberArgument(args, i, 0));
        else if (args[i] == "--solution")
            solution = true;
        else if (args[i] == "-o" && i + 1 < args.size())
            output = args[++i];
        else
            throw UsageError{"unknown option for generate: " + args[i]};
    }
    if (!output.empty() && count != 1)
        throw UsageError{"-o writes one grid; leave out -n or use -n 1"};
    SeededUniform random(seed);
    for (long long n = 0; n < count; ++n) {
        Board board;
        Candidates candidates;
        std::cerr << GeneratePuzzle(board, candidates, random) << " failed attempts\n";
        if (!output.empty()) {
            const FileError error = SavePuzzle(board, QString::fromStdString(output));
            if (!error.isEmpty())
                throw UsageError{error.toStdString()};
        }
        if (!solution)
            ClearBlueNumbers(board);
        std::cout << formatPuzzleLine(board) << '\n';
    }
    return kOk;
}

int convert(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        throw UsageError{"convert takes IN and OUT"};
    const Board board = readPuzzle(args[0]);
    const QString out = QString::fromStdString(args[1]);
    if (endsWithKvr(args[1])) {
        const FileError error = SavePuzzle(board, out);
        if (!error.isEmpty())
            throw UsageError{error.toStdString()};
        return kOk;
    }
    QFile file(out);
    const std::string line = formatPuzzleLine(board) + "\n";
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(line.data(), static_cast<qint64>(line.size())) != static_cast<qint64>(line.size()))
        throw UsageError{"cannot write " + args[1] + ": " + file.errorString().toStdString()};
    return kOk;
}

int run(const std::vector<std::string>& words)
{
    if (words.empty())
        throw UsageError{"no command given"};
    const std::string& command = words[0];
    const std::vector<std::string> args(words.begin() + 1, words.end());
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return kOk;
    }
    if (command == "show")
        return show(args);
    if (command == "check")
        return check(args);
    if (command == "solve")
        return solve(args);
    if (command == "generate")
        return generate(args);
    if (command == "convert")
        return convert(args);
    throw UsageError{"unknown command: " + command};
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::cerr << "kvr: " << error.message << "\nTry 'kvr --help'.\n";
        return kUsageError;
    }
}
