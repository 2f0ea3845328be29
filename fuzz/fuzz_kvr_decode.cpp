// Fuzz target: the .kvr decoder, the board it fills and the encoder's round trip.
#include "files/puzzle_file.h"
#include "fuzz_expect.h"
#include "model/board.h"
#include "model/colour.h"
#include "model/square.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

using namespace kavrin;
using kavrin::fuzz::expect;

namespace {

// What a square should hold after loading these bytes: a digit above 9 is empty, and so never fixed.
void expectLoaded(const Board& board, std::span<const std::uint8_t> bytes)
{
    for (int s = 1; s <= kSquareCount; ++s) {
        const std::size_t at = kRecordSize * static_cast<std::size_t>(s - 1);
        const int digit = bytes[at] > 9 ? 0 : bytes[at];
        const bool fixed = digit != 0 && (bytes[at + 1] != 0 || bytes[at + 2] != 0);
        expect(board[s].Digit == digit, "a loaded square holds its record's digit, or 0 above 9");
        expect(board[s].Fixed == fixed, "a loaded square is fixed when its digit and flag are set");
        expect(board.background(s) == kWhite, "a loaded square is painted white");
    }
}

void expectRoundTrip(const Board& board)
{
    const PuzzleBytes bytes = encodePuzzle(board);
    for (std::size_t at = 0; at < bytes.size(); at += kRecordSize) {
        const bool minusOne = bytes[at + 1] == 0xFF && bytes[at + 2] == 0xFF;
        const bool zero = bytes[at + 1] == 0 && bytes[at + 2] == 0;
        expect(minusOne || zero, "a written flag is -1 or 0");
    }
    Board again;
    applyPuzzle(again, *decodePuzzle(bytes));
    for (int s = 1; s <= kSquareCount; ++s)
        expect(again[s] == board[s] && again.background(s) == board.background(s), "a written board reads back the same");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const auto records = decodePuzzle(bytes);
    expect(records.has_value() == (size >= kPuzzleFileSize), "exactly inputs of 243 bytes or more decode");
    if (records) {
        Board decoded;
        applyPuzzle(decoded, *records);
        expectLoaded(decoded, bytes);
        expectRoundTrip(decoded);
    }
    return 0;
}
