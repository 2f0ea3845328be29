// Puzzle lines from a reader, worked on by several threads, their results written in input order.
#pragma once

#include "messages.h"
#include "line_reader.h"
#include "output.h"

#include <functional>
#include <string>
#include <string_view>

namespace kavrin::cli {

// What one line gives: text for the output, and why it failed (empty when it did not).
struct LineResult {
    std::string out;
    std::string failure;
    ExitStatus status = kSuccess;
};

// Called for every line that is not blank, with the line as read; must not touch shared state.
using LineWork = std::function<LineResult(std::string_view line)>;

// Runs the work on every line, on `jobs` threads (0 = one per core), and writes the results in
// input order whatever the number of threads: the out text to the output, failures to standard
// error as "kvr: line N: FAILURE". Returns the worst status.
ExitStatus runBatch(LineReader& reader, Output& output, unsigned jobs, const LineWork& work);

} // namespace kavrin::cli
