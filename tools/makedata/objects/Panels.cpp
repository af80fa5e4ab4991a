// The flat objects: panels and a disc in the x-y plane that face a viewer at -z.

#include <cmath>

#include "objects/Objects.h"

namespace vardel::makedata {

namespace {

// A rectangle centred on the origin, laid out like a page: s to the right, t downward, which
// makes d/ds x d/dt point to -z.
Mesh panel(double width, double height, int across, int along) {
    Mesh mesh;
    mesh.surface(
        across, along,
        [&](double s, double t) {
            return Vec3{(s - 0.5) * width, (0.5 - t) * height, 0.0};
        },
        Mesh::Side::Front);
    return mesh;
}

} // namespace

Mesh gridWall() {
    return panel(16.0, 16.0, 10, 10);
}

Mesh screen() {
    return panel(4.0, 3.0, 8, 6);
}

Mesh moonDisc() {
    Mesh mesh;
    // s around clockwise as seen from -z, t from the rim to the centre (a pole).
    mesh.surface(
        24, 1,
        [](double s, double t) {
            const double a = -2.0 * kPi * s;
            return Vec3{(1.0 - t) * std::cos(a), (1.0 - t) * std::sin(a), 0.0};
        },
        Mesh::Side::Front, true);
    return mesh;
}

} // namespace vardel::makedata
