#pragma once

#include "render/RasterTriangle.h"

namespace vardel {

// Draws an untextured triangle in Gouraud-shaded `color`, clipped to the target; with a depth
// buffer only where it is nearer than what is there. Any corner coordinates are accepted.
void drawShadedTriangle(const RasterTriangle& triangle);

// The fillers behind drawShadedTriangle, for a triangle whose corners all lie inside the target
// (otherwise nothing is drawn). Rows from the top corner's down to, not including, the bottom
// corner's; in each row the columns from the left edge up to, not including, the right edge.
void fillShadedTriangle(const RasterTriangle& triangle);
void fillShadedTriangleDepth(const RasterTriangle& triangle);

} // namespace vardel
