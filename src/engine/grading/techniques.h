// The grading ladder: the techniques a player uses, easiest first, each finding its first
// instance on the pencil marks.
#pragma once

#include "grading/finding.h"
#include "grading/pencilmarks.h"
#include "model/candidates.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

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

// The pattern behind a step, for telling a player why.
struct Single {
    int house = -1; // where a hidden single is the only place; -1 for a naked single
};
struct LockedSet {
    int house = 0;      // where the digit's places all lie in
    int otherHouse = 0; // the house the step clears
};
struct Subset {
    int house = 0;
    DigitMask digits = 0;
    std::array<std::uint8_t, 4> squares{};
    int size = 0;
};
struct Fish {
    std::array<std::uint8_t, 4> bases{}; // lines (houses) that hold the digit's places
    std::array<std::uint8_t, 4> covers{};
    int size = 0;
};
struct Wing {
    std::array<std::uint8_t, 3> squares{}; // the pivot, then its pincers
    std::array<DigitMask, 3> digits{};     // what each may take
};
using Pattern = std::variant<Single, LockedSet, Subset, Fish, Wing>;

// One use of a technique: a square filled, or digits taken from squares, and its pattern.
struct Deduction {
    Technique technique{};
    std::vector<Candidate> placements; // a single's square and digit
    std::vector<Candidate> removals;
    Pattern pattern;
};

// The technique's first instance on the marks that fills a square or takes a digit away.
std::optional<Deduction> findStep(Technique technique, const Pencilmarks& marks);

void apply(const Deduction& step, Pencilmarks& marks);

// The step's difficulty on the community's scale, on the marks it was found on.
double ratingOf(const Deduction& step, const Pencilmarks& marks);

} // namespace kavrin
