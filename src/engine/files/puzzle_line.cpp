// 81-character puzzle lines.
#include "files/puzzle_line.h"

#include "model/square.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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

// Not '1'..'9', '.' or '0'.
bool isNoPuzzleCharacter(char c)
{
    return static_cast<unsigned char>(c - '0') > 9 && c != '.';
}
} // namespace

std::variant<Grid, std::string> parseGivens(std::string_view line)
{
    line = trimmed(line);
    if (line.size() != kSquareCount)
        return "a puzzle line has 81 characters, this one has " + std::to_string(line.size());
    // Every character is looked at, with no branch for each and no stop at a wrong one, and in
    // copies the compiler knows apart, so that the loop runs on whole vectors: givens fall at
    // random, and a batch reads many lines.
    std::array<char, kSquareCount> text{};
    std::memcpy(text.data(), line.data(), text.size());
    Grid givens{};
    std::uint8_t wrong = 0;
    for (std::size_t i = 0; i < givens.size(); ++i) {
        wrong |= static_cast<std::uint8_t>(isNoPuzzleCharacter(text[i]));
        givens[i] = static_cast<std::uint8_t>(text[i] == '.' ? 0 : text[i] - '0');
    }
    if (wrong != 0) {
        const auto wrongAt = std::find_if(line.begin(), line.end(), isNoPuzzleCharacter);
        const auto at = static_cast<std::size_t>(wrongAt - line.begin());
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
    // Formed apart from the string, which the compiler cannot tell from the digits, so that the
    // loop runs on whole vectors.
    std::array<char, kSquareCount> text{};
    for (std::size_t i = 0; i < digits.size(); ++i)
        text[i] = digits[i] == 0 ? '.' : static_cast<char>('0' + digits[i]);
    std::string line;
    line.reserve(text.size() + 1); // and a line end, which most callers add
    line.append(text.data(), text.size());
    return line;
}

std::string formatPuzzleLine(const Board& board)
{
    return formatPuzzleLine(board.digits());
}

} // namespace kavrin
