// 81-character puzzle lines.
#include "files/puzzle_line.h"

#include "model/square.h"

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
} // namespace

std::variant<Grid, std::string> parseGivens(std::string_view line)
{
    line = trimmed(line);
    if (line.size() != kSquareCount)
        return "a puzzle line has 81 characters, this one has " + std::to_string(line.size());
    Grid givens{};
    for (std::size_t i = 0; i < givens.size(); ++i) {
        const char c = line[i];
        const bool digit = c >= '1' && c <= '9';
        if (!digit && c != '.' && c != '0')
            return "character " + std::to_string(i + 1) + " ('" + shown(c) + "') is not a digit, '.' or '0'";
        // Without a branch on the digit: givens fall at random, and a batch reads many lines.
        givens[i] = static_cast<std::uint8_t>(digit ? c - '0' : 0);
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
        if (digits[i] != 0)
            line[i] = static_cast<char>('0' + digits[i]);
    return line;
}

std::string formatPuzzleLine(const Board& board)
{
    return formatPuzzleLine(board.digits());
}

} // namespace kavrin
