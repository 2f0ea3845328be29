// kvr's texts.
#include "messages.h"

#include "files/puzzle_file.h"
#include "grading/finding.h"
#include "line_reader.h"
#include "model/square.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>

namespace kavrin::cli {

ExitStatus exitStatus(ErrorKind kind)
{
    return kind == ErrorKind::Output ? kOutputFailed : kBadInput;
}

std::string notice(const std::string& subject, const std::string& text)
{
    return "kvr: " + (subject.empty() ? "" : subject + ": ") + text + "\n";
}

namespace {
std::string helpHint(const std::string& command)
{
    return "Try 'kvr " + (command.empty() ? "" : command + " ") + "--help'.\n";
}
} // namespace

std::string describe(const Error& error)
{
    return notice(error.subject, error.reason) + (error.kind == ErrorKind::Usage ? helpHint(error.command) : "");
}

std::string systemReason(int errnum)
{
    return std::strerror(errnum);
}

std::string unknownCommand(const std::string& word)
{
    return "unknown command: " + word;
}

std::string notAWholeNumber(long long least, const std::string& text)
{
    return "needs a whole number of at least " + std::to_string(least) + ", not '" + text + "'";
}

std::string aboveLargest(const std::string& largest, const std::string& text)
{
    return "needs a whole number of at most " + largest + ", not '" + text + "'";
}

std::string emptyValue()
{
    return "needs a value, not an empty one";
}

std::string oneGridOnly()
{
    return "-o writes one grid; leave out -n or use -n 1";
}

std::string lineTooLong()
{
    return "a puzzle line has 81 characters, this one has more than " + std::to_string(kLongestLine);
}

std::string noPuzzleLine()
{
    return "holds no puzzle line";
}

std::string notAPuzzleFile(std::size_t bytes)
{
    return "not a puzzle file: it holds " + std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes") + ", a puzzle needs " +
           std::to_string(kPuzzleFileSize);
}

std::string sameFileAsInput(const std::string& input)
{
    return "is the same file as the input " + input;
}

std::string noSolution()
{
    return "no solution";
}

std::string solverDigitsLeftOut(int count)
{
    return std::to_string(count) + (count == 1 ? " digit" : " digits") +
           " placed by a solver left out; --all keeps them";
}

std::string failedAttempts(int count)
{
    return std::to_string(count) + (count == 1 ? " failed attempt" : " failed attempts");
}

std::string gradeVerdict(const Rating& rating)
{
    const std::string grade = "grade: " + std::string(gradeName(rating.grade));
    std::string line;
    for (const std::uint8_t digit : rating.stoppedAt)
        line += digit == 0 ? '.' : static_cast<char>('0' + digit);
    switch (rating.grade) {
    case Grade::NoSolution:
        return "no solution, so no grade";
    case Grade::ManySolutions:
        return "more than one solution, so no grade";
    case Grade::Beyond:
        return "no technique goes further: it stops with " + std::to_string(std::ranges::count(line, '.')) +
               " squares empty, at " + line + "\n" + grade;
    default:
        return (rating.hardest.empty() ? grade : grade + " (the hardest step: " + std::string(rating.hardest) + ")") +
               "; rating: " + ratingText(rating.rating);
    }
}

} // namespace kavrin::cli
