// kvr's commands, each as its options and the function that runs it; main.cpp reads the options.
#pragma once

#include "generation/graded_generator.h"
#include "messages.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kavrin::cli {

// A puzzle argument; "-" reads standard input (every line, for the commands that take many).
struct PuzzleOptions {
    std::string puzzle = "-";
    unsigned jobs = 1; // threads for the lines of standard input; 0 = one per core
};

struct CountOptions : PuzzleOptions {
    long long limit = 2;
};

struct RateOptions : PuzzleOptions {
    bool explain = false; // the steps of each puzzle in words
    bool json = false;    // those steps as JSON Lines
};

struct GenerateOptions {
    long long count = 1;
    std::optional<std::uint64_t> seed;
    bool solution = false;
    std::string output; // a .kvr file for the one grid; empty for none
    Wanted wanted; // unique, minimal puzzles of this grade or rating instead, when it asks for either

    bool graded() const { return wanted.grade || wanted.lowestRating; }
    Symmetry symmetry = Symmetry::None;
};

struct ConvertOptions {
    std::string in;
    std::string out;
    bool all = false; // keep the solver's digits in a puzzle line
};

ExitStatus runShow(const std::string& puzzle);
ExitStatus runCheck(const std::string& puzzle);
ExitStatus runSolve(const PuzzleOptions& options);
ExitStatus runCount(const CountOptions& options);
ExitStatus runRate(const RateOptions& options);
ExitStatus runGenerate(const GenerateOptions& options);
ExitStatus runConvert(const ConvertOptions& options);

} // namespace kavrin::cli
