#pragma once

#include "render/TriangleDrawer.h"
#include "scene/Light.h"
#include "scene/RenderContext.h"

namespace vardel {

// The two polygon passes. Both light the polygons of the context's polygon table in table
// order, clip them at the near plane, drop back-facing triangles and hand the rest to the
// shaded or textured rasterizer; two-point polygons are drawn as lines when both points are
// in front of the near plane.
//
// Face-lit: every corner is lit with its triangle's face normal, starting from the ambient
// colour. Vertex-lit: every point is lit once with its summed point normal and no ambient
// term, and clipped corners interpolate the shades.
void faceLitPass(RenderContext& context, Light* lights,
                 const TriangleDrawer& drawer = rasterizers());
void vertexLitPass(RenderContext& context, Light* lights,
                   const TriangleDrawer& drawer = rasterizers());

} // namespace vardel
