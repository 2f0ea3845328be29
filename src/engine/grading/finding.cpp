// The shared words of a step's conclusion.
#include "grading/finding.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <functional>
#include <memory>

namespace kavrin {

std::string ratingText(double rating)
{
    std::array<char, 16> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), rating, std::chars_format::fixed, 1);
    return {text.data(), end.ptr};
}

std::string squareName(int square)
{
    return {'r', static_cast<char>('1' + square / 9), 'c', static_cast<char>('1' + square % 9)};
}

std::string conclusionText(const std::vector<Candidate>& placements, const std::vector<Candidate>& removals)
{
    std::string text;
    const auto separate = [&text] { text += text.empty() ? "" : "; "; };
    for (const Candidate& placed : placements) {
        separate();
        text += squareName(placed.square) + " is " + std::to_string(placed.digit);
    }
    std::vector<Candidate> sorted = removals;
    std::ranges::sort(sorted, [](Candidate a, Candidate b) {
        return a.digit != b.digit ? a.digit < b.digit : a.square < b.square;
    });
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const bool newDigit = i == 0 || sorted[i].digit != sorted[i - 1].digit;
        if (newDigit) {
            separate();
            text += std::to_string(sorted[i].digit) + " from ";
        } else {
            text += ", ";
        }
        text += squareName(sorted[i].square);
    }
    return text;
}

} // namespace kavrin
