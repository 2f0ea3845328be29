// 81-character puzzle lines.
#include "files/puzzle_line.h"

#include "model/colour.h"
#include "model/square.h"

#include <cstddef>

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

std::variant<Board, std::string> parsePuzzleLine(std::string_view line)
{
    line = trimmed(line);
    if (line.size() != kSquareCount)
        return "a puzzle line has 81 characters, this one has " + std::to_string(line.size());
    Board board;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '.' || c == '0')
            continue;
        if (c < '1' || c > '9')
            return "character " + std::to_string(i + 1) + " ('" + shown(c) +
                   "') is not a digit, '.' or '0'";
        board.SetSquare(static_cast<int>(i) + 1, c - '0', true, kWhite);
    }
    return board;
}

std::string formatPuzzleLine(const Board& board)
{
    std::string line(kSquareCount, '.');
    for (int s = 1; s <= kSquareCount; ++s)
        if (board[s].Digit != 0)
            line[static_cast<std::size_t>(s - 1)] = static_cast<char>('0' + board[s].Digit);
    return line;
}

} // namespace kavrin
