// The words for each technique. Squares a step only touches are named short, "r5c7".
#include "grading/explanation.h"

#include <bit>
#include <vector>

namespace kavrin {

namespace {
std::string rowColumn(int square)
{
    return "row " + std::to_string(square / 9 + 1) + ", column " + std::to_string(square % 9 + 1);
}

std::string shortName(int square)
{
    return {'r', static_cast<char>('1' + square / 9), 'c', static_cast<char>('1' + square % 9)};
}

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

std::vector<std::string> cellNames(const Deduction& deduction, int first = 0)
{
    std::vector<std::string> names;
    for (int i = first; i < deduction.cellCount; ++i)
        names.push_back(shortName(deduction.cells[static_cast<std::size_t>(i)]));
    return names;
}

// What the step takes away: "(r5c7, r5c9)" for one digit, "(1 from r4c3; 7 from r4c3, r4c9)".
std::string removals(const Deduction& deduction)
{
    DigitMask all = 0;
    for (const DigitMask digits : deduction.removed)
        all |= digits;
    std::vector<std::string> parts;
    for (unsigned d = all; d != 0; d &= d - 1) {
        std::vector<std::string> squares;
        for (std::size_t s = 0; s < deduction.removed.size(); ++s)
            if ((deduction.removed[s] >> std::countr_zero(d) & 1u) != 0)
                squares.push_back(shortName(static_cast<int>(s)));
        std::string part;
        for (std::size_t i = 0; i < squares.size(); ++i)
            part += (i == 0 ? "" : ", ") + squares[i];
        parts.push_back(std::popcount(all) == 1 ? part : std::to_string(std::countr_zero(d)) + " from " + part);
    }
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : "; ") + parts[i];
    return " (" + text + ")";
}

std::string hiddenSingle(const Deduction& d)
{
    const std::string where = d.house < 9    ? "column " + std::to_string(d.square % 9 + 1)
                              : d.house < 18 ? "row " + std::to_string(d.square / 9 + 1)
                                             : rowColumn(d.square);
    return houseName(d.house) + ": " + std::to_string(d.digit) + " can only go in " + where;
}

std::string lockedSet(const Deduction& d)
{
    return houseName(d.house) + ": " + std::to_string(d.digit) + " can only go in " + houseName(d.otherHouse) +
           ", so the rest of " + houseName(d.otherHouse) + " cannot take it" + removals(d);
}

std::string nakedSubset(const Deduction& d)
{
    return houseName(d.house) + ": " + listed(cellNames(d)) + " can only take " + listed(digitNames(d.digits)) +
           ", so the rest of " + houseName(d.house) + " cannot" + removals(d);
}

std::string hiddenSubset(const Deduction& d)
{
    return houseName(d.house) + ": " + listed(digitNames(d.digits)) + " can only go in " + listed(cellNames(d)) +
           ", so those squares take nothing else" + removals(d);
}

std::string fish(const Deduction& d)
{
    const auto lines = [&](int first) {
        std::vector<std::string> numbers;
        for (int i = first; i < first + d.lineCount; ++i)
            numbers.push_back(std::to_string(d.lines[static_cast<std::size_t>(i)] % 9 + 1));
        return std::string(d.lines[static_cast<std::size_t>(first)] < 9 ? "rows " : "columns ") + listed(numbers);
    };
    return "in " + lines(0) + ", " + std::to_string(d.digit) + " can only go in " + lines(d.lineCount) +
           ", so the rest of those " + (d.lines[0] < 9 ? "columns" : "rows") + " cannot take it" + removals(d);
}

std::string wing(const Deduction& d)
{
    const auto takes = [&](int i) { return listed(digitNames(d.cellDigits[static_cast<std::size_t>(i)]), " or "); };
    const std::string z = std::to_string(d.digit);
    const bool xy = d.technique == Technique::XYWing;
    return shortName(d.cells[0]) + " takes " + takes(0) + ", and " + shortName(d.cells[1]) + " (" + takes(1) +
           ") and " + shortName(d.cells[2]) + " (" + takes(2) + ") see it: whichever it takes, one of " +
           (xy ? "those two" : "the three") + " holds " + z + ", so no square that sees " +
           (xy ? "both" : "all three") + " can take " + z + removals(d);
}
} // namespace

std::string explain(const Deduction& d)
{
    std::string text;
    switch (d.technique) {
    case Technique::HiddenSingle:
        text = hiddenSingle(d);
        break;
    case Technique::NakedSingle:
        text = rowColumn(d.square) + ": only " + std::to_string(d.digit) + " is left";
        break;
    case Technique::Pointing:
    case Technique::Claiming:
        text = lockedSet(d);
        break;
    case Technique::NakedPair:
    case Technique::NakedTriple:
    case Technique::NakedQuad:
        text = nakedSubset(d);
        break;
    case Technique::HiddenPair:
    case Technique::HiddenTriple:
    case Technique::HiddenQuad:
        text = hiddenSubset(d);
        break;
    case Technique::XWing:
    case Technique::Swordfish:
    case Technique::Jellyfish:
        text = fish(d);
        break;
    case Technique::XYWing:
    case Technique::XYZWing:
        text = wing(d);
        break;
    }
    return text + " [" + std::string(techniqueName(d.technique)) + "]";
}

} // namespace kavrin
