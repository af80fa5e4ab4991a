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
};

// drawShadedTriangle and drawTexturedTriangle.
const TriangleDrawer& rasterizers();

} // namespace vardel
