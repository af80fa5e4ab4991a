#pragma once

#include "render/Avx2.h"
#include "render/Line.h"
#include "render/NearClip.h"
#include "render/RasterTriangle.h"
#include "scene/RenderContext.h"
#include "scene/SceneObject.h"

namespace vardel {

// A raster record with the fields that stay the same for a whole pass filled in from the
// render context; colour, texture and corners are set per polygon and triangle.
inline RasterTriangle passRecord(const RenderContext& context) {
    RasterTriangle triangle;
    triangle.width = context.width;
    triangle.height = context.height;
    triangle.rowPadding = context.rowPadding;
    triangle.pixels = context.target;
    triangle.depth = context.depthBuffer;
    triangle.shadeTable = context.multiplyTable;
    triangle.mono = context.greyLighting;
    triangle.eightWide = avx2Usable();
    return triangle;
}

// A two-point polygon: a line from its second point to its first in the record's colour,
// when both points are in front of the near plane. It is never clipped at the plane.
inline void drawLinePolygon(RasterTriangle& triangle, const SceneObject& object,
                            const Polygon& polygon) {
    const Vec3& first = object.screenPoints[static_cast<std::size_t>(polygon.vertex[0])];
    const Vec3& second = object.screenPoints[static_cast<std::size_t>(polygon.vertex[1])];
    if (first.z >= kNearPlane && second.z >= kNearPlane) {
        triangle.screen[0] = &first;
        triangle.screen[1] = &second;
        drawEdge(triangle, 1, 0);
    }
}

} // namespace vardel
