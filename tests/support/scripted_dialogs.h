// File dialogs that answer with the path a test chose, for tests without a screen.
#pragma once

#include "puzzle_dialogs.h"

#include <optional>

namespace kavrin::test {

// Answers each dialog with what the test put there; nothing stands for Cancel.
class ScriptedDialogs final : public PuzzleDialogs {
public:
    std::optional<QString> openPuzzlePath() override { ++opened; return openAnswer; }
    std::optional<QString> savePuzzlePath() override { ++saved; return saveAnswer; }
    std::optional<QString> openAnswer;
    std::optional<QString> saveAnswer;
    int opened = 0;
    int saved = 0;
};

} // namespace kavrin::test
