// Asking the player for a puzzle file to open or a name to save under.
#pragma once

#include <QPointer>
#include <QString>

#include <optional>

class QWidget;

namespace kavrin {

// One entry, as the dialogs want it: the text before "|*.kvr" of "KVR Files (*.kvr)|*.kvr".
inline constexpr auto kPuzzleNameFilter = "KVR Files (*.kvr)";
inline constexpr auto kPuzzleSuffix = "kvr";

class PuzzleDialogs {
public:
    virtual ~PuzzleDialogs() = default;
    // An existing file, or nothing after Cancel.
    virtual std::optional<QString> openPuzzlePath() = 0;
    // A name to write (overwriting confirmed, ".kvr" added when typed without a suffix), or
    // nothing after Cancel.
    virtual std::optional<QString> savePuzzlePath() = 0;
};

// The platform's file dialogs. Both start in the executable's folder and offer the name
// chosen last in either of them.
class PuzzleFileDialogs final : public PuzzleDialogs {
public:
    explicit PuzzleFileDialogs(QWidget* parent);
    std::optional<QString> openPuzzlePath() override;
    std::optional<QString> savePuzzlePath() override;

private:
    std::optional<QString> choose(bool saving);

    QPointer<QWidget> parent_;
    QString lastChosen_;
};

} // namespace kavrin
