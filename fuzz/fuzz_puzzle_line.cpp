// Fuzz target: the 81-character puzzle line parser and its round trip through the formatter.
#include "files/puzzle_line.h"
#include "fuzz_expect.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace {

using kavrin::fuzz::expect;

bool isSquareChar(char c) { return c == '.' || (c >= '0' && c <= '9'); }

void expectRecords(const kavrin::PuzzleRecords& records, std::string_view line)
{
    for (const kavrin::SquareInfo& record : records) {
        expect(record.Digit <= 9, "a parsed digit is 0 to 9");
        expect(record.Fixed == (record.Digit != 0), "exactly the given digits are fixed");
    }
    kavrin::Board board;
    applyPuzzle(board, records);
    const std::string formatted = kavrin::formatPuzzleLine(board);
    expect(formatted.size() == kavrin::kSquareCount, "a formatted line has 81 characters");

    // The formatter writes '.' for an empty square where the line may have had '0'.
    std::string dotted(line);
    std::replace(dotted.begin(), dotted.end(), '0', '.');
    expect(dotted.find(formatted) != std::string::npos, "the formatted line is the parsed one");

    const auto again = kavrin::parsePuzzleLine(formatted);
    const auto* reread = std::get_if<kavrin::PuzzleRecords>(&again);
    expect(reread && *reread == records, "a formatted line parses back to the same records");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto parsed = kavrin::parsePuzzleLine(line);
    if (const auto* records = std::get_if<kavrin::PuzzleRecords>(&parsed)) {
        expectRecords(*records, line);
        return 0;
    }
    expect(!std::get<std::string>(parsed).empty(), "a refused line says why");
    const bool plainLine = size == kavrin::kSquareCount && std::all_of(line.begin(), line.end(), isSquareChar);
    expect(!plainLine, "81 digits and dots always parse");
    return 0;
}
