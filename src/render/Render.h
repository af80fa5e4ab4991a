#pragma once

#include "render/TriangleDrawer.h"
#include "scene/RenderContext.h"
#include "scene/Scene.h"

namespace vardel {

// Draws a loaded scene at one scene time (in the frames of its keys) into its target: animates
// every object, light and the camera, transforms and projects the objects, orders the polygons
// far to near when there is no depth buffer, and runs the chosen polygon pass and, on request,
// the edge pass. The colour pixels are not cleared; the depth buffer is. Allocates nothing.
// The triangles go to `drawer` (the renderer's own rasterizers unless a tool substitutes
// another).
void render(Scene& scene, double sceneTime, const TriangleDrawer& drawer = rasterizers());

// render() in two halves, for drawing a frame in bands of rows on several threads, with the
// same pixels. prepareFrame does, once, all that the bands share: the motion, the transforms,
// the polygon order and the lighting the pass prepares. drawFrameRows then clears rows
// firstRow .. endRow - 1 of the depth buffer and draws the polygons on those rows only; a band
// less than the whole target writes nothing else, so that bands of one frame can be drawn at
// the same time. Not for scenes with lines or edges, which ignore the band.
void prepareFrame(Scene& scene, double sceneTime);
void drawFrameRows(const Scene& scene, int firstRow, int endRow);

// Sets rows firstRow .. endRow - 1 of the scene's depth buffer, if it has one, to far.
void clearDepthRows(const Scene& scene, int firstRow, int endRow);

// Orders the polygon table far to near by the summed camera depth of each polygon's corners
// (a comb sort that shrinks its gap by 8/11; equal keys are not exchanged).
void sortPolygons(RenderContext& context);

// The sort key: the sum of the three corner depths, and for a two-point polygon the sum of its
// two depths times 3/2, so that lines sort among triangles of the same depth.
double polygonDepthKey(const Polygon& polygon);

} // namespace vardel
