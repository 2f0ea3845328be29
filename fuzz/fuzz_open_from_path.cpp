// Fuzz target: the window's open-by-path command with a real recent menu, a recording prompter
// and a loader that decodes the fuzzed bytes instead of the file.
#include "file_commands.h"
#include "files/load_save.h"
#include "files/open_path.h"
#include "files/puzzle_file.h"
#include "files/recent_list.h"
#include "fuzz_expect.h"
#include "model/board.h"
#include "model/colour.h"
#include "recent_menu.h"
#include "recording_prompter.h"
#include "test_files.h"

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMenu>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

using namespace kavrin;
using kavrin::fuzz::expect;

namespace {

// The application and a folder the relative paths are taken in, with a puzzle, one with quotes in
// its name, one whose name the recent list cannot hold, an empty file and a subfolder to find. Made once: none of it
// grows from run to run.
struct Setting {
    Setting()
    {
        const QDir dir(folder.path());
        expect(test::writeFile(dir.filePath("puzzle.kvr"), QByteArray(243, '\0')) &&
                   test::writeFile(dir.filePath("\"quoted\".kvr"), QByteArray(243, '\0')) &&
                   test::writeFile(dir.filePath("line\nbreak.kvr"), QByteArray(243, '\0')) &&
                   test::writeFile(dir.filePath("empty.kvr"), {}) && dir.mkpath("folder"),
               "the scratch folder is filled");
    }
    int argc = 1;
    char name[20] = "fuzz_open_from_path";
    char* argv[2] = {name, nullptr};
    bool offscreen = qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application{argc, argv};
    QTemporaryDir folder;
    QString listFile = folder.filePath("Recent Files.txt");
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Setting s;
    // The folder is current only during a run: libFuzzer reads its corpus by relative paths too.
    const QString previous = QDir::currentPath();
    expect(QDir::setCurrent(s.folder.path()), "the scratch folder can be made current");
    // The path up to the first NUL; what the loader reads after it.
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = input.indexOf('\0');
    const QString path = QString::fromUtf8(split < 0 ? input : input.left(split));
    const QByteArray content = split < 0 ? QByteArray() : input.mid(split + 1);

    QFile::remove(s.listFile); // every run starts from an empty list
    QWidget owner;
    QMenu menu;
    clsRecentMenu recent;
    recent.Initialize(&owner, &menu, s.listFile, nullptr, 500, 9);
    test::RecordingPrompter prompter;
    Board board;
    std::vector<QString> loaded;
    const PuzzleLoader load = [&](const QString& at) -> FileResult {
        loaded.push_back(at);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(content.constData());
        const auto records = decodePuzzle(std::span(bytes, static_cast<std::size_t>(content.size())));
        if (!records)
            return {FileResult::Kind::TooShort, {}};
        applyPuzzle(board, *records);
        return {};
    };

    const bool opened = OpenFromPath(path, recent, load, prompter);

    // File names are bytes: any bytes come back from their text unchanged.
    expect(encodeFileName(decodeFileName(input)) == input, "a file name's bytes survive its text");
    // A name that exists as given keeps its quotes; any other loses them all.
    QString unquoted = path;
    std::error_code unused;
    if (!std::filesystem::exists(std::filesystem::path(path.toStdString()), unused))
        unquoted.remove(u'"');
    // Named from the current folder, a file the system finds there is loaded and listed by its
    // absolute, clean path.
    const QString given = unquoted.isEmpty() ? unquoted : QDir::current().absoluteFilePath(unquoted);
    const bool present = FileExisits(given) != 0;
    const QString cleaned = QFileInfo(given).absoluteFilePath();
    expect(loaded.size() == (present ? 1u : 0u), "a present file is loaded once, a missing one never");
    expect(loaded.empty() || loaded.front() == cleaned, "the loader gets the path without its quotes, absolute and clean");
    expect(opened == (present && content.size() >= 243), "the open counts exactly when the load succeeds");

    // A failed open leaves the list alone and says nothing; an opened file heads the list, or is
    // reported once when the list cannot hold its path.
    const bool listed = opened && isListablePath(cleaned);
    expect(opened || !QFile::exists(s.listFile), "a failed open writes no list");
    expect(RecentList(s.listFile).read().paths == (listed ? QStringList{cleaned} : QStringList{}),
           "exactly an opened file the list can hold is listed");
    expect(prompter.messages.size() == (opened && !listed ? 1u : 0u), "only a path the list cannot hold is reported");
    expect(!listed || (menu.actions().size() == 1 && menu.actions().front()->isVisible()), "the menu shows the one item");
    QDir::setCurrent(previous);
    return 0;
}
