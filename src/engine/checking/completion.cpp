// The completion count over blocks, rows and columns, and its report text.
#include "checking/completion.h"

#include "host/messages.h"
#include "model/square.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <utility>

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
    for (const auto& [kind, units] : {std::pair{UnitKind::Block, BlockSquares}, std::pair{UnitKind::Row, kRowUnits},
                                      std::pair{UnitKind::Column, kColumnUnits}}) {
        for (int u = 0; u < 9; ++u) {
            const int absent = absentDigits(board, units[static_cast<std::size_t>(u)]);
            if (absent > 0) {
                text += kCrLf;
                text += absentDigitsLine(kind, u + 1, absent);
            }
            total += absent;
        }
        text += kCrLf;
    }
    if (report)
        *report = std::move(text);
    return static_cast<std::int16_t>(total);
}

} // namespace kavrin
