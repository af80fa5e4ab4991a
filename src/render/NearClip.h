#pragma once

#include <array>

#include "math/Vec3.h"
#include "scene/Shade.h"

namespace vardel {

// Camera depth of the near plane: a corner with z < 0.5 is behind it (exactly 0.5 is in front).
inline constexpr double kNearPlane = 0.5;

// One corner of a polygon while it is clipped at the near plane: camera-space position,
// texture coordinate and shade, and the screen position once projected.
struct ClipCorner {
    Vec3 view;
    TexCoord uv;
    VertexShade shade;
    Vec3 screen;
};

/*
 * The corner where the edge from `from` to `to` meets the near plane (one of the two is
 * behind it, the other not). Every attribute moves linearly with depth, measured from `from`:
 *   value = value(from) + (value(to) - value(from)) / (z(to) - z(from)) * (0.5 - z(from)),
 * and z becomes 0.5. The two depths lie on either side of 0.5, so they differ.
 */
inline ClipCorner nearPlaneCorner(const ClipCorner& from, const ClipCorner& to) {
    const double depthSpan = to.view.z - from.view.z;
    const double s = kNearPlane - from.view.z;
    const auto along = [&](double a, double b) { return a + (b - a) / depthSpan * s; };
    ClipCorner corner;
    corner.view = {along(from.view.x, to.view.x), along(from.view.y, to.view.y), kNearPlane};
    corner.uv = {along(from.uv.u, to.uv.u), along(from.uv.v, to.uv.v)};
    corner.shade = {along(from.shade.r, to.shade.r), along(from.shade.g, to.shade.g),
                    along(from.shade.b, to.shade.b)};
    return corner;
}

// How a triangle meets the near plane: how many corners are behind it, and the corner that
// is alone on its side (the one behind when one is, the one in front when two are).
struct NearPlaneCut {
    int behind = 0;
    int lone = 0;
};

inline NearPlaneCut cutAtNearPlane(const std::array<double, 3>& depth) {
    NearPlaneCut cut;
    for (int k = 0; k < 3; ++k) {
        cut.behind += depth[static_cast<std::size_t>(k)] < kNearPlane ? 1 : 0;
    }
    if (cut.behind == 0) { // the common case
        return cut;
    }
    for (int k = 0; k < 3; ++k) {
        const bool isBehind = depth[static_cast<std::size_t>(k)] < kNearPlane;
        if ((cut.behind == 1 && isBehind) || (cut.behind == 2 && !isBehind)) {
            cut.lone = k;
        }
    }
    return cut;
}

} // namespace vardel
