#pragma once

#include "render/RasterMath.h"
#include "render/RasterTriangle.h"

namespace vardel {

// True when the depth test would turn away every pixel of the triangle: over the rectangle of
// pixels it can cover, the depth buffer already holds something at least as near as the
// nearest 1/z any of its pixels can take. Then it need not be lit or filled. False without a
// depth buffer, for degenerate triangles and whenever in doubt. Every corner must lie in
// front of the camera (z > 0).
bool hiddenByDepth(const RasterTriangle& triangle);

// True when the triangle has a depth buffer and a usable target (usableTarget): what
// hiddenByUsableDepth needs. Every triangle of a pass shares them, so callers find it once.
inline bool depthCullable(const RasterTriangle& triangle) {
    return triangle.depth != nullptr && usableTarget(triangle);
}

// hiddenByDepth for a triangle known to be depthCullable.
bool hiddenByUsableDepth(const RasterTriangle& triangle);

} // namespace vardel
