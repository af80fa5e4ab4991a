#pragma once

#include "render/RasterTriangle.h"

namespace vardel {

// Draws a textured, Gouraud-shaded triangle clipped to the target, texture coordinates
// perspective-correct; the filler is chosen by `depth` (null or not) and `mono`. Any corner
// coordinates are accepted.
void drawTexturedTriangle(const RasterTriangle& triangle);

// The fillers behind drawTexturedTriangle, for a triangle whose corners all lie inside the
// target (otherwise, or without texture or multiply table, nothing is drawn). Rows from the top
// corner's down to and including the bottom corner's; in each row the columns from the rounded
// left edge up to, not including, the rounded right edge. Texels outside the texture repeat its
// border. The Mono ones scale all three channels by the r intensity; the Depth ones write only
// where they are nearer (larger 1/z) than the depth buffer, and update it.
void fillTexturedTriangle(const RasterTriangle& triangle);
void fillTexturedTriangleMono(const RasterTriangle& triangle);
void fillTexturedTriangleDepth(const RasterTriangle& triangle);
void fillTexturedTriangleMonoDepth(const RasterTriangle& triangle);

// The filler drawTexturedTriangle takes for a triangle `depth` and `mono` choose, for one
// already known to lie within the guard band (cornersWithinBand(triangle, true), which
// drawTexturedTriangle finds out before anything else): the corners are not checked again.
void fillTexturedWithinBand(const RasterTriangle& triangle);

} // namespace vardel
