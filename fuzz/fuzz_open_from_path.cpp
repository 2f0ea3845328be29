// Fuzz target: the window's open-by-path command with a real recent menu, a recording prompter
// and a loader that decodes the fuzzed bytes instead of the file.
#include "file_commands.h"
#include "files/load_save.h"
#include "files/recent_list.h"
#include "fuzz_expect.h"
#include "recent_menu.h"
#include "recording_prompter.h"
#include "test_files.h"

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

namespace {

using kavrin::fuzz::expect;

// The application and a folder the relative paths are taken in, with a puzzle, an empty file
// and a subfolder to find. Made once: none of it grows from run to run.
struct Setting {
    std::unique_ptr<QApplication> application;
    std::unique_ptr<QTemporaryDir> folder;
    QString listFile;
};

Setting& setting()
{
    static Setting made = [] {
        Setting s;
        static int argc = 1;
        static char name[] = "fuzz_open_from_path";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        s.application = std::make_unique<QApplication>(argc, argv);
        s.folder = std::make_unique<QTemporaryDir>();
        const QDir dir(s.folder->path());
        expect(kavrin::test::writeFile(dir.filePath(QStringLiteral("puzzle.kvr")), QByteArray(243, '\0')), "the puzzle is written");
        expect(kavrin::test::writeFile(dir.filePath(QStringLiteral("empty.kvr")), {}), "the empty file is written");
        expect(dir.mkpath(QStringLiteral("folder")), "the subfolder is made");
        s.listFile = dir.filePath(QStringLiteral("Recent Files.txt"));
        return s;
    }();
    return made;
}

// The folder is current only during a run: libFuzzer reads its corpus by relative paths too.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& path) : previous_(QDir::currentPath())
    {
        expect(QDir::setCurrent(path), "the scratch folder can be made current");
    }
    ~CurrentFolder() { QDir::setCurrent(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    QString previous_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Setting& s = setting();
    const CurrentFolder current(s.folder->path());
    // The path up to the first NUL; what the loader reads after it.
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = input.indexOf('\0');
    const QString path = QString::fromUtf8(split < 0 ? input : input.left(split));
    const QByteArray content = split < 0 ? QByteArray() : input.mid(split + 1);

    QFile::remove(s.listFile); // every run starts from an empty list
    QWidget owner;
    QMenu menu;
    kavrin::clsRecentMenu recent;
    recent.Initialize(&owner, &menu, s.listFile, nullptr, 500, 9);
    kavrin::test::RecordingPrompter prompter;
    kavrin::Board board;
    std::vector<QString> loaded;
    const kavrin::PuzzleLoader load = [&](const QString& at) -> kavrin::FileError {
        loaded.push_back(at);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(content.constData());
        const auto records = kavrin::decodePuzzle(std::span(bytes, static_cast<std::size_t>(content.size())));
        if (!records)
            return QStringLiteral("too short");
        applyPuzzle(board, *records);
        return {};
    };

    const bool opened = kavrin::OpenFromPath(path, recent, load, prompter);

    QString unquoted = path;
    unquoted.remove(u'"');
    // Named from the current folder, a file the system finds there is loaded and listed by its
    // absolute, clean path.
    const QString given = unquoted.isEmpty() ? unquoted : QDir::current().absoluteFilePath(unquoted);
    const bool present = kavrin::FileExisits(given) != 0;
    const QString cleaned = QFileInfo(given).absoluteFilePath();
    expect(loaded.size() == (present ? 1u : 0u), "a present file is loaded once, a missing one never");
    expect(loaded.empty() || loaded.front() == cleaned, "the loader gets the path without its quotes, absolute and clean");
    expect(opened == (present && content.size() >= 243), "the open counts exactly when the load succeeds");

    const QStringList listed = kavrin::RecentList(s.listFile).read().paths;
    if (!opened) {
        expect(listed.isEmpty() && !QFile::exists(s.listFile), "a failed open leaves the list alone");
        expect(prompter.messages.empty(), "a failed open by path says nothing");
        return 0;
    }
    if (kavrin::isListablePath(cleaned)) {
        expect(listed == QStringList{cleaned}, "an opened file heads the list");
        expect(prompter.messages.empty(), "a listed open says nothing");
        expect(menu.actions().size() == 1 && menu.actions().front()->isVisible(), "the menu shows the one item");
    } else {
        expect(listed.isEmpty(), "a path the list cannot hold is not written");
        expect(prompter.messages.size() == 1, "a path the list cannot hold is reported once");
    }
    return 0;
}
