// The messages that are built from parts.
#include "host/messages.h"

#include <initializer_list>

namespace kavrin {

namespace {
std::string joined(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (const std::string_view part : parts)
        text += part;
    return text;
}
} // namespace

Message information(std::string_view text)
{
    return {std::string(text), Icon::Information, Buttons::Ok};
}

Message exclamation(std::string_view text)
{
    return {std::string(text), Icon::Exclamation, Buttons::Ok};
}

Message lastAttemptQuestion()
{
    return {joined({kLastAttemptStatement, kCrLf, kCrLf, kLastAttemptQuestion}), Icon::Question,
            Buttons::YesNo};
}

Message generateResultMessage(int failedAttempts)
{
    if (failedAttempts <= 0)
        return information(kReady);
    return exclamation(std::to_string(failedAttempts) + (failedAttempts == 1 ? " Retry!" : " Retries!"));
}

std::string absentDigitsLine(UnitKind kind, int unit, int absent)
{
    const std::string where = kind == UnitKind::Block ? "square " + std::to_string((unit - 1) / 3 + 1) + "," +
                                                            std::to_string((unit - 1) % 3 + 1)
                              : kind == UnitKind::Row ? "row " + std::to_string(unit)
                                                      : "col " + std::to_string(unit);
    return "Error at " + where + " for " + std::to_string(absent) + " times.";
}

namespace {
// "1 error found in entries!", "2 errors found in entries!".
std::string counted(int n, std::string_view noun, std::string_view tail)
{
    return std::to_string(n) + std::string(noun) + (n == 1 ? "" : "s") + std::string(tail);
}
} // namespace

std::string checkDiagramText(int entries, int logical, int absent, std::string_view completionReport)
{
    const std::string repeats = entries == 0 ? "Entries matched." : counted(entries, " error", " found in entries!");
    const std::string dead = logical == 0 ? "No logical error found." : counted(logical, " logical error", " found!");
    const std::string solved =
        absent == 0 ? std::string(kPuzzleSolved) : joined({"Correct this errors:", kCrLf, completionReport});
    return joined({"1- ", repeats, kCrLf, "2- ", dead, kCrLf, "3- ", solved});
}

std::string cannotSaveText(std::string_view path, std::string_view reason)
{
    return joined({"Cannot save ", path, ": ", reason});
}

Message newGameQuestion()
{
    return {joined({"Manual entries will be lost.", kCrLf, "Are you sure?"}), Icon::Exclamation,
            Buttons::YesNo};
}

Message aboutMessage()
{
    return {joined({"Created by:", kCrLf, "  The first author of Ka\u00A0Vr\u00A0In", kCrLf,
                    "  The second author of Ka\u00A0Vr\u00A0In"}),
            Icon::None, Buttons::Ok};
}

Message recentFileMissingQuestion(std::string_view path)
{
    return {joined({path, " not found!", kCrLf, "Remove it?"}), Icon::Exclamation, Buttons::YesNo};
}

std::string recentListUnreadable(std::string_view listFile, std::string_view reason)
{
    return joined({"Cannot read the recent files list ", listFile, ": ", reason});
}

std::string recentListUnwritable(std::string_view listFile, std::string_view reason)
{
    return joined({"Cannot save the recent files list ", listFile, ": ", reason});
}

std::string notListable(std::string_view path)
{
    return joined({path, " cannot be kept in the recent files list: its name holds a double quote or a line break."});
}

} // namespace kavrin
