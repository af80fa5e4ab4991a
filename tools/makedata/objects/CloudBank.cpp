#include <algorithm>
#include <cmath>

#include "art/Random.h"
#include "objects/Objects.h"

namespace vardel::makedata {

namespace {

// A puff's dome turns from its pole this far toward the rim. It stops short of a full quarter
// turn: faces seen edge-on would light darkly and outline every puff.
constexpr double kRimAngle = kPi * 0.43;

// The dome's point `fromPole` radians from its pole, `around` radians round its axis.
Vec3 domePoint(const Puff& puff, double fromPole, double around) {
    return {puff.centre.x + puff.rx * std::sin(fromPole) * std::cos(around),
            puff.centre.y + puff.ry * std::sin(fromPole) * std::sin(around),
            puff.centre.z - puff.depth * std::cos(fromPole)};
}

// True when the puff's dome lies in front of p as seen along +z.
bool hides(const Puff& puff, Vec3 p) {
    const double dx = (p.x - puff.centre.x) / puff.rx;
    const double dy = (p.y - puff.centre.y) / puff.ry;
    const double off = dx * dx + dy * dy; // sin^2 of the angle from the pole
    const double rim = std::sin(kRimAngle);
    return off <= rim * rim && puff.centre.z - puff.depth * std::sqrt(1.0 - off) < p.z;
}

// True when the dome of puffs[index] lies behind other puffs seen along +z, the way the camera
// looks at a bank: of its points every 15 degrees round and every sixth of the way from the
// pole to the rim, at most two show (a sliver at its rim, a few pixels on the screen).
bool hiddenByOthers(const std::vector<Puff>& puffs, std::size_t index) {
    constexpr int kMostShowing = 2;
    int showing = 0;
    for (int ring = 0; ring <= 6; ++ring) {
        for (int step = 0; step < 24; ++step) {
            const Vec3 p = domePoint(puffs[index], ring * kRimAngle / 6.0, step * kPi / 12.0);
            bool covered = false;
            for (std::size_t other = 0; other < puffs.size() && !covered; ++other) {
                covered = other != index && hides(puffs[other], p);
            }
            if (!covered && ++showing > kMostShowing) {
                return false;
            }
        }
    }
    return true;
}

void addPuff(Mesh& mesh, const Puff& puff, PuffDetail detail) {
    // s runs clockwise as seen from -z so that the outside is the front; t climbs from the
    // rim to the pole.
    const auto dome = [&](double s, double t) {
        return domePoint(puff, (1.0 - t) * kRimAngle, -2.0 * kPi * s);
    };
    mesh.surface(detail.around, detail.rings, dome, Mesh::Side::Front, true);
}

} // namespace

Mesh puffPile(const std::vector<Puff>& puffs, PuffDetail detail) {
    // Puffs that cannot be seen (or hardly) are left out; the others go nearest first, so that
    // the depth test turns away what lies behind them before it is lit and shaded.
    std::vector<Puff> seen;
    for (std::size_t i = 0; i < puffs.size(); ++i) {
        if (!hiddenByOthers(puffs, i)) {
            seen.push_back(puffs[i]);
        }
    }
    std::stable_sort(seen.begin(), seen.end(), [](const Puff& a, const Puff& b) {
        return a.centre.z - a.depth < b.centre.z - b.depth;
    });
    Mesh mesh;
    for (const Puff& puff : seen) {
        addPuff(mesh, puff, detail);
    }
    return mesh;
}

Mesh cloudBank(unsigned seed, double width, double height, int puffs, PuffDetail detail) {
    Random random(seed);
    std::vector<Puff> pile;
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
        pile.push_back({{x, y, z}, r * random.range(1.05, 1.35), r, r * 0.6});
    }
    Mesh mesh = puffPile(pile, detail);
    mesh.centreXY();
    return mesh;
}

} // namespace vardel::makedata
