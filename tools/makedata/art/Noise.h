#pragma once

#include <cstdint>

namespace vardel::makedata {

// Smooth 2D value noise: random values on the integer lattice, blended with a quintic fade.
// Results lie in [0, 1]. Deterministic for a given seed.
double valueNoise(double x, double y, std::uint32_t seed);

// Fractal sum of `octaves` layers of value noise, each twice the frequency and `gain` times
// the weight of the one before, normalised back to [0, 1].
double fractalNoise(double x, double y, int octaves, std::uint32_t seed, double gain = 0.5);

} // namespace vardel::makedata
