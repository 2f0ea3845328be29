// A host that shows nothing, for batch work and benchmarks: questions are answered Yes, the
// wait window and the event pass do nothing, and the last message's text is kept.
#pragma once

#include "host/host.h"

#include <string>

namespace kavrin {

class SilentHost final : public Prompter, public WaitWindow, public EventPump {
public:
    Answer ask(const Message& message) override
    {
        lastText = message.text;
        return message.buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    void ShowWait(bool) override {}
    void unloadWait() override {}
    bool processEventsOnce() override { return false; }
    SearchHost searchHost() { return {*this, *this, *this}; }

    std::string lastText;
};

} // namespace kavrin
