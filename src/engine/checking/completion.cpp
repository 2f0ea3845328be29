// The completion count over blocks, rows and columns, and its report text.
#include "checking/completion.h"

#include "host/messages.h"

namespace kavrin {

namespace {
int absentDigits(const Board& board, const Unit& unit)
{
    std::array<bool, 10> seen{};
    for (const std::uint8_t s : unit)
        seen[board[s].Digit] = true;
    int absent = 0;
    for (int d = 1; d <= 9; ++d)
        absent += !seen[d];
    return absent;
}
} // namespace

std::int16_t CheckCompletion(const Board& board, std::string* report)
{
    int total = 0;
    std::string text;
    auto unitLines = [&](const std::array<Unit, 9>& units, auto name) {
        for (int u = 0; u < 9; ++u) {
            const int absent = absentDigits(board, units[u]);
            if (absent > 0) {
                text += kCrLf;
                text += name(u + 1);
                text += " for " + std::to_string(absent) + " times.";
            }
            total += absent;
        }
        text += kCrLf;
    };
    // The messages call a block a "square", named by block row and block column.
    unitLines(BlockSquares, [](int b) {
        return "Error at square " + std::to_string((b - 1) / 3 + 1) + "," + std::to_string((b - 1) % 3 + 1);
    });
    unitLines(RowSquares, [](int r) { return "Error at row " + std::to_string(r); });
    unitLines(ColumnSquares, [](int c) { return "Error at col " + std::to_string(c); });
    if (report)
        *report = std::move(text);
    return static_cast<std::int16_t>(total);
}

} // namespace kavrin
