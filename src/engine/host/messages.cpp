// The messages that are built from parts.
#include "host/messages.h"

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

} // namespace kavrin
