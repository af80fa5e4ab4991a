#pragma once

#include "render/RasterTriangle.h"

namespace vardel {

using TriangleFiller = void (*)(const RasterTriangle&);

// Clips a triangle to the target rectangle (columns 0..width-1, rows 0..height-1) by recursive
// splitting and passes every piece that lies wholly inside to fill. New corners interpolate
// 1/z and the shade linearly in screen space; with perspectiveUv they also carry u/z and v/z
// linearly, so the texture stays fixed to the surface. A triangle with a coordinate that is not
// a number or a depth outside kNearestDepth..kFarthestDepth draws nothing. The record is not
// changed: the pieces are copies pointing at corners of the call's own.
void clipToScreen(const RasterTriangle& triangle, bool perspectiveUv, TriangleFiller fill);

// True when all three corners lie beyond one edge of the target, where clipToScreen draws
// nothing of the triangle. The tests are combined without branches (& and | on bools): which
// way they go is as good as random from one triangle to the next.
inline bool outsideTarget(const RasterTriangle& triangle) {
    const ScreenVertex& a = *triangle.screen[0];
    const ScreenVertex& b = *triangle.screen[1];
    const ScreenVertex& c = *triangle.screen[2];
    const double lastColumn = triangle.width - 1;
    const double lastRow = triangle.height - 1;
    const bool left = (a.x < 0.0) & (b.x < 0.0) & (c.x < 0.0);
    const bool right = (a.x > lastColumn) & (b.x > lastColumn) & (c.x > lastColumn);
    const bool above = (a.y < 0.0) & (b.y < 0.0) & (c.y < 0.0);
    const bool below = (a.y > lastRow) & (b.y > lastRow) & (c.y > lastRow);
    return left | right | above | below;
}

} // namespace vardel
