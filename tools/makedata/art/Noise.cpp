#include "art/Noise.h"

#include <cmath>

namespace vardel::makedata {

namespace {

// An integer hash of a lattice point (a few multiply-xorshift rounds), scaled to [0, 1].
double latticeValue(std::int64_t x, std::int64_t y, std::uint32_t seed) {
    std::uint64_t h = static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ull;
    h ^= static_cast<std::uint64_t>(y) * 0xC2B2AE3D27D4EB4Full;
    h ^= static_cast<std::uint64_t>(seed) * 0x165667B19E3779F9ull;
    h = (h ^ (h >> 29)) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ (h >> 32)) * 0x94D049BB133111EBull;
    h ^= h >> 29;
    return static_cast<double>(h >> 11) * 0x1.0p-53;
}

double fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

} // namespace

double valueNoise(double x, double y, std::uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<std::int64_t>(fx);
    const auto iy = static_cast<std::int64_t>(fy);
    const double tx = fade(x - fx);
    const double ty = fade(y - fy);
    const double top = latticeValue(ix, iy, seed) +
                       (latticeValue(ix + 1, iy, seed) - latticeValue(ix, iy, seed)) * tx;
    const double bottom =
        latticeValue(ix, iy + 1, seed) +
        (latticeValue(ix + 1, iy + 1, seed) - latticeValue(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

double fractalNoise(double x, double y, int octaves, std::uint32_t seed, double gain) {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int octave = 0; octave < octaves; ++octave) {
        // Each octave gets its own seed and a small offset so lattice points do not line up.
        sum += weight * valueNoise(x + 17.3 * octave, y - 9.1 * octave,
                                   seed + static_cast<std::uint32_t>(octave) * 1013u);
        total += weight;
        weight *= gain;
        x *= 2.0;
        y *= 2.0;
    }
    return sum / total;
}

} // namespace vardel::makedata
