// SetSquare: stores the digit, keeps Fixed right and has the square repainted at once.
#include "model/board.h"

#include <cstddef>

namespace kavrin {

Grid Board::digits() const
{
    Grid grid{};
    for (std::size_t i = 0; i < grid.size(); ++i)
        grid[i] = squares_[i].Digit;
    return grid;
}

void Board::placeSolution(const Grid& solution)
{
    for (int s = 1; s <= kSquareCount; ++s)
        if ((*this)[s].Digit == 0)
            store(s, solution[static_cast<std::size_t>(s - 1)], false, kWhite);
}

Board Board::withGivens(const Grid& givens)
{
    Board board;
    for (int s = 1; s <= kSquareCount; ++s)
        if (givens[static_cast<std::size_t>(s - 1)] != 0)
            board.SetSquare(s, givens[static_cast<std::size_t>(s - 1)], true, kWhite);
    return board;
}

void Board::SetSquare(int index, int digit, bool fixed, Colour backColor)
{
    store(index, digit, fixed, backColor);
}

void Board::SetSquare(int index, Step step, bool fixed, Colour backColor)
{
    const int digit = squares_[index - 1].Digit;
    const int next = step == Step::Up ? (digit == 9 ? 0 : digit + 1) : (digit == 0 ? 9 : digit - 1);
    store(index, next, fixed, backColor);
}

} // namespace kavrin
