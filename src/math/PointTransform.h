#pragma once

#include <span>

#include "math/Matrix.h"
#include "math/Quotient.h"
#include "math/Vec3.h"

namespace vardel {

// p x m for a 4 x 3 matrix: rows 0..2 turn and scale, row 3 moves. Terms are added in row
// order.
inline Vec3 transformPoint(const Matrix43& m, const Vec3& p) {
    return {p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
            p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
            p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]};
}

// Screen position of a camera-space point through a projection matrix (see
// projectionMatrix): x = X / W and y = Y / W in pixels, z the camera-space depth unchanged.
// There is no test of the depth: a point at z <= 0 gives meaningless or infinite
// coordinates (never a trap), so callers clip before they use them.
inline Vec3 projectPoint(const Matrix44& q, const Vec3& v) {
    const double w = v.x * q[0][3] + v.y * q[1][3] + v.z * q[2][3] + q[3][3];
    const double x = v.x * q[0][0] + v.y * q[1][0] + v.z * q[2][0] + q[3][0];
    const double y = v.x * q[0][1] + v.y * q[1][1] + v.z * q[2][1] + q[3][1];
    return {quotient(x, w), quotient(y, w), v.z};
}

// The whole-array forms write out[i] for every i below the smaller of the two sizes.
void transformPoints(const Matrix43& m, std::span<const Vec3> points, std::span<Vec3> out);
void projectPoints(const Matrix44& q, std::span<const Vec3> points, std::span<Vec3> out);

} // namespace vardel
