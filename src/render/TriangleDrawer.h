#pragma once

#include "render/RasterTriangle.h"

namespace vardel {

// Draws the triangles of a render call. The renderer's own rasterizers by default; tools put
// another drawer in their place to compare it with them.
class TriangleDrawer {
public:
    virtual ~TriangleDrawer() = default;
    // Draws a front-facing triangle: Gouraud-shaded when it has no texture, textured otherwise.
    virtual void draw(const RasterTriangle& triangle) const = 0;
    // False for a drawer that keeps the triangles to draw later: the depth buffer does not
    // hold them yet, so the render call's depth cull would see nothing and is skipped. The
    // render call leaves the depth buffer as it is: whoever draws the triangles clears it,
    // each thread its own rows, which then stay in that thread's cache.
    virtual bool drawsNow() const { return true; }
};

// drawShadedTriangle and drawTexturedTriangle.
const TriangleDrawer& rasterizers();

} // namespace vardel
