#include "math/PointTransform.h"

#include <algorithm>

namespace vardel {

void transformPoints(const Matrix43& m, std::span<const Vec3> points, std::span<Vec3> out) {
    const std::size_t count = std::min(points.size(), out.size());
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = transformPoint(m, points[i]);
    }
}

void projectPoints(const Matrix44& q, std::span<const Vec3> points, std::span<Vec3> out) {
    const std::size_t count = std::min(points.size(), out.size());
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = projectPoint(q, points[i]);
    }
}

} // namespace vardel
