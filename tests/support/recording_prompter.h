// A prompter that records every message and gives scripted answers, for tests without a screen.
#pragma once

#include "host/host.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace kavrin::test {

// With no answer scripted, an Ok box is acknowledged and a question answered No.
class RecordingPrompter final : public Prompter {
public:
    Answer ask(const Message& message) override
    {
        messages.push_back(message);
        if (answers.empty())
            return message.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QStringList texts() const
    {
        QStringList all;
        for (const Message& message : messages)
            all << QString::fromStdString(message.text);
        return all;
    }
    std::vector<Message> messages;
    std::deque<Answer> answers;
};

} // namespace kavrin::test
