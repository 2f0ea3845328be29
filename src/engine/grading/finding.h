// One step of a technique beyond the basic ladder (chains, uniqueness patterns, forcing): what
// it proves, how hard the community holds it to be, and the words that tell a player why.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavrin {

// A digit in a square: square 0..80 as in model/geometry.h, digit 1..9.
struct Candidate {
    std::uint8_t square = 0;
    std::uint8_t digit = 0;
    friend bool operator==(Candidate, Candidate) = default;
};

struct Finding {
    std::string_view technique;        // "skyscraper", "xy-chain", "cell-forcing-chain", ...
    double rating = 0;                 // on the community's difficulty scale, one decimal
    std::vector<Candidate> placements; // digits the step puts in squares
    std::vector<Candidate> removals;   // digits the step takes from squares
    std::string text;                  // the pattern and its conclusion, in words
};

// A rating as it is written, with one decimal: "6.6".
std::string ratingText(double rating);

// "r1c7" for square 6.
std::string squareName(int square);

// What a step concludes, every digit named: "r2c5 is 4; 6 from r1c2, r1c4; 7 from r3c3".
std::string conclusionText(const std::vector<Candidate>& placements, const std::vector<Candidate>& removals);

} // namespace kavrin
