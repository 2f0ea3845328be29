// The words for each pattern of the ladder. Squares are named short, "r5c7".
#include "grading/explanation.h"

#include "grading/finding.h"
#include "model/candidates.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <variant>
#include <vector>

namespace kavrin {

namespace {
std::string houseName(int house)
{
    static constexpr const char* kKinds[] = {"row ", "column ", "block "};
    return kKinds[house / 9] + std::to_string(house % 9 + 1);
}

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& items, const char* last = " and ")
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? last : ", ") + items[i];
    return text;
}

std::vector<std::string> digitNames(DigitMask digits)
{
    std::vector<std::string> names;
    for (unsigned d = digits; d != 0; d &= d - 1)
        names.push_back(std::to_string(std::countr_zero(d)));
    return names;
}

template <std::size_t N>
std::vector<std::string> squareNames(const std::array<std::uint8_t, N>& squares, int count)
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        names.push_back(squareName(squares[static_cast<std::size_t>(i)]));
    return names;
}

// What the step takes away, every digit named: " (6 from r1c2, r1c4)".
std::string removals(const Deduction& d)
{
    return " (" + conclusionText({}, d.removals) + ")";
}

std::string digitOf(const Deduction& d)
{
    return std::to_string(d.removals.front().digit);
}

std::string single(const Deduction& d, const Single& pattern)
{
    const Candidate placed = d.placements.front();
    const std::string digit = std::to_string(placed.digit);
    if (pattern.house < 0)
        return squareName(placed.square) + ": only " + digit + " is left";
    const std::string where = pattern.house < 9    ? "column " + std::to_string(placed.square % 9 + 1)
                              : pattern.house < 18 ? "row " + std::to_string(placed.square / 9 + 1)
                                                   : squareName(placed.square);
    return houseName(pattern.house) + ": " + digit + " can only go in " + where;
}

std::string lockedSet(const Deduction& d, const LockedSet& pattern)
{
    return houseName(pattern.house) + ": " + digitOf(d) + " can only go in " + houseName(pattern.otherHouse) +
           ", so the rest of " + houseName(pattern.otherHouse) + " cannot take it" + removals(d);
}

std::string subset(const Deduction& d, const Subset& pattern)
{
    const std::string squares = listed(squareNames(pattern.squares, pattern.size));
    const std::string digits = listed(digitNames(pattern.digits));
    const bool naked = d.technique == Technique::NakedPair || d.technique == Technique::NakedTriple ||
                       d.technique == Technique::NakedQuad;
    if (naked)
        return houseName(pattern.house) + ": " + squares + " can only take " + digits + ", so the rest of " +
               houseName(pattern.house) + " cannot" + removals(d);
    return houseName(pattern.house) + ": " + digits + " can only go in " + squares +
           ", so those squares take nothing else" + removals(d);
}

std::string fish(const Deduction& d, const Fish& pattern)
{
    const auto lines = [&](const std::array<std::uint8_t, 4>& houses) {
        std::vector<std::string> numbers;
        numbers.reserve(static_cast<std::size_t>(pattern.size));
        for (int i = 0; i < pattern.size; ++i)
            numbers.push_back(std::to_string(houses[static_cast<std::size_t>(i)] % 9 + 1));
        return std::string(houses[0] < 9 ? "rows " : "columns ") + listed(numbers);
    };
    return "in " + lines(pattern.bases) + ", " + digitOf(d) + " can only go in " + lines(pattern.covers) +
           ", so the rest of those " + (pattern.covers[0] < 9 ? "rows" : "columns") + " cannot take it" + removals(d);
}

std::string wing(const Deduction& d, const Wing& pattern)
{
    const auto takes = [&](std::size_t i) { return listed(digitNames(pattern.digits[i]), " or "); };
    const auto name = [&](std::size_t i) { return squareName(pattern.squares[i]); };
    const std::string z = digitOf(d);
    const bool xy = d.technique == Technique::XYWing;
    return name(0) + " takes " + takes(0) + ", and " + name(1) + " (" + takes(1) + ") and " + name(2) + " (" +
           takes(2) + ") see it: whichever it takes, one of " + (xy ? "those two" : "the three") + " holds " + z +
           ", so no square that sees " + (xy ? "both" : "all three") + " can take " + z + removals(d);
}
} // namespace

std::string explain(const Deduction& d)
{
    return std::visit(
        [&](const auto& pattern) {
            using Kind = std::decay_t<decltype(pattern)>;
            if constexpr (std::is_same_v<Kind, Single>)
                return single(d, pattern);
            else if constexpr (std::is_same_v<Kind, LockedSet>)
                return lockedSet(d, pattern);
            else if constexpr (std::is_same_v<Kind, Subset>)
                return subset(d, pattern);
            else if constexpr (std::is_same_v<Kind, Fish>)
                return fish(d, pattern);
            else
                return wing(d, pattern);
        },
        d.pattern);
}

} // namespace kavrin
