#pragma once

#include <vector>

#include "art/Mesh.h"

namespace vardel::makedata {

// The object files the scenes load, as the scene files name them.
namespace objectFile {
inline constexpr const char* boat = "data\\boat.lwo";
inline constexpr const char* smallBoat = "data\\boat-small.lwo";
inline constexpr const char* rings = "data\\rings.lwo";
inline constexpr const char* gridWall = "data\\grid-wall.lwo";
inline constexpr const char* cloudBank = "data\\cloud-bank.lwo";
inline constexpr const char* cloudPuffs = "data\\cloud-puffs.lwo";
inline constexpr const char* screen = "data\\screen.lwo";
inline constexpr const char* sea = "data\\sea.lwo";
inline constexpr const char* sky = "data\\sky.lwo";
inline constexpr const char* moon = "data\\moon.lwo";
inline constexpr const char* stars = "data\\stars.lwo";
} // namespace objectFile

// Each object in file units, centred on its origin so that its extents (twice the largest
// coordinate on each axis) are its true size, as the texture mappings expect.

// A boat folded from a newspaper page: two flared hull walls meeting at the keel and at the
// pointed ends, and the tent-shaped sail in the middle. Length along x (bow at +x), height
// along y, beam along z; paper is seen from both sides. `size` scales the whole boat.
Mesh paperBoat(double size, double sailHeight);

// Concentric flat bands around the z axis, each as deep (along z) as a tenth of the largest
// diameter, so that a strip 60 x 600 texels mapped along x wraps around them undistorted.
Mesh rings();

// A square wall in the x-y plane facing -z, finely divided so the lighting can vary over it.
Mesh gridWall();

// A cloud puff: half an ellipsoid on the x-y plane at `centre` with radii rx and ry, bulging
// toward -z by `depth`.
struct Puff {
    Vec3 centre;
    double rx = 0.0;
    double ry = 0.0;
    double depth = 0.0;
};

// How finely a puff's dome is divided: segments around its rim, rings from the rim to the
// pole (each ring but the one at the pole two triangles per segment, the pole one).
struct PuffDetail {
    int around;
    int rings;
};

// The puffs as one mesh, each a dome facing -z. A puff hidden behind the others seen along +z,
// but for a sliver at most, is left out; the others come nearest first, so that drawing in
// order with a depth buffer finds what they hide already covered.
Mesh puffPile(const std::vector<Puff>& puffs, PuffDetail detail);

// Clusters of dome-shaped puffs facing -z, piled into a cloud bank; `seed` varies the shape.
Mesh cloudBank(unsigned seed, double width, double height, int puffs, PuffDetail detail);

// A flat 4:3 screen in the x-y plane facing -z, 4 units wide.
Mesh screen();

// A faceted sea in the x-z plane, facing up, with a fixed pattern of waves.
Mesh sea();

// A sky to carry along with the camera: a wall far ahead (facing -z) that curves over into
// a ceiling (facing down), so that a light near the camera leaves it darker overhead.
Mesh skyBackdrop();

// A flat round disc facing -z.
Mesh moonDisc();

// Small triangles scattered over the sky ahead of the origin, each facing it.
Mesh stars();

} // namespace vardel::makedata
