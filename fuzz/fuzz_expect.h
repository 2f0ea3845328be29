// What a fuzz target does when a property of the code under test does not hold.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace kavrin::fuzz {

// Aborts, so that libFuzzer keeps the input as a crash like any sanitizer report.
inline void expect(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

} // namespace kavrin::fuzz
