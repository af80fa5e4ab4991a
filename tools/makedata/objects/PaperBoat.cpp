#include <cmath>

#include "objects/Objects.h"

namespace vardel::makedata {

namespace {

// Proportions of the folded boat, before scaling: length 2 (x from -1 to 1).
constexpr double kKeelHalf = 0.62;  // the straight bottom fold ends here
constexpr double kRimHeight = 0.46; // the hull's rim above the keel, amidships
constexpr double kTipRise = 0.14;   // extra height of the pointed ends
constexpr double kBeam = 0.34;      // half the width at the rim, amidships
constexpr double kBulge = 0.05;     // outward swell of the walls halfway up
constexpr double kSailBase = 0.52;  // half the sail's width where it leaves the hull
constexpr double kSailFoot = 0.04;  // half the thickness of the folded sail at its foot

} // namespace

Mesh paperBoat(double size, double sailHeight) {
    Mesh mesh;
    // Heights run from the keel (0) to the sail's peak; the boat is moved down by half of
    // that so that it is centred on its origin.
    const double top = sailHeight;
    const auto place = [&](double x, double y, double z) {
        return Vec3{x * size, (y - top * 0.5) * size, z * size};
    };

    // The hull walls: s from the stern (-x) to the bow (+x), t from the keel up to the rim.
    for (const double side : {-1.0, 1.0}) {
        const auto wall = [&](double s, double t) {
            const double a = 2.0 * s - 1.0;
            const double taper = 1.0 - a * a;
            const double rimY = kRimHeight + kTipRise * a * a * a * a;
            const double rimZ = kBeam * std::pow(taper, 0.75);
            const double x = (1.0 - t) * a * kKeelHalf + t * a;
            const double y = t * rimY;
            const double z = side * (t * rimZ + kBulge * std::sin(kPi * t) * taper);
            return place(x, y, z);
        };
        mesh.surface(12, 4, wall, Mesh::Side::Both);
    }

    // The sail: two leaves that meet at the peak and stand a little apart at the foot, deep
    // inside the hull. Each leaf shows its outer side.
    for (const double side : {-1.0, 1.0}) {
        const auto leaf = [&](double s, double t) {
            const double a = 2.0 * s - 1.0;
            const double x = (1.0 - t) * a * kSailBase;
            const double y = 0.08 + t * (top - 0.08);
            const double z = side * kSailFoot * (1.0 - t);
            return place(x, y, z);
        };
        // d/ds runs toward +x and d/dt upward, so the front faces +z: the +z leaf shows its
        // front, the -z leaf its back.
        mesh.surface(6, 5, leaf, side > 0 ? Mesh::Side::Front : Mesh::Side::Back);
    }
    return mesh;
}

} // namespace vardel::makedata
