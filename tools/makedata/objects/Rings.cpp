#include <cmath>

#include "objects/Objects.h"

namespace vardel::makedata {

namespace {

constexpr double kRadii[] = {1.0, 0.78, 0.56}; // outer radius of each band
constexpr double kThickness = 0.07;            // radial thickness of a band
constexpr double kHalfDepth = 0.1;             // a tenth of the outer diameter, halved
constexpr int kSegments = 32;

} // namespace

Mesh rings() {
    Mesh mesh;
    // s runs around a band (the angle growing from +x toward +y).
    const auto circle = [](double r, double s, double z) {
        return Vec3{r * std::cos(2.0 * kPi * s), r * std::sin(2.0 * kPi * s), z};
    };
    for (const double outer : kRadii) {
        const double inner = outer - kThickness;
        // The cylinders: t runs along +z, and the tangent x z points away from the axis, which
        // is the outer face's front and the inner face's back.
        for (const double r : {outer, inner}) {
            mesh.surface(
                kSegments, 1,
                [&](double s, double t) {
                    return circle(r, s, -kHalfDepth + 2.0 * kHalfDepth * t);
                },
                r == outer ? Mesh::Side::Front : Mesh::Side::Back, true);
        }
        // The flat rims at -z and +z: t runs outward, and the tangent x outward is -z.
        for (const double z : {-kHalfDepth, kHalfDepth}) {
            mesh.surface(
                kSegments, 1,
                [&](double s, double t) { return circle(inner + (outer - inner) * t, s, z); },
                z < 0.0 ? Mesh::Side::Front : Mesh::Side::Back, true);
        }
    }
    return mesh;
}

} // namespace vardel::makedata
