#pragma once

#include <cstdint>

namespace vardel::makedata {

// A small deterministic generator (splitmix64): the same seed gives the same numbers on every
// machine, so the generated data never changes between runs.
class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1), from the top 53 bits.
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double range(double low, double high) { return low + (high - low) * uniform(); }
    // Uniform in 0 .. count - 1 (count > 0).
    int below(int count) { return static_cast<int>(next() % static_cast<std::uint64_t>(count)); }
    bool chance(double probability) { return uniform() < probability; }

private:
    std::uint64_t state;
};

} // namespace vardel::makedata
