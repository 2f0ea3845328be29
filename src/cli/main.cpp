// kvr: the command-line companion of the game. Reads and writes .kvr files and 81-character
// puzzle lines, and solves, counts, rates, checks, generates, shows and converts them with the
// game's engine. This file reads the command line; the commands are in their own files.
#include "commands.h"
#include "generation/graded_generator.h"
#include "grading/rating.h"
#include "messages.h"
#include "output.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <iostream>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace {

using namespace kavrin::cli;

constexpr std::string_view kPuzzleHelp = R"(A PUZZLE is an 81-character line ('1'..'9' given digits, '.' or '0' empty squares), a .kvr file,
a text file whose first line that is not blank is a puzzle, or '-' for standard input. solve,
count and rate read every line of standard input when PUZZLE is '-' or left out.)";

constexpr std::string_view kExitHelp = R"(Exit status: 0 success; 1 a puzzle left unsolved or not unique; 2 bad usage, or input that cannot
be read or is not a puzzle; 3 output that could not be written.)";

// The closing part of a help text: what the command adds, then what every command shares.
std::string footer(std::string_view own, bool readsPuzzles = true)
{
    std::string text;
    for (const std::string_view part : {own, readsPuzzles ? kPuzzleHelp : "", kExitHelp})
        if (!part.empty())
            text += std::string(part) + "\n\n";
    text.pop_back();
    return text;
}

// A whole number of at least `least`, with a message that says so.
CLI::Validator atLeast(long long least)
{
    return {[least](const std::string& text) {
                std::size_t used = 0;
                long long value = 0;
                try {
                    value = std::stoll(text, &used);
                } catch (const std::exception&) {
                    used = 0;
                }
                return !text.empty() && used == text.size() && value >= least ? std::string()
                                                                              : notAWholeNumber(least, text);
            },
            "NUMBER"};
}

// Why a seed cannot be read, or nothing: seeds are decimal over the whole unsigned 64-bit range,
// leading zeros and all ("08" is 8).
std::string readSeed(const std::string& text, std::uint64_t& seed)
{
    const char* const last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, seed);
    if (text.empty())
        return emptyValue();
    if (end != last)
        return notAWholeNumber(0, text);
    return error == std::errc() ? std::string()
                                : aboveLargest(std::to_string(std::numeric_limits<std::uint64_t>::max()), text);
}

CLI::Validator seedNumber()
{
    return {[](const std::string& text) {
                std::uint64_t seed = 0;
                return readSeed(text, seed);
            },
            "NUMBER"};
}

CLI::Validator notEmpty()
{
    return {[](const std::string& text) { return text.empty() ? emptyValue() : std::string(); }, ""};
}

void addPuzzle(CLI::App& command, std::string& puzzle)
{
    command.add_option("PUZZLE", puzzle, "the puzzle, or '-' for standard input")->required();
}

// The puzzle, or every line of standard input, and the threads for those.
void addPuzzles(CLI::App& command, PuzzleOptions& options)
{
    command.add_option("PUZZLE", options.puzzle, "the puzzle, or '-' (the default) for every line of standard input");
    command.add_option("-j,--jobs", options.jobs, "threads for the lines of standard input, at most one per core; 0 for one per core")
        ->check(atLeast(0))
        ->default_val(1);
}

constexpr kavrin::Grade kGeneratedGrades[] = {kavrin::Grade::Easy, kavrin::Grade::Medium, kavrin::Grade::Hard,
                                              kavrin::Grade::Expert, kavrin::Grade::Extreme};

kavrin::Grade gradeNamed(const std::string& name)
{
    for (const kavrin::Grade grade : kGeneratedGrades)
        if (kavrin::gradeName(grade) == name)
            return grade;
    return kavrin::Grade::Extreme;
}

// "A-B": two ratings, the first no higher than the second.
std::optional<std::pair<double, double>> ratingRange(const std::string& text)
{
    const auto dash = text.find('-');
    if (dash == std::string::npos)
        return std::nullopt;
    const auto number = [](std::string_view part) -> std::optional<double> {
        double value = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (error != std::errc() || end != part.data() + part.size() || part.empty() || value < 0)
            return std::nullopt;
        return value;
    };
    const auto low = number(std::string_view(text).substr(0, dash));
    const auto high = number(std::string_view(text).substr(dash + 1));
    if (!low || !high || *low > *high)
        return std::nullopt;
    return std::pair{*low, *high};
}

kavrin::Symmetry symmetryNamed(const std::string& name)
{
    return name == "rotational" ? kavrin::Symmetry::Rotational
           : name == "mirror"   ? kavrin::Symmetry::Mirror
                                : kavrin::Symmetry::None;
}

// Help and the version go to standard output, checked like any other output.
ExitStatus print(const std::string& text)
{
    Output output = Output::standardOutput();
    output.write(text);
    output.finish();
    return kSuccess;
}

// The commands; run() gives the one named on the command line its options, reads the arguments
// into them and runs it. The others are named for the help alone, so that a run sets up no more
// than it reads.
class CommandLine {
public:
    CommandLine();
    ExitStatus run(int argc, char** argv);

private:
    struct Command {
        const char* name;
        const char* summary;
        void (CommandLine::*describe)(CLI::App& command);
        ExitStatus (CommandLine::*start)();
    };
    static const Command kCommands[];

    void describeShow(CLI::App& command) { addPuzzle(command, puzzle_); }
    void describeCheck(CLI::App& command) { addPuzzle(command, puzzle_); }
    void describeSolve(CLI::App& command);
    void describeCount(CLI::App& command);
    void describeRate(CLI::App& command);
    void describeGenerate(CLI::App& command);
    void describeConvert(CLI::App& command);

    ExitStatus startShow() { return runShow(puzzle_); }
    ExitStatus startCheck() { return runCheck(puzzle_); }
    ExitStatus startSolve() { return runSolve(solveOptions_); }
    ExitStatus startCount() { return runCount(countOptions_); }
    ExitStatus startRate() { return runRate(rateOptions_); }
    ExitStatus startGenerate() { return runGenerate(generateOptions_); }
    ExitStatus startConvert() { return runConvert(convertOptions_); }

    CLI::App app_{"kvr: solve, count, rate, check, generate, show and convert 9x9 number puzzles.", "kvr"};
    std::string puzzle_;
    PuzzleOptions solveOptions_;
    CountOptions countOptions_;
    RateOptions rateOptions_;
    GenerateOptions generateOptions_;
    ConvertOptions convertOptions_;
};

const CommandLine::Command CommandLine::kCommands[] = {
    {"show", "print the grid; a digit placed by a solver is marked with '*'", &CommandLine::describeShow,
     &CommandLine::startShow},
    {"check", "print the Check report; exit 0 when the puzzle is solved", &CommandLine::describeCheck,
     &CommandLine::startCheck},
    {"solve", "print each puzzle solved, or as far as it goes", &CommandLine::describeSolve, &CommandLine::startSolve},
    {"count", "count the solutions of each puzzle, up to a limit", &CommandLine::describeCount,
     &CommandLine::startCount},
    {"rate", "grade each puzzle by the techniques a player needs", &CommandLine::describeRate, &CommandLine::startRate},
    {"generate", "print new puzzles, one line each", &CommandLine::describeGenerate, &CommandLine::startGenerate},
    {"convert", "convert between a .kvr file and a puzzle-line file", &CommandLine::describeConvert,
     &CommandLine::startConvert},
};

CommandLine::CommandLine()
{
    app_.footer(footer(""));
    app_.set_version_flag("--version", std::string("kvr ") + KAVRIN_VERSION);
    app_.require_subcommand(1);
    for (const Command& command : kCommands)
        app_.add_subcommand(command.name, command.summary);
}

void CommandLine::describeSolve(CLI::App& command)
{
    command.footer(footer(R"(Each puzzle gives one 81-character line: its first solution in index order (the smallest as an
81-digit number). A puzzle without one is left as the simple logic leaves it, and standard error
says why.)"));
    addPuzzles(command, solveOptions_);
}

void CommandLine::describeCount(CLI::App& command)
{
    command.footer(footer(R"(Each puzzle gives one line PUZZLE:COUNT:SOLUTION: the puzzle with '.' for empty squares, the
number of solutions (written N+ when it reaches the limit), and the first solution in index order
(nothing when there is none). Exit 0 when every puzzle has exactly one solution.)"));
    addPuzzles(command, countOptions_);
    command.add_option("--limit", countOptions_.limit, "stop counting here; 2 answers whether a puzzle is unique")
        ->check(atLeast(1))
        ->default_val(2);
}

void CommandLine::describeRate(CLI::App& command)
{
    command.footer(footer(R"(Each puzzle gives one line PUZZLE:GRADE:STEPS:RATING. The puzzle is solved as a player would,
with techniques tried easiest first and from the first again after every step; the grade is the
hardest kind it needs:
  easy      hidden and naked singles
  medium    pointing, claiming, naked and hidden pairs
  hard      naked and hidden triples, x-wing, xy-wing, xyz-wing, naked and hidden quads,
            swordfish, jellyfish
  expert    patterns and chains: unique rectangles (types 1, 2, 4), the bivalue universal
            grave, aligned pair exclusion, turbot fish, X- and XY-chains, ALS-XZ and more
  extreme   forcing chains and nets
  beyond    none of them finishes it; --explain shows where they stop
or no-solution, or many-solutions. STEPS names the hardest technique used, a slash, then each
technique used with how often, in ladder order: pointing/hidden-single=40,pointing=2. RATING is
the difficulty of the hardest step, one decimal, on the puzzle community's usual scale: 1.0 the
last square of a house, 1.2 and 1.5 hidden singles in a block and in a line, 2.3 a naked single,
2.6 pointing, 2.8 claiming, 3.0 to 5.4 pairs, triples, quads and fish, 4.2 and 4.4 the wings,
4.5 and 4.6 unique rectangles, 5.4 to 5.8 turbot fish and X-chains, 5.6 the bivalue universal
grave, 6.2 aligned pair exclusion, 6.6 W-wing, 6.6 to 7.0 XY-chains, 6.8 ALS-XZ, 7.0 to 7.5
alternating chains (longer chains higher), 7.9 and up forcing chains, 8.8 and up dynamic chains,
nets and nested ones; empty when the puzzle is not finished. Squares are named r1c7 (row 1, column 7); rows and
columns run 1-9 from the top left, and blocks 1-9 left to right, top to bottom. Exit 0 when every
puzzle has a grade, 1 when one has no solution or more than one.)"));
    addPuzzles(command, rateOptions_);
    auto* explain = command.add_flag("--explain", rateOptions_.explain,
                                     "print the steps of each puzzle in words, then its grade and rating");
    command
        .add_flag("--json", rateOptions_.json,
                  "with --explain, one JSON object a step: {\"technique\", \"rating\", \"place\": [[row, column, "
                  "digit], ...], \"remove\", \"text\"}, then {\"puzzle\", \"grade\", \"rating\"}")
        ->needs(explain);
}

void CommandLine::describeGenerate(CLI::App& command)
{
    command.footer(footer(R"(Without --difficulty the puzzles are made as the game's Generate command makes them, and -o
writes the full grid with the flags that tell the puzzle's digits from the solver's. With it,
every puzzle has exactly one solution, no given (with --symmetry no pair of givens) can go
without losing that, kvr rate gives it the grade asked for, and -o writes its givens alone.
The number of failed attempts before each puzzle goes to standard error.)", false));
    command.add_option("-n", generateOptions_.count, "how many puzzles")->check(atLeast(1))->default_val(1);
    command
        .add_option_function<std::string>(
            "--seed", [this](const std::string& text) { readSeed(text, generateOptions_.seed.emplace()); },
            "the seed of the random digits, for the same puzzles again")
        ->check(seedNumber())
        ->type_name("UINT");
    command.add_flag("--solution", generateOptions_.solution, "print the full grids instead");
    command.add_option("-o", generateOptions_.output, "also write the one grid to a .kvr file")
        ->check(notEmpty())
        ->type_name("FILE.kvr");
    auto* difficulty = command.add_option_function<std::string>(
        "--difficulty", [this](const std::string& name) { generateOptions_.wanted.grade = gradeNamed(name); },
        "make unique, minimal puzzles of this grade instead, as kvr rate grades them");
    difficulty->check(CLI::IsMember({"easy", "medium", "hard", "expert", "extreme"}))->type_name("GRADE");
    auto* rating = command.add_option_function<std::string>(
        "--rating",
        [this](const std::string& text) {
            const auto range = ratingRange(text);
            generateOptions_.wanted.lowestRating = range->first;
            generateOptions_.wanted.highestRating = range->second;
        },
        "make unique, minimal puzzles whose RATING, as kvr rate gives it, lies from A to B, such as 7.0-8.5");
    rating
        ->check(CLI::Validator(
            [](const std::string& text) {
                return ratingRange(text) ? std::string() : "needs two ratings A-B with A at most B, not '" + text + "'";
            },
            "A-B"))
        ->type_name("A-B");
    command
        .add_option_function<std::string>(
            "--symmetry", [this](const std::string& name) { generateOptions_.symmetry = symmetryNamed(name); },
            "givens in pairs turned half round the centre, or mirrored across the middle column")
        ->check(CLI::IsMember({"none", "rotational", "mirror"}))
        ->type_name("none|rotational|mirror")
        ->needs(difficulty);
}

void CommandLine::describeConvert(CLI::App& command)
{
    command.footer(footer(R"(OUT is written as a .kvr file when its name ends in .kvr (in any case), else as a puzzle line. A
puzzle line holds givens only: digits placed by a solver are left out, and standard error says how
many, unless --all keeps them.)"));
    command.add_option("IN", convertOptions_.in, "the puzzle")->required();
    command.add_option("OUT", convertOptions_.out, "the file to write: .kvr, or anything else for a puzzle line")
        ->check(notEmpty())
        ->required();
    command.add_flag("--all", convertOptions_.all, "keep the digits placed by a solver in a puzzle line");
}

ExitStatus CommandLine::run(int argc, char** argv)
{
    const Command* named = nullptr;
    for (const Command& command : kCommands)
        if (argc > 1 && std::string_view(argv[1]) == command.name)
            named = &command;
    // A word where the command belongs is named as what it is, not as an argument nobody expected.
    if (!named && argc > 1 && argv[1][0] != '-')
        throw Error{ErrorKind::Usage, {}, unknownCommand(argv[1])};
    if (named)
        (this->*named->describe)(*app_.get_subcommand(named->name));
    try {
        app_.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return print(named ? app_.get_subcommand(named->name)->help("kvr") : app_.help());
    } catch (const CLI::CallForVersion& version) {
        return print(std::string(version.what()) + "\n");
    } catch (const CLI::ParseError& error) {
        throw Error{ErrorKind::Usage, {}, error.what(), named ? named->name : ""};
    }
    return (this->*named->start)();
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return CommandLine().run(argc, argv);
    } catch (const Error& error) {
        std::cerr << describe(error);
        return exitStatus(error.kind);
    } catch (const std::exception& failure) {
        // Out of memory or threads, say: reported like any failure, never an abort.
        std::cerr << notice({}, failure.what());
        return kBadInput;
    }
}
