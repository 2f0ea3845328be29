// A uniform random source in [0, 1).
#pragma once

#include <cstdint>
#include <random>

namespace kavrin {

class UniformSource {
public:
    virtual ~UniformSource() = default;
    virtual double next() = 0;
};

class SeededUniform final : public UniformSource {
public:
    explicit SeededUniform(std::uint64_t seed) : engine_(seed) {}
    // 53 random bits scaled into [0, 1): never 1, unlike some uniform_real_distribution builds.
    double next() override { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

private:
    std::mt19937_64 engine_;
};

} // namespace kavrin
