#include <cmath>

#include "art/Random.h"
#include "objects/Objects.h"

namespace vardel::makedata {

namespace {

constexpr int kStars = 140;
constexpr double kDistance = 70.0;

} // namespace

Mesh stars() {
    Mesh mesh;
    Random random(1969);
    for (int i = 0; i < kStars; ++i) {
        // Spread over the sky ahead, denser toward the horizon, each a small triangle turned
        // toward the origin, a pixel or two across from there.
        const double azimuth = radians(random.range(-60.0, 60.0));
        const double elevation = radians(2.0 + 40.0 * std::pow(random.uniform(), 1.6));
        const Vec3 centre{kDistance * std::cos(elevation) * std::sin(azimuth),
                          kDistance * std::sin(elevation),
                          kDistance * std::cos(elevation) * std::cos(azimuth)};
        const Vec3 toward = centre * (-1.0 / kDistance);
        // Two directions across the line of sight.
        const Vec3 across = cross(Vec3{0.0, 1.0, 0.0}, toward) * (1.0 / std::cos(elevation));
        const Vec3 up = cross(toward, across);
        const double size = random.range(0.18, 0.42);
        const int a = mesh.add(centre + up * size);
        const int b = mesh.add(centre + across * (size * 0.87) - up * (size * 0.5));
        const int c = mesh.add(centre - across * (size * 0.87) - up * (size * 0.5));
        // The front must face the origin: order the corners so their normal points back.
        if (dot(cross(mesh.points()[static_cast<std::size_t>(b)] -
                          mesh.points()[static_cast<std::size_t>(a)],
                      mesh.points()[static_cast<std::size_t>(c)] -
                          mesh.points()[static_cast<std::size_t>(a)]),
                toward) > 0.0) {
            mesh.triangle(a, b, c);
        } else {
            mesh.triangle(a, c, b);
        }
    }
    return mesh;
}

} // namespace vardel::makedata
