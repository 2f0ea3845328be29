// The open and save dialogs for puzzle files.
#include "puzzle_dialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QList>
#include <QWidget>

namespace kavrin {

PuzzleFileDialogs::PuzzleFileDialogs(QWidget* parent) : parent_(parent) {}

std::optional<QString> PuzzleFileDialogs::openPuzzlePath()
{
    return choose(false);
}

std::optional<QString> PuzzleFileDialogs::savePuzzlePath()
{
    return choose(true);
}

std::optional<QString> PuzzleFileDialogs::choose(bool saving)
{
    QFileDialog dialog(parent_);
    dialog.setDirectory(QCoreApplication::applicationDirPath());
    dialog.setNameFilter(QString::fromLatin1(kPuzzleNameFilter));
    if (saving) {
        dialog.setAcceptMode(QFileDialog::AcceptSave); // asks before replacing a file
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QString::fromLatin1(kPuzzleSuffix));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!lastChosen_.isEmpty())
        dialog.selectFile(lastChosen_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastChosen_ = dialog.selectedFiles().constFirst();
    return lastChosen_;
}

} // namespace kavrin
