// Load and Save of .kvr files through QFile: whole or nothing.
#include "files/load_save.h"

#include "files/open_path.h"
#include "files/puzzle_file.h"
#include "files/recent_list.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QtGlobal>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kavrin {

namespace {

// Qt has no words for some failures (a commit that cannot put the file in place, for one); the
// system's own reason is then still in errno.
QString systemReason(const QFileDevice& file, int systemError)
{
    // What QIODevice says when it was told nothing.
    const QString unknown = QCoreApplication::translate("QIODevice", "Unknown error");
    return file.errorString() == unknown && systemError != 0 ? qt_error_string(systemError) : file.errorString();
}

} // namespace

bool isLoadableFile(const QString& path)
{
    return FileExisits(path) != 0;
}

FileResult loadPuzzleFile(Board& board, const QString& path)
{
    QFile file;
    if (!openForReading(file, path))
        return {FileResult::Kind::CannotOpen, qt_error_string(errno)};
    const QByteArray data = file.read(kPuzzleFileSize);
    if (static_cast<std::size_t>(data.size()) < kPuzzleFileSize)
        return {FileResult::Kind::TooShort, {}};
    const auto* begin = reinterpret_cast<const std::uint8_t*>(data.constData());
    applyPuzzle(board, *decodePuzzle(std::span(begin, kPuzzleFileSize)));
    return {};
}

FileResult savePuzzleFile(const Board& board, const QString& path)
{
    const PuzzleBytes bytes = encodePuzzle(board);
    QSaveFile file(path);
    // A writable file in a folder we may not write to is written in place: no temporary file
    // can stand beside it there.
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a short write (a full disk) shows in write() itself.
    errno = 0;
    const bool saved = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && file.write(reinterpret_cast<const char*>(bytes.data()), kPuzzleFileSize) == qint64(kPuzzleFileSize)
        && file.commit();
    if (!saved)
        return {FileResult::Kind::CannotWrite, systemReason(file, errno)};
    return {};
}

} // namespace kavrin
