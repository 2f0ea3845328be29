// What can go wrong in kvr, as values with a kind, and the exit status of each kind.
#pragma once

#include <string>

namespace kavrin::cli {

enum ExitStatus : int {
    kSuccess = 0,
    kNotSolved = 1,    // unsolved, not unique, or rated as having no or many solutions
    kBadInput = 2,     // bad usage, or input that cannot be read or is not a puzzle
    kOutputFailed = 3, // output that could not be written
};

enum class ErrorKind {
    Usage,  // the command line itself
    Input,  // a file, a line or standard input that cannot be read or holds no puzzle
    Output, // a file or standard output that cannot be written
};

struct Error {
    ErrorKind kind;
    std::string subject; // the file, "line N" or "standard input"; may be empty
    std::string reason;
    std::string command = {}; // for usage errors, the command whose help to point to
};

// The reason the system gives for an errno value.
std::string systemReason(int errnum);

// "kvr: SUBJECT: REASON", and for usage errors the line that points to the help.
std::string describe(const Error& error);
ExitStatus exitStatus(ErrorKind kind);

} // namespace kavrin::cli
