// 81-character puzzle lines.
#include "files/puzzle_line.h"

#include "model/square.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace kavrin {

namespace {
std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Lines come from files and shells: a control byte printed raw could drive the user's terminal.
std::string shown(char c)
{
    if (c >= 0x20 && c <= 0x7e)
        return std::string(1, c);
    static constexpr char kHex[] = "0123456789abcdef";
    const auto byte = static_cast<unsigned char>(c);
    return std::string("\\x") + kHex[byte >> 4] + kHex[byte & 0xf];
}

// Each character's digit, 0 for an empty square. Read from a table, so that a line costs no
// branch for each character: givens fall at random, and a batch reads many lines.
constexpr std::uint8_t kNoPuzzleCharacter = 0xFF;
constexpr std::array<std::uint8_t, 256> kDigitOf = [] {
    std::array<std::uint8_t, 256> digits{};
    digits.fill(kNoPuzzleCharacter);
    digits['.'] = 0;
    for (char c = '0'; c <= '9'; ++c)
        digits[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c - '0');
    return digits;
}();
} // namespace

std::variant<Grid, std::string> parseGivens(std::string_view line)
{
    line = trimmed(line);
    if (line.size() != kSquareCount)
        return "a puzzle line has 81 characters, this one has " + std::to_string(line.size());
    Grid givens{};
    std::uint8_t all = 0;
    for (std::size_t i = 0; i < givens.size(); ++i) {
        givens[i] = kDigitOf[static_cast<unsigned char>(line[i])];
        all |= givens[i];
    }
    if (all == kNoPuzzleCharacter) { // no digit, nor any of them together, is all ones
        const auto at = static_cast<std::size_t>(std::find(givens.begin(), givens.end(), kNoPuzzleCharacter) - givens.begin());
        return "character " + std::to_string(at + 1) + " ('" + shown(line[at]) + "') is not a digit, '.' or '0'";
    }
    return givens;
}

std::variant<Board, std::string> parsePuzzleLine(std::string_view line)
{
    auto givens = parseGivens(line);
    if (auto* reason = std::get_if<std::string>(&givens))
        return std::move(*reason);
    return Board::withGivens(std::get<Grid>(givens));
}

std::string formatPuzzleLine(const Grid& digits)
{
    std::string line(kSquareCount, '.');
    for (std::size_t i = 0; i < digits.size(); ++i)
        line[i] = digits[i] == 0 ? '.' : static_cast<char>('0' + digits[i]);
    return line;
}

std::string formatPuzzleLine(const Board& board)
{
    return formatPuzzleLine(board.digits());
}

} // namespace kavrin
