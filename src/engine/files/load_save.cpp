// Load and Save of .kvr files through QFile: whole or nothing.
#include "files/load_save.h"

#include <QFile>
#include <QSaveFile>

namespace kavrin {

FileError LoadPuzzle(Board& board, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Cannot open %1: %2").arg(path, file.errorString());
    const QByteArray data = file.read(kPuzzleFileSize);
    if (static_cast<std::size_t>(data.size()) < kPuzzleFileSize)
        return QStringLiteral("%1 is not a puzzle file: it holds %2 bytes, a puzzle needs %3.")
            .arg(path)
            .arg(data.size())
            .arg(kPuzzleFileSize);
    const auto* begin = reinterpret_cast<const std::uint8_t*>(data.constData());
    applyPuzzle(board, *decodePuzzle(std::span(begin, kPuzzleFileSize)));
    return {};
}

FileError SavePuzzle(const Board& board, const QString& path)
{
    const PuzzleBytes bytes = encodePuzzle(board);
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk) shows in write() itself.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return QStringLiteral("Cannot save %1: %2").arg(path, file.errorString());
    const auto written = file.write(reinterpret_cast<const char*>(bytes.data()), kPuzzleFileSize);
    if (written != static_cast<qint64>(kPuzzleFileSize) || !file.commit())
        return QStringLiteral("Cannot save %1: %2").arg(path, file.errorString());
    return {};
}

} // namespace kavrin
