// The 81 square records, their background marks, and SetSquare, the one setter.
#pragma once

#include "model/colour.h"
#include "model/square.h"

#include <array>
#include <cstdint>

namespace kavrin {

struct SquareInfo {
    std::uint8_t Digit = 0; // 0 = empty
    bool Fixed = false;     // the player's or the puzzle's digit; false for solver digits
    bool operator==(const SquareInfo&) const = default;
};

// The "+" and "-" values of SetSquare.
enum class Step { Up, Down };

// Told of every SetSquare call, so that the view repaints that square before SetSquare returns.
class SquareObserver {
public:
    virtual void squareChanged(int index) = 0;

protected:
    ~SquareObserver() = default;
};

class Board {
public:
    Board() { backgrounds_.fill(kWhite); }

    const SquareInfo& operator[](int index) const { return squares_[index - 1]; }
    Grid digits() const;
    Colour background(int index) const { return backgrounds_[index - 1]; }
    // The colour the square's digit is drawn in.
    Colour digitColour(int index) const
    {
        return (*this)[index].Fixed ? kFixedDigitColour : kSolverDigitColour;
    }

    void SetSquare(int index, int digit, bool fixed, Colour backColor);
    void SetSquare(int index, Step step, bool fixed, Colour backColor);

    // The solution's digits in every empty square, as a solver places them.
    void placeSolution(const Grid& solution);

    void setObserver(SquareObserver* observer) { observer_ = observer; }

    // A puzzle's board: its digits fixed, every square white.
    static Board withGivens(const Grid& givens);

private:
    // Inline, so that a batch filling 81 squares pays no call for each.
    void store(int index, int digit, bool fixed, Colour backColor)
    {
        SquareInfo& square = squares_[index - 1];
        square.Digit = static_cast<std::uint8_t>(digit);
        square.Fixed = square.Digit != 0 && fixed; // an empty square is never fixed
        backgrounds_[index - 1] = backColor;
        if (observer_)
            observer_->squareChanged(index);
    }

    std::array<SquareInfo, kSquareCount> squares_{};
    std::array<Colour, kSquareCount> backgrounds_{};
    SquareObserver* observer_ = nullptr;
};

} // namespace kavrin
