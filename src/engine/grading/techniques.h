// The grading ladder: the techniques a player uses, easiest first, each finding its first
// instance on the pencil marks.
#pragma once

#include "grading/pencilmarks.h"

#include <optional>
#include <string_view>

namespace kavrin {

// In ladder order: the order they are tried in, and how hard each is held to be.
enum class Technique : std::uint8_t {
    HiddenSingle,
    NakedSingle,
    Pointing,
    Claiming,
    NakedPair,
    HiddenPair,
    NakedTriple,
    HiddenTriple,
    XWing,
    XYWing,
    XYZWing,
    NakedQuad,
    HiddenQuad,
    Swordfish,
    Jellyfish,
};

inline constexpr int kTechniqueCount = 15;

// "hidden-single", "x-wing" and so on.
std::string_view techniqueName(Technique technique);

// One use of a technique: a square filled, or digits taken from squares, and the pattern that
// allows it, for telling a player why.
struct Deduction {
    Technique technique{};
    int square = -1; // the square a single fills
    int digit = 0;   // that single's digit; the digit of a locked set or a fish
    int house = -1;  // where the pattern lies: the single's house, the locked set's house, the
                     // subset's house
    int otherHouse = -1;               // the house a locked set clears
    DigitMask digits = 0;              // a subset's digits; a wing's pivot digits
    std::array<int, 4> cells{};        // a subset's squares; a wing's pivot, then its pincers
    std::array<DigitMask, 4> cellDigits{}; // a wing's squares' digits
    int cellCount = 0;
    std::array<int, 8> lines{};        // a fish's base lines, then its cover lines (houses)
    int lineCount = 0;                 // of each
    std::array<DigitMask, 81> removed{}; // the digits taken from each square

    bool fills() const { return square >= 0; }
};

// The technique's first instance on the marks that fills a square or takes a digit away.
std::optional<Deduction> findStep(Technique technique, const Pencilmarks& marks);

void apply(const Deduction& step, Pencilmarks& marks);

} // namespace kavrin
