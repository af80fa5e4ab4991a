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

} // namespace vardel
