#include <cmath>

#include "art/Noise.h"
#include "objects/Objects.h"

namespace vardel::makedata {

namespace {

constexpr double kSize = 44.0;  // side of the square of sea
constexpr int kCells = 26;      // facets along each side
constexpr double kSwell = 0.22; // height of the waves

} // namespace

Mesh sea() {
    Mesh mesh;
    // s runs along z and t along x, so d/ds x d/dt points up. Long rolling swells with
    // noise on top give every facet its own tilt and so its own brightness.
    const auto water = [](double s, double t) {
        const double z = (s - 0.5) * kSize;
        const double x = (t - 0.5) * kSize;
        const double swell = std::sin(x * 0.7 + z * 0.35) * 0.5 + std::sin(z * 1.1 - x * 0.2) * 0.3;
        const double chop = fractalNoise(x * 0.45, z * 0.45, 3, 2024u) - 0.5;
        return Vec3{x, kSwell * (swell + chop * 1.4), z};
    };
    mesh.surface(kCells, kCells, water, Mesh::Side::Front);
    return mesh;
}

} // namespace vardel::makedata
