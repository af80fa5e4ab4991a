#include <cmath>

#include "art/Random.h"
#include "objects/Objects.h"

namespace vardel::makedata {

namespace {

// One puff: half an ellipsoid on the x-y plane at `centre`, bulging toward -z.
void addPuff(Mesh& mesh, Vec3 centre, double rx, double ry, double depth) {
    const auto dome = [&](double s, double t) {
        // s runs clockwise as seen from -z so that the outside is the front; t climbs from
        // the rim to the pole. The rim stops short of a full quarter turn: faces seen edge-on
        // would light darkly and outline every puff.
        const double around = -2.0 * kPi * s;
        const double fromPole = (1.0 - t) * kPi * 0.43;
        return Vec3{centre.x + rx * std::sin(fromPole) * std::cos(around),
                    centre.y + ry * std::sin(fromPole) * std::sin(around),
                    centre.z - depth * std::cos(fromPole)};
    };
    mesh.surface(18, 5, dome, Mesh::Side::Front, true);
}

} // namespace

Mesh cloudBank(unsigned seed, double width, double height, int puffs) {
    Mesh mesh;
    Random random(seed);
    for (int i = 0; i < puffs; ++i) {
        // Big puffs gather in the middle and pile up; small ones fill the flanks. Every puff
        // rests near the flat underside of the bank.
        const double x = random.range(-0.4, 0.4) * width;
        const double mound = 1.0 - std::pow(2.0 * x / width, 2.0);
        const double r = height * (0.16 + 0.2 * mound * random.range(0.6, 1.0));
        const double lift = random.uniform() * mound * (height - 2.0 * r) * 0.75;
        const double y = -0.5 * height + 0.85 * r + lift;
        // Larger puffs sit further back, so the small ones in front overlap them.
        const double z = r * 0.8 + random.range(-0.3, 0.3) * r;
        addPuff(mesh, {x, y, z}, r * random.range(1.05, 1.35), r, r * 0.6);
    }
    mesh.centreXY();
    return mesh;
}

} // namespace vardel::makedata
