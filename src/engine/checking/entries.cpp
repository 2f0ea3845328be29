// Repeated digits: every square taking part in one turns yellow, counted once.
#include "checking/entries.h"

#include "model/colour.h"
#include "model/square.h"

#include <array>
#include <span>
#include <vector>

namespace kavrin {

void ResetSquareColors(Board& board)
{
    for (int s = 1; s <= kSquareCount; ++s)
        board.SetSquare(s, board[s].Digit, board[s].Fixed, kWhite);
}

namespace {
// Squares already yellow are repainted but not counted again.
int mark(Board& board, int square)
{
    const int newlyMarked = board.background(square) != kYellow;
    board.SetSquare(square, board[square].Digit, board[square].Fixed, kYellow);
    return newlyMarked;
}

int markRepeatsInUnits(Board& board, UnitKindSquares units)
{
    int marked = 0;
    for (const Unit& unit : units) {
        std::array<std::vector<std::uint8_t>, 10> positions;
        for (const std::uint8_t s : unit)
            if (board[s].Digit != 0)
                positions[board[s].Digit].push_back(s);
        for (int d = 1; d <= 9; ++d)
            if (positions[d].size() > 1)
                for (const std::uint8_t s : positions[d])
                    marked += mark(board, s);
    }
    return marked;
}
} // namespace

std::int16_t CheckEntries(Board& board)
{
    int marked = markRepeatsInUnits(board, kRowUnits);
    marked += markRepeatsInUnits(board, kColumnUnits);
    marked += markRepeatsInUnits(board, BlockSquares);
    return static_cast<std::int16_t>(marked);
}

} // namespace kavrin
