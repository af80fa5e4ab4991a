#pragma once

#include <cstdint>

#include "render/RasterTriangle.h"

namespace vardel {

// Draws the segment from corner i to corner j (0..2) of the triangle in its `color`, clipped to
// the target: no shading, no blending, no depth test. Clipping works on copies; the corners are
// not changed. A segment whose clipping arithmetic overflows (coordinates near the limits of a
// double) draws nothing.
void drawEdge(const RasterTriangle& triangle, int i, int j);

// drawEdge for the corner pairs (0, 1), (0, 2) and (1, 2), in that order.
void drawTriangleEdges(const RasterTriangle& triangle);

// Steps a line between two whole-pixel end points inside the target with the midpoint
// (Bresenham) algorithm, one pixel per step along the longer axis, both ends included.
// Nothing is drawn when an end point lies outside the target.
void plotLine(const RasterTriangle& triangle, int x0, int y0, int x1, int y1, std::uint32_t color);

} // namespace vardel
