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

// A pass in two halves, for drawing a frame in bands of rows on several threads.
// preparePolygonPass does, once, what every band reads: the lights' camera-space positions,
// the objects' grey-lighting byte and, vertex-lit, every point's normal and shade. Then
// polygonPassRows draws the polygons on rows firstRow .. endRow - 1 only. A band that is less
// than the whole target writes nothing else (face-lit corners' shades stay in its own storage,
// not in the objects' vertexLight as the whole passes leave them), so that bands of one frame
// can be drawn at the same time. Lines ignore the band: a scene with lines is drawn whole.
void preparePolygonPass(const RenderContext& context, Light* lights, bool faceLit);
void polygonPassRows(const RenderContext& context, const Light* lights, bool faceLit, int firstRow,
                     int endRow);

} // namespace vardel
