#pragma once

#include "render/RasterTriangle.h"
#include "render/Sse2.h"

namespace vardel {

using TriangleFiller = void (*)(const RasterTriangle&);

// Passes a triangle to a filler, which draws what of it lies on the target. The fillers take
// corners up to kGuardBand pixels off the target; a triangle reaching farther is first cut to
// that band by recursive splitting, and every piece goes to the filler. New corners
// interpolate 1/z and the shade linearly in screen space; with perspectiveUv they also carry
// u/z and v/z linearly, so the texture stays fixed to the surface. A triangle with a
// coordinate that is not a number or a depth outside kNearestDepth..kFarthestDepth draws
// nothing. The record is not changed: the pieces are copies pointing at corners of the
// call's own.
void clipToScreen(const RasterTriangle& triangle, bool perspectiveUv, TriangleFiller fill);

// True when the triangle cannot draw a pixel of the target: all three corners lie beyond one
// of its edges (beyond the left and top edges, or past the middle of the last column or row,
// where they round onto the column or row after it). The tests are combined without branches
// (& and | on bools): which way they go is as good as random from one triangle to the next.
inline bool outsideTarget(const RasterTriangle& triangle) {
    const ScreenVertex& a = *triangle.screen[0];
    const ScreenVertex& b = *triangle.screen[1];
    const ScreenVertex& c = *triangle.screen[2];
    const double right = triangle.width - 0.5;
    const double bottom = triangle.height - 0.5;
#if VARDEL_SSE2
    // Columns and rows side by side (adjacent in ScreenVertex): lane 0 tells left and right,
    // lane 1 above and below. A comparison with NaN fails, as below.
    const __m128d zero = _mm_setzero_pd();
    const __m128d far = _mm_setr_pd(right, bottom);
    const __m128d pa = _mm_loadu_pd(&a.x);
    const __m128d pb = _mm_loadu_pd(&b.x);
    const __m128d pc = _mm_loadu_pd(&c.x);
    const __m128d before = _mm_and_pd(_mm_and_pd(_mm_cmplt_pd(pa, zero), _mm_cmplt_pd(pb, zero)),
                                      _mm_cmplt_pd(pc, zero));
    const __m128d beyond =
        _mm_and_pd(_mm_and_pd(_mm_cmpge_pd(pa, far), _mm_cmpge_pd(pb, far)), _mm_cmpge_pd(pc, far));
    return _mm_movemask_pd(_mm_or_pd(before, beyond)) != 0;
#else
    const bool left = (a.x < 0.0) & (b.x < 0.0) & (c.x < 0.0);
    const bool beyondRight = (a.x >= right) & (b.x >= right) & (c.x >= right);
    const bool above = (a.y < 0.0) & (b.y < 0.0) & (c.y < 0.0);
    const bool below = (a.y >= bottom) & (b.y >= bottom) & (c.y >= bottom);
    return left | beyondRight | above | below;
#endif
}

} // namespace vardel
