#pragma once

#include "math/Vec3.h"

namespace vardel {

// (p1 - p0) x (p2 - p0), not normalised: its length is twice the triangle's area, and it
// points toward the viewer of a triangle whose corners run clockwise on the screen.
inline Vec3 faceNormal(const Vec3& p0, const Vec3& p1, const Vec3& p2) {
    const double ax = p1.x - p0.x, ay = p1.y - p0.y, az = p1.z - p0.z;
    const double bx = p2.x - p0.x, by = p2.y - p0.y, bz = p2.z - p0.z;
    return {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
}

} // namespace vardel
