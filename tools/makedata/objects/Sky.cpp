#include <cmath>

#include "objects/Objects.h"

namespace vardel::makedata {

namespace {

constexpr double kHalfWidth = 110.0;
constexpr double kWallDistance = 70.0; // the wall's distance ahead of the camera
constexpr double kWallBottom = -60.0;
constexpr double kBend = 45.0;       // radius of the curve from the wall into the ceiling
constexpr double kBendStart = -20.0; // height at which the wall starts to curve

} // namespace

Mesh skyBackdrop() {
    Mesh mesh;
    // s runs along +x and t up the wall and over, so d/ds x d/dt points back at the camera.
    const auto wall = [](double s, double t) {
        return Vec3{(s - 0.5) * 2.0 * kHalfWidth, kWallBottom + (kBendStart - kWallBottom) * t,
                    kWallDistance};
    };
    mesh.surface(6, 3, wall, Mesh::Side::Back);
    const auto bend = [](double s, double t) {
        const double a = t * kPi * 0.5;
        return Vec3{(s - 0.5) * 2.0 * kHalfWidth, kBendStart + kBend * std::sin(a),
                    kWallDistance - kBend + kBend * std::cos(a)};
    };
    mesh.surface(6, 48, bend, Mesh::Side::Back);
    return mesh;
}

} // namespace vardel::makedata
