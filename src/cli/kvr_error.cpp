// Errors into words and exit statuses.
#include "kvr_error.h"

#include <cstring>

namespace kavrin::cli {

std::string systemReason(int errnum)
{
    return std::strerror(errnum);
}

std::string describe(const Error& error)
{
    std::string text = "kvr: ";
    if (!error.subject.empty())
        text += error.subject + ": ";
    text += error.reason + "\n";
    if (error.kind == ErrorKind::Usage)
        text += "Try 'kvr " + (error.command.empty() ? "" : error.command + " ") + "--help'.\n";
    return text;
}

ExitStatus exitStatus(ErrorKind kind)
{
    return kind == ErrorKind::Output ? kOutputFailed : kBadInput;
}

} // namespace kavrin::cli
