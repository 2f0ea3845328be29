// The tests' oracle for solution counts: a plain backtracker that needs nothing but the
// standard library, so that the fuzz targets can ask it too.
#pragma once

#include <string>
#include <utility>

namespace kavrin::test {

struct OracleSolutions {
    long long count = 0;
    std::string first; // "" when there is none
    bool gaveUp = false; // the step budget ran out before the count was known
};

// Over a line of digits ('0' empty), in index order with digits ascending: the solutions up to
// the limit, and the first one it meets. Repeated givens have none. A budget (trial digits)
// keeps it short on grids where plain backtracking wanders; then the result says it gave up.
// Its own arithmetic, not the engine's geometry: a fault there cannot hide in both.
inline OracleSolutions oracleSolutions(std::string digits, long long limit, long long budget = -1)
{
    auto fits = [&](int i, char d) {
        const int r = i / 9, c = i % 9;
        for (int k = 0; k < 9; ++k) {
            const int br = r / 3 * 3 + k / 3, bc = c / 3 * 3 + k % 3;
            if (digits[r * 9 + k] == d || digits[k * 9 + c] == d || digits[br * 9 + bc] == d)
                return false;
        }
        return true;
    };
    OracleSolutions found;
    for (int i = 0; i < 81; ++i) {
        const char given = std::exchange(digits[i], '0');
        if (given != '0' && !fits(i, given))
            return found; // givens that repeat a digit
        digits[i] = given;
    }
    auto solve = [&](auto& self) -> void {
        const auto i = digits.find('0');
        if (i == std::string::npos) {
            if (found.count++ == 0)
                found.first = digits;
            return;
        }
        for (char d = '1'; d <= '9' && found.count < limit && !found.gaveUp; ++d)
            if (fits(static_cast<int>(i), d)) {
                if (budget-- == 0) {
                    found.gaveUp = true;
                    return;
                }
                digits[i] = d;
                self(self);
                digits[i] = '0';
            }
    };
    solve(solve);
    return found;
}

} // namespace kavrin::test
