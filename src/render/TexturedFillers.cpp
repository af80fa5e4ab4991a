#include "render/TexturedFillers.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "render/TexturedSpan.h"
#include "render/TexturedTriangle.h"

namespace vardel {

namespace {

/*
 * True when no segment of up to 16 pixels can stray more than kCurveLimit texels, so that the
 * segments need not be checked one by one. A segment's ends are pixels whose 1/z lies within
 * the corners' range, within two pixels of the triangle. There a texel coordinate q = Q / w
 * is at most (max |q| of the corners x wHigh + 2 x |gradient of Q|) / wLow, and it changes by
 * at most (|dQ/dx| + |q| x |dw/dx|) / wLow per pixel.
 */
bool straightEnough(const TexturedSetup& s, const RasterTriangle& t) {
    const double inverseLow = 1.0 / s.wLow;
    const double slopeW = std::abs(s.w.dx);
    const auto change = [&](const Plane& plane, double TexCoord::*corner) {
        const double largest = highest(std::abs(t.uv[0]->*corner), std::abs(t.uv[1]->*corner),
                                       std::abs(t.uv[2]->*corner));
        const double q =
            (largest * s.wHigh + 2.0 * (std::abs(plane.dx) + std::abs(plane.dy))) * inverseLow;
        return (std::abs(plane.dx) + q * slopeW) * inverseLow;
    };
    const double segment = kSegmentPixels;
    return segment * std::max(change(s.u, &TexCoord::u), change(s.v, &TexCoord::v)) * segment *
               slopeW <=
           kCurveLimit * 4.0 * s.wLow;
}

// The least and greatest texel coordinates of the corners, found once for the set-up's tests.
struct CornerRanges {
    double lowU;
    double highU;
    double lowV;
    double highV;

    explicit CornerRanges(const RasterTriangle& t)
        : lowU(lowest(t.uv[0]->u, t.uv[1]->u, t.uv[2]->u)),
          highU(highest(t.uv[0]->u, t.uv[1]->u, t.uv[2]->u)),
          lowV(lowest(t.uv[0]->v, t.uv[1]->v, t.uv[2]->v)),
          highV(highest(t.uv[0]->v, t.uv[1]->v, t.uv[2]->v)) {}
};

/*
 * Puts a linear triangle whose levels need no holding on the fixed-point course when every
 * pixel's texel lies inside the texture. A pixel's centre lies in the triangle of rounded
 * corners, each within half a pixel of the triangle's own, so a texel coordinate there lies
 * within the corners' range widened by half its change per column and per row; 2^-16 more
 * covers the fixed planes' rounding. The planes' values on every row walked, from the origin's
 * column to any span's first pixel, must stay within 2^20 texels or levels of the corners', so
 * that they fit 64 bits many times over; slivers too steep for that keep the other course.
 */
bool setUpFixed(TexturedSetup& s, const RasterTriangle& t, int channels,
                const CornerRanges& corners) {
    constexpr double kMargin = 0x1p-16;
    constexpr double kFarthest = 0x1p20;
    const double columns =
        std::max(std::abs(s.rows.column[0]), std::abs(t.width - s.rows.column[0]));
    const double rows = t.height;
    const auto near = [&](const Plane& q, double scale) {
        return (std::abs(q.dx) * columns + std::abs(q.dy) * rows) * scale <= kFarthest;
    };
    const auto inside = [&](const Plane& q, double low, double high, int size) {
        const double reach = 0.5 * (std::abs(q.dx) + std::abs(q.dy)) + kMargin;
        return near(q, 1.0) && low - reach >= 0.0 && high + reach <= size;
    };
    if (!inside(s.uLinear, corners.lowU, corners.highU, t.texture->width) ||
        !inside(s.vLinear, corners.lowV, corners.highV, t.texture->height)) {
        return false;
    }
    for (int c = 0; c < channels; ++c) {
        if (!near(s.level[c], 1.0 / 65536.0)) {
            return false;
        }
    }
    s.fixedColumn = s.rows.column[0];
    const double x = s.fixedColumn + 0.5;
    const double y = s.rows.firstRow;
    // The steps passed the checks above (NaN fails them), so they lie within 2^53 once scaled;
    // the origin, on a row that may lie far from the corners, is held.
    const auto fixed = [&](const Plane& q, double scale) {
        return FixedPlane{roundClamped64(q.at(x, y) * scale, 0x1p62), roundNearest64(q.dx * scale),
                          roundNearest64(q.dy * scale)};
    };
    s.uFixed = fixed(s.uLinear, 0x1p32);
    s.vFixed = fixed(s.vLinear, 0x1p32);
    for (int c = 0; c < channels; ++c) {
        s.levelFixed[c] = fixed(s.level[c], 0x1p16); // 16.16 to 32 fraction bits
    }
    return true;
}

/*
 * The largest sum of the magnitudes of the exact corners' weights at a pixel drawn: 1 inside the
 * triangle, more where the rounded corners reach past it (far more for a sliver). The sum is
 * convex, so over the triangle of rounded corners, which holds every pixel's centre, a corner
 * has the largest.
 */
double cornerSpread(const PlaneFit& exact, const TriangleRows& rows) {
    const Plane first = exact.plane({1.0, 0.0, 0.0});
    const Plane second = exact.plane({0.0, 1.0, 0.0});
    double spread = 1.0;
    for (int k = 0; k < 3; ++k) {
        const double a = first.at(rows.column[k], rows.row[k]);
        const double b = second.at(rows.column[k], rows.row[k]);
        spread = std::max(spread, std::abs(a) + std::abs(b) + std::abs(1.0 - a - b));
    }
    return spread;
}

/*
 * True when the linear course stays within kAffineLimit texels of the perspective course (1/z
 * unheld) at every pixel drawn, those whose 1/z lies past the corners' range too. A pixel's
 * centre lies in the triangle of rounded corners, where 1/z can pass the range by at most
 *   reach = (|change per column| + |change per row|) / 2,
 * the rounded corners lying within half a pixel of the own ones in each direction. The bound
 * of kAffineLimit then holds with wHigh - wLow + reach for the range of 1/z and wLow - reach
 * for its least value, which must stay positive. `spread` is the largest sum of the corners'
 * weights' magnitudes (see cornerSpread), `across` the larger range of the corners' texel
 * coordinates.
 */
bool linearWhereHeld(const TexturedSetup& s, double spread, double across) {
    const double reach = 0.5 * (std::abs(s.w.dx) + std::abs(s.w.dy)) * (1.0 + 0x1p-20);
    const double least = s.wLow - reach;
    return least > 0.0 &&
           spread * across / 2.0 * (s.wHigh - s.wLow + reach) <= kAffineLimit * least;
}

} // namespace

bool setUpTextured(const RasterTriangle& t, bool mono, TexturedSetup& s) {
    if (!setUpRows(t, true, s.rows)) {
        return false;
    }
    PlaneFit exact;
    if (!exact.fit({t.screen[0]->x, t.screen[1]->x, t.screen[2]->x},
                   {t.screen[0]->y, t.screen[1]->y, t.screen[2]->y})) {
        return false;
    }
    std::array<double, 3> w;
    for (int k = 0; k < 3; ++k) {
        w[k] = 1.0 / t.screen[k]->z;
    }
    s.w = exact.plane(w);
    s.wLow = lowest(w[0], w[1], w[2]);
    s.wHigh = highest(w[0], w[1], w[2]);
    const CornerRanges corners(t);
    const double across = std::max(corners.highU - corners.lowU, corners.highV - corners.lowV);
    const double bound = (s.wHigh - s.wLow) / s.wLow * across / 2.0;
    /*
     * A rounded corner lies within half a pixel of the triangle's own in each direction, so
     * there a weight differs from its value at the own corner (0 or 1) by at most half its
     * change per column and per row: the spread is at most 1 + weightSlopes / 2. Where that
     * bound (widened far beyond rounding) settles it, the corners need no evaluating.
     */
    const double spreadBound = (1.0 + 0.5 * exact.weightSlopes()) * (1.0 + 0x1p-20);
    double spread = spreadBound;
    if (bound <= kAffineLimit && bound * spreadBound > kAffineLimit) {
        spread = cornerSpread(exact, s.rows);
    }
    s.affine = bound <= kAffineLimit && bound * spread <= kAffineLimit;
    if (s.affine) {
        s.uLinear = exact.plane({t.uv[0]->u, t.uv[1]->u, t.uv[2]->u});
        s.vLinear = exact.plane({t.uv[0]->v, t.uv[1]->v, t.uv[2]->v});
        constexpr double kLimit = 1 << 29;
        s.du = static_cast<std::int32_t>(roundClamped64(s.uLinear.dx * 65536.0, kLimit));
        s.dv = static_cast<std::int32_t>(roundClamped64(s.vLinear.dx * 65536.0, kLimit));
    } else {
        s.uLinear = s.vLinear = Plane{0.0, 0.0, 0.0};
        s.du = s.dv = 0;
    }

    PlaneFit rounded;
    rounded.fit(s.rows);
    const int channels = mono ? 1 : 3;
    for (int c = 0; c < channels; ++c) {
        std::array<double, 3> level;
        for (int k = 0; k < 3; ++k) {
            const VertexShade& shade = *t.shade[s.rows.corner[k]];
            const double intensity = c == 0 ? shade.r : (c == 1 ? shade.g : shade.b);
            // trunc(intensity x 255 x 65536), the intensity held to 0..1 first.
            level[k] =
                static_cast<double>(static_cast<std::int32_t>(clampUnit(intensity) * 16711680.0));
        }
        s.level[c] = rounded.plane(level);
        s.step[c] = roundClamped64(s.level[c].dx, kFixedStepLimit);
        s.low[c] = static_cast<std::int64_t>(lowest(level[0], level[1], level[2]));
        s.high[c] = static_cast<std::int64_t>(highest(level[0], level[1], level[2]));
        s.holdsLevels =
            s.holdsLevels || s.low[c] < kRoundingReach || s.high[c] + kRoundingReach > kChannelMax;
    }
    if (!s.holdsLevels) {
        for (int c = 0; c < channels; ++c) {
            s.low[c] = std::numeric_limits<std::int64_t>::min();
            s.high[c] = std::numeric_limits<std::int64_t>::max();
        }
    }
    s.fixedCourse = s.affine && !s.holdsLevels && setUpFixed(s, t, channels, corners);
    s.linearWhereHeld = s.fixedCourse && linearWhereHeld(s, spread, across);
    // The planes of u/z and v/z, which only spans drawn the perspective way read: a triangle
    // drawn linearly throughout, as most small ones are, needs none.
    if (!s.linearWhereHeld) {
        std::array<double, 3> u;
        std::array<double, 3> v;
        for (int k = 0; k < 3; ++k) {
            u[k] = t.uv[k]->u * w[k];
            v[k] = t.uv[k]->v * w[k];
        }
        s.u = exact.plane(u);
        s.v = exact.plane(v);
    }
    // Linear triangles cut few spans into segments (see forEachSegment); those check their
    // segments one by one rather than every such triangle paying for the bound.
    s.straight = !s.affine && straightEnough(s, t);
    return true;
}

namespace {

// A span drawn as one of a triangle off the fixed-point course, for the few spans of one on it
// that need that: out of line, so that the fixed course's rows stay small.
template <bool Mono, bool Depth>
VARDEL_OUT_OF_LINE VARDEL_INLINE_CALLS void
drawPerspectiveSpan(const TexturedSpan<Mono, Depth>& span, const TexturedSetup& s, int y, int first,
                    int end, const TexturedSpanStart& start) {
    span(s, y, first, end, start);
}

/*
 * The rows of a triangle on the fixed-point course, walked as fillFixedRows walks them, in a
 * function of its own (drawFixedRows): inlined into the filler with the other course's spans,
 * its loop ran out of registers. What every row shares is read once, and the rows' places in
 * the target are stepped rather than multiplied out. Given `shortEights` (AVX2, see
 * drawFixedRowsWide), a span of up to sixteen pixels goes as one group of eight or two.
 */
template <bool Mono, bool Depth>
inline void fixedRows(const TexturedSpan<Mono, Depth>& span, const TexturedSetup& s,
                      const RasterTriangle& t,
                      [[maybe_unused]] const ShortEightLanes* shortEights) {
    constexpr int kChannels = Mono ? 1 : 3;
    using Span = TexturedSpan<Mono, Depth>;
    const typename Span::FixedTexels texels = span.fixedTexels();
    const std::ptrdiff_t pitch = t.pitch();
    const std::ptrdiff_t top = static_cast<std::ptrdiff_t>(s.rows.firstRow) * pitch;
    std::uint32_t* out = t.pixels + top;
    float* depth = Depth ? t.depth + top : nullptr;
    FixedRow row(s, kChannels);
    // Short spans go as groups only where their groups stay within the row: from a span's
    // first pixel, two groups of eight fit up to this column (one group may fit a little
    // further; a span there takes the one-by-one loop, which draws the same pixels).
    [[maybe_unused]] const int lastGroupsColumn = t.width - 16;
    double rowY = s.rows.firstRow; // y as a double, stepped rather than converted
    const auto drawRow = [&](int y, int first, int end) {
        if (end > first) {
            const double w = s.w.at(first + 0.5, rowY);
            float* const depthFirst = Depth ? depth + first : nullptr;
            const int count = end - first;
            bool grouped = false;
#if VARDEL_AVX2
            // One group of eight or two, within the row. The groups hold 1/z to the corners'
            // range, as heldFixedSpan does, and that changes nothing where it needs no
            // holding: the spans of a triangle drawn linearly where held go without testing
            // their ends.
            if (shortEights != nullptr && count <= 16 && first <= lastGroupsColumn &&
                (s.linearWhereHeld || unheldFixedSpan(s, w, count))) {
                const FixedSpanStart start = row.at(s, kChannels, first, w);
                avx2::fixedShortEight<Mono, Depth>(*shortEights, s, out + first, depthFirst, count,
                                                   start, 0);
                if (count > 8) {
                    avx2::fixedShortEight<Mono, Depth>(*shortEights, s, out + first, depthFirst,
                                                       count, start, 8);
                }
                grouped = true;
            }
#endif
            if (!grouped) {
                if (unheldFixedSpan(s, w, count)) {
                    // The start is made on each side of the branch: made before it, it went
                    // through memory for the long spans' call on every row.
                    if (Span::takesFours(texels, count)) {
                        Span::fixedLongSpan(texels, s, out + first, depthFirst, count,
                                            row.at(s, kChannels, first, w));
                    } else {
                        Span::fixedSpan(texels, s, out + first, depthFirst, count,
                                        row.at(s, kChannels, first, w));
                    }
                } else if (s.linearWhereHeld) {
                    Span::heldFixedSpan(texels, s, out + first, depthFirst, count,
                                        row.at(s, kChannels, first, w));
                } else {
                    drawPerspectiveSpan(span, s, y, first, end,
                                        heldFixedSpanStart(s, kChannels, y, first));
                }
            }
        }
        row.next(s, kChannels);
        rowY += 1.0;
        out += pitch;
        if constexpr (Depth) {
            depth += pitch;
        }
    };
    if (rowsWithin(s.rows, t.width)) {
        walkRows<true>(s.rows, t.width, drawRow);
    } else {
        walkRows(s.rows, t.width, drawRow);
    }
}

template <bool Mono, bool Depth>
VARDEL_OUT_OF_LINE VARDEL_INLINE_CALLS void drawFixedRows(const TexturedSpan<Mono, Depth>& span,
                                                          const TexturedSetup& s,
                                                          const RasterTriangle& t) {
    fixedRows(span, s, t, nullptr);
}

#if VARDEL_AVX2
// fixedRows with short spans as groups of eight, the whole loop compiled for AVX2 so that the
// groups are inlined into it.
template <bool Mono, bool Depth>
VARDEL_OUT_OF_LINE VARDEL_INLINE_CALLS VARDEL_AVX2_FUNCTION void
drawFixedRowsWide(const TexturedSpan<Mono, Depth>& span, const TexturedSetup& s,
                  const RasterTriangle& t) {
    const auto texels = span.fixedTexels();
    const ShortEightLanes shortEights(s, Mono ? 1 : 3, texels.texels, texels.texelPitch);
    fixedRows(span, s, t, &shortEights);
}
#endif

// A triangle whose corners lie within the guard band: its set-up and rows.
template <bool Mono, bool Depth> inline void fillTexturedWithin(const RasterTriangle& t) {
    TexturedSetup s;
    if (!setUpTexturedRowsWithinBand(t, Mono, Depth, s)) {
        return;
    }
    const TexturedSpan<Mono, Depth> span(t);
    if (s.fixedCourse) {
#if VARDEL_AVX2
        if (span.fixedTexels().eightAtATime) { // the record's eightWide, a texture that allows
            drawFixedRowsWide(span, s, t);
            return;
        }
#endif
        drawFixedRows(span, s, t);
    } else {
        fillPerspectiveRows(s, t, Mono ? 1 : 3, span);
    }
}

#if VARDEL_AVX2
// fillTexturedWithin compiled for AVX2, for records that ask for its loops (eightWide): the
// set-up's arithmetic is the same, in fewer instructions (three-operand forms, no copies).
template <bool Mono, bool Depth>
VARDEL_OUT_OF_LINE VARDEL_INLINE_CALLS VARDEL_AVX2_FUNCTION void
fillTexturedWide(const RasterTriangle& t) {
    fillTexturedWithin<Mono, Depth>(t);
}
#endif

// fillTexturedWithin for records that keep to groups of four, with the build's own target.
template <bool Mono, bool Depth>
VARDEL_OUT_OF_LINE VARDEL_INLINE_CALLS void fillTexturedNarrow(const RasterTriangle& t) {
    fillTexturedWithin<Mono, Depth>(t);
}

// A triangle whose corners lie within the guard band, by the record's choice of loops. The
// checked fillers and fillTexturedWithinBand share it; the set-up and rows behind it are out of
// line, once for each kind of loop.
template <bool Mono, bool Depth> inline void fillTextured(const RasterTriangle& t) {
#if VARDEL_AVX2
    if (t.eightWide) {
        fillTexturedWide<Mono, Depth>(t);
        return;
    }
#endif
    fillTexturedNarrow<Mono, Depth>(t);
}

} // namespace

void fillTexturedTriangle(const RasterTriangle& triangle) {
    if (cornersWithinBand(triangle, true)) {
        fillTextured<false, false>(triangle);
    }
}

void fillTexturedTriangleMono(const RasterTriangle& triangle) {
    if (cornersWithinBand(triangle, true)) {
        fillTextured<true, false>(triangle);
    }
}

void fillTexturedTriangleDepth(const RasterTriangle& triangle) {
    if (cornersWithinBand(triangle, true)) {
        fillTextured<false, true>(triangle);
    }
}

void fillTexturedTriangleMonoDepth(const RasterTriangle& triangle) {
    if (cornersWithinBand(triangle, true)) {
        fillTextured<true, true>(triangle);
    }
}

void fillTexturedWithinBand(const RasterTriangle& triangle) {
    if (triangle.depth == nullptr) {
        triangle.mono != 0 ? fillTextured<true, false>(triangle)
                           : fillTextured<false, false>(triangle);
    } else {
        triangle.mono != 0 ? fillTextured<true, true>(triangle)
                           : fillTextured<false, true>(triangle);
    }
}

} // namespace vardel
