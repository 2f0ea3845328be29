// Reading and writing the 243-byte .kvr file.
#include "files/puzzle_file.h"

#include "model/colour.h"

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

} // namespace kavrin
