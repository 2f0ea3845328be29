// Reading and writing the 243-byte .kvr file.
#include "files/puzzle_file.h"

#include <QFile>
#include <QSaveFile>

namespace kavrin {

PuzzleBytes encodePuzzle(const Board& board)
{
    PuzzleBytes bytes{};
    for (int s = 1; s <= kSquareCount; ++s) {
        const std::size_t at = kRecordSize * static_cast<std::size_t>(s - 1);
        const std::uint8_t flag = board[s].Fixed ? 0xFF : 0x00; // -1 as a little-endian i16
        bytes[at] = board[s].Digit;
        bytes[at + 1] = flag;
        bytes[at + 2] = flag;
    }
    return bytes;
}

std::optional<PuzzleRecords> decodePuzzle(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kPuzzleFileSize)
        return std::nullopt;
    PuzzleRecords records{};
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::size_t at = kRecordSize * i;
        records[i].Digit = bytes[at];
        records[i].Fixed = bytes[at + 1] != 0 || bytes[at + 2] != 0;
    }
    return records;
}

void applyPuzzle(Board& board, const PuzzleRecords& records)
{
    for (int s = 1; s <= kSquareCount; ++s) {
        const SquareInfo& record = records[static_cast<std::size_t>(s - 1)];
        const int digit = record.Digit > 9 ? 0 : record.Digit;
        board.SetSquare(s, digit, record.Fixed, kWhite);
    }
}

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
