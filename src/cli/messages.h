// What kvr says: its errors as values, with the exit status of each kind, and every text of its
// own making. The reasons for lines that are not puzzles are the engine's.
#pragma once

#include "grading/rating.h"

#include <cstddef>
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

ExitStatus exitStatus(ErrorKind kind);

// "kvr: SUBJECT: TEXT" and a line end; without a subject "kvr: TEXT".
std::string notice(const std::string& subject, const std::string& text);
// The notice, and for usage errors the line that points to the help.
std::string describe(const Error& error);

// The reason the system gives for an errno value.
std::string systemReason(int errnum);

std::string unknownCommand(const std::string& word);
std::string notAWholeNumber(long long least, const std::string& text);
std::string aboveLargest(const std::string& largest, const std::string& text);
std::string emptyValue();
std::string oneGridOnly();
std::string lineTooLong();
std::string noPuzzleLine();
std::string notAPuzzleFile(std::size_t bytes);
std::string sameFileAsInput(const std::string& input);
std::string noSolution();
std::string solverDigitsLeftOut(int count);
std::string failedAttempts(int count);
// The last line of an explained rating.
std::string gradeVerdict(const Rating& rating);

} // namespace kavrin::cli
