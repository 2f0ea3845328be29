// Fuzz target: the 81-character puzzle line parser and its round trip through the formatter.
#include "files/puzzle_line.h"
#include "fuzz_expect.h"
#include "model/board.h"
#include "model/colour.h"
#include "model/square.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

using namespace kavrin;
using kavrin::fuzz::expect;

namespace {

bool isSquareChar(char c) { return c == '.' || (c >= '0' && c <= '9'); }

void expectBoard(const Board& board, std::string_view line)
{
    for (int s = 1; s <= kSquareCount; ++s) {
        expect(board[s].Digit <= 9, "a parsed digit is 0 to 9");
        expect(board[s].Fixed == (board[s].Digit != 0), "exactly the given digits are fixed");
    }
    const std::string formatted = formatPuzzleLine(board);
    expect(formatted.size() == kSquareCount, "a formatted line has 81 characters");

    // The formatter writes '.' for an empty square where the line may have had '0'.
    std::string dotted(line);
    std::replace(dotted.begin(), dotted.end(), '0', '.');
    expect(dotted.find(formatted) != std::string::npos, "the formatted line is the parsed one");

    const auto again = parsePuzzleLine(formatted);
    const auto* reread = std::get_if<Board>(&again);
    expect(reread != nullptr, "a formatted line parses back");
    for (int s = 1; s <= kSquareCount; ++s)
        expect((*reread)[s] == board[s], "a formatted line parses back to the same digits and fixed flags");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto parsed = parsePuzzleLine(line);
    if (const auto* board = std::get_if<Board>(&parsed)) {
        expectBoard(*board, line);
        return 0;
    }
    expect(!std::get<std::string>(parsed).empty(), "a refused line says why");
    const bool plainLine = size == kSquareCount && std::all_of(line.begin(), line.end(), isSquareChar);
    expect(!plainLine, "81 digits and dots always parse");
    return 0;
}
