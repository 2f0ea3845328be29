// What the engine asks of whoever shows it: message boxes, the wait window and the event pass.
#pragma once

#include <string>

namespace kavrin {

enum class Icon { None, Information, Exclamation, Question };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct Message {
    std::string text; // UTF-8; shown under the program title
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    bool operator==(const Message&) const = default;
};

class Prompter {
public:
    virtual Answer ask(const Message& message) = 0;

protected:
    ~Prompter() = default;
};

class WaitWindow {
public:
    // Disables the main window and shows "Please wait..."; with the hint also the Esc line,
    // and the cancel flag is cleared.
    virtual void ShowWait(bool showHint) = 0;
    // Unloads the wait window, which enables the main window again.
    virtual void unloadWait() = 0;

protected:
    ~WaitWindow() = default;
};

class EventPump {
public:
    // Processes pending events once; returns whether Esc has cancelled the search.
    virtual bool processEventsOnce() = 0;

protected:
    ~EventPump() = default;
};

struct SearchHost {
    Prompter& prompter;
    WaitWindow& wait;
    EventPump& events;
};

} // namespace kavrin
