#pragma once

// Set-up and spans of the textured fillers, shared by the fast fillers and the plain ones.

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "render/RasterMath.h"
#include "render/RasterTriangle.h"
#include "render/ShadedFill.h"
#include "render/TriangleWalk.h"
#include "scene/MultiplyTable.h"
#include "scene/Texture.h"

namespace vardel {

/*
 * A value linear over the pixels in fixed point with 32 fraction bits (texel coordinates in
 * texels, levels in multiply-table rows): its value at the planes' origin and its change per
 * column and per row. A pixel's value is integer arithmetic on these, exact whether stepped or
 * multiplied out, and its integer part (value >> 32, rounded down) the texel or the row. The
 * rounding of the three numbers, 2^-33 each, moves a value by far less than 2^-16 over the
 * largest target.
 */
struct FixedPlane {
    std::int64_t origin;
    std::int64_t dx;
    std::int64_t dy;
};

/*
 * A textured triangle ready for its rows. u/z, v/z and 1/z are linear in screen space over the
 * triangle's own corners; the shade levels (16.16 fixed point, 255 x intensity in the integer
 * part; mono fillers use the red one only) are linear over the rounded corners. A pixel's
 * values are those at the point that decides its coverage, (column + 1/2, row), which lies in
 * the triangle of rounded corners; the texel is the one that holds the texel coordinates there
 * (their integer parts). 1/z is held within the corners' range: the rounded corners may reach
 * half a pixel past the triangle's own (a sliver can lie wholly off it), where 1/z of a receding
 * surface can run far past its corners, to zero and below. The levels lie within the corners'
 * range but for rounding; they are held where rounding could carry them out of 0..255 (the
 * multiply table's rows), that is where a corner's lies at or next to 0 or 255 (holdsLevels).
 * Filled by setUpTextured (no initializers, see TriangleRows); a mono filler's set-up fills
 * the red level's fields only, and nothing reads the green and blue ones. u and v are filled
 * only where a span may be drawn the perspective way (not for a triangle linearWhereHeld).
 */
struct TexturedSetup {
    TriangleRows rows;
    Plane u;
    Plane v;
    Plane w;
    double wLow;
    double wHigh;
    bool straight = false; // no segment needs checking for curvature (see kCurveLimit)
    // Texel coordinates taken as linear across the whole triangle (see kAffineLimit): their
    // planes over the exact corners, and their steps per pixel in 16.16.
    bool affine = false;
    Plane uLinear;
    Plane vLinear;
    std::int32_t du;
    std::int32_t dv;
    std::array<Plane, 3> level;       // red, green, blue
    std::array<std::int64_t, 3> step; // change per pixel
    // The range a level is held to: the corners' range, or none at all (the widest values)
    // where rounding cannot carry a level out of the multiply table (see holdsLevels).
    std::array<std::int64_t, 3> low;
    std::array<std::int64_t, 3> high;
    bool holdsLevels = false;
    // A linear triangle whose texels all lie inside the texture and whose levels need no
    // holding takes the fixed-point course (see FixedPlane) instead of spans and segments.
    bool fixedCourse = false;
    // On it, the linear course stays within a texel of the perspective one also where 1/z
    // needs holding (see linearWhereHeld): spans with a held end are drawn on it as well.
    bool linearWhereHeld = false;
    int fixedColumn; // the fixed planes' origin: this column's centre on the first row walked
    FixedPlane uFixed;
    FixedPlane vFixed;
    std::array<FixedPlane, 3> levelFixed;
};

// Fills s for a triangle whose corners lie within the guard band; false when nothing is drawn.
bool setUpTextured(const RasterTriangle& t, bool mono, TexturedSetup& s);

// A span's values at its first pixel: u/z, v/z and 1/z, and the shade levels (mono: all three
// the red one). Filled by texturedSpanStart (no initializers, see TriangleRows).
struct TexturedSpanStart {
    double u;
    double v;
    double w;
    std::array<std::int64_t, 3> level;
    std::int32_t linearU; // a triangle drawn linearly: texel coordinates, 16.16; else 0
    std::int32_t linearV;
};

// The planes' values at column 0 of a row. Filled by texturedRowAt (no initializers).
struct TexturedRow {
    double u;
    double v;
    double w;
    std::array<double, 3> level;
    double linearU;
    double linearV;
};

inline TexturedSpanStart texturedSpanStart(const TexturedSetup& s, int channels,
                                           const TexturedRow& row, int first) {
    TexturedSpanStart start;
    const double x = first + 0.5; // the point that decides the pixel's coverage
    for (int c = 0; c < 3; ++c) {
        start.level[c] = c < channels
                             ? roundClamped64(row.level[c] + s.level[c].dx * x, kFixedStartLimit)
                             : start.level[0];
    }
    start.u = row.u + s.u.dx * x;
    start.v = row.v + s.v.dx * x;
    start.w = row.w + s.w.dx * x;
    if (s.affine) {
        constexpr std::int32_t kLimit = (1 << 29) - 1;
        start.linearU = roundClamped((row.linearU + s.uLinear.dx * x) * 65536.0, -kLimit, kLimit);
        start.linearV = roundClamped((row.linearV + s.vLinear.dx * x) * 65536.0, -kLimit, kLimit);
    } else {
        start.linearU = start.linearV = 0;
    }
    return start;
}

// True when the levels of pixel i of a span lie within the range they are held to.
inline bool levelsInRange(const TexturedSetup& s, const TexturedSpanStart& start, int i,
                          int channels = 3) {
    bool inside = true;
    for (int c = 0; c < channels; ++c) {
        const std::int64_t level = start.level[c] + i * s.step[c];
        inside = inside && level >= s.low[c] && level <= s.high[c];
    }
    return inside;
}

/*
 * Along a span, texel coordinates are worked out exactly (one division by 1/z) at the ends of
 * segments of up to 16 pixels and stepped linearly in 16.16 in between. A segment ends at the
 * next segment's first pixel, the span's last one at the span's own last pixel, which it
 * draws too. Linear steps follow the true (hyperbolic) course of a coordinate within
 *   |change over the segment| x |change of 1/z| / (4 x smaller 1/z of the two ends),
 * so a segment whose bound exceeds kCurveLimit texels is halved until it does not: on a
 * steeply receding surface the texels stay within one of the exact ones. No segment steps
 * across a held value either (see forEachSegment): holding breaks the course the steps follow.
 */
inline constexpr int kSegmentPixels = 16;
inline constexpr double kCurveLimit = 0.4;

/*
 * Where 1/z changes little over a triangle, its texel coordinates are taken as linear across
 * all of it, with no division per span. Perspective makes a coordinate q the mean of the
 * corners' weighted by their 1/z, the corners' weights l_k times w_k over W = sum l_k w_k,
 * instead of the plain mean. The two differ by sum l_k (q_k - c) (w_k - W) / W for any c, so
 * where W lies within the corners' range (elsewhere spans divide, see forEachSegment) by at most
 *   (sum of |l_k|) x (largest - smallest 1/z of the corners) / smallest x (range of q) / 2.
 * The sum is 1 inside the triangle and more half a pixel outside (see cornerSpread). A
 * triangle whose bound stays within kAffineLimit texels, under one, is drawn linearly: no
 * texel is more than one off the exact one.
 */
inline constexpr double kAffineLimit = 0.9;

// True when 1/z at both ends of a span, first and last, lies within the corners' range (and,
// being linear along the span, at every pixel between): no value of the span is held.
inline bool heldAtNeither(const TexturedSetup& s, double first, double last) {
    return endsWithin(first, last, s.wLow, s.wHigh);
}

// A texel coordinate q/w in 16.16, rounded to nearest, for a w within the corners' range
// (positive). Held to +-(2^29 - 1), +-8192 texels, far beyond any texture's border, so that a
// segment's difference and steps cannot overflow.
inline std::int32_t texelFixed(double q, double w) {
    constexpr std::int32_t kLimit = (1 << 29) - 1;
    return roundClamped(65536.0 / w * q, -kLimit, kLimit);
}

// True when linear steps between two exact ends could stray more than kCurveLimit texels.
inline bool tooCurved(std::int32_t ua, std::int32_t va, double wa, std::int32_t ub, std::int32_t vb,
                      double wb) {
    const std::int32_t change = std::max(std::abs(ub - ua), std::abs(vb - va));
    return change * std::abs(wb - wa) > kCurveLimit * 4.0 * 65536.0 * std::min(wa, wb);
}

// The step per pixel, 16.16, that takes a texel coordinate by `change` over `steps` pixels
// (1 to 16): the quotient rounded to nearest, by a table of reciprocals instead of a division.
// Texel coordinates are held to +-2^29, so the quotient fits.
inline std::int32_t stepOver(std::int32_t change, int steps) {
    static constexpr std::array<double, kSegmentPixels + 1> inverse{
        0.0,     1.0,      1.0 / 2,  1.0 / 3,  1.0 / 4,  1.0 / 5,  1.0 / 6,  1.0 / 7, 1.0 / 8,
        1.0 / 9, 1.0 / 10, 1.0 / 11, 1.0 / 12, 1.0 / 13, 1.0 / 14, 1.0 / 15, 1.0 / 16};
    return roundNearest(change * inverse[static_cast<std::size_t>(steps)]);
}

// A segment of a span: its first pixel (counted from the span's), how many pixels it draws, and
// the texel coordinates of its first pixel (16.16) with their steps per pixel.
struct TexelSegment {
    int first = 0;
    int pixels = 0;
    std::int32_t u = 0;
    std::int32_t v = 0;
    std::int32_t du = 0;
    std::int32_t dv = 0;
};

// Cuts a span of `count` pixels into segments (see kSegmentPixels) and calls draw(segment) for
// each, left to right. Where 1/z or a level had to be held at a segment's end (a span's first
// pixel lies outside the triangle; on a sliver, whose rounded corners may lie off it, others
// can too), no segment steps across the held value: a held start stands alone in its segment
// and a segment with a held end is halved down to a single step. A span of a triangle drawn
// linearly (s.affine) is one segment, unless 1/z at one of its ends needs holding.
template <class Draw>
void forEachSegment(const TexturedSetup& s, const TexturedSpanStart& start, int count, int channels,
                    Draw&& draw) {
    const int last = count - 1;
    if (s.affine) {
        // Where 1/z at an end needs holding, the texel there divides by the held value, which
        // the linear course does not follow: such spans are cut as a receding triangle's are.
        const double wLast = start.w + last * s.w.dx;
        if (heldAtNeither(s, start.w, wLast)) {
            draw(TexelSegment{0, count, start.linearU, start.linearV, s.du, s.dv});
            return;
        }
    }
    // The exact texel coordinates at pixel i, from 1/z held within the corners' range; true
    // when that or a level had to be held there.
    const auto exactAt = [&](int i, std::int32_t& u, std::int32_t& v, double& w) {
        const double unheld = start.w + i * s.w.dx;
        w = std::clamp(unheld, s.wLow, s.wHigh);
        u = texelFixed(start.u + i * s.u.dx, w);
        v = texelFixed(start.v + i * s.v.dx, w);
        return w != unheld || !levelsInRange(s, start, i, channels);
    };
    TexelSegment g;
    double wa = 0.0;
    bool heldA = exactAt(0, g.u, g.v, wa);
    while (true) {
        const int left = kSegmentPixels < last - g.first ? kSegmentPixels : last - g.first;
        int steps = (heldA && left > 1) ? 1 : left;
        std::int32_t ub = g.u;
        std::int32_t vb = g.v;
        double wb = wa;
        bool heldB = heldA;
        if (steps > 0) {
            heldB = exactAt(g.first + steps, ub, vb, wb);
            while ((heldB || (!s.straight && tooCurved(g.u, g.v, wa, ub, vb, wb))) && steps > 1) {
                steps /= 2;
                heldB = exactAt(g.first + steps, ub, vb, wb);
            }
        }
        const bool lastSegment = g.first + steps == last;
        g.pixels = lastSegment ? steps + 1 : steps;
        g.du = stepOver(ub - g.u, steps); // 0 over no steps (the table's first entry)
        g.dv = stepOver(vb - g.v, steps);
        draw(g);
        if (lastSegment) {
            return;
        }
        g.first += steps;
        g.u = ub;
        g.v = vb;
        wa = wb;
        heldA = heldB;
    }
}

// The planes' values at column 0 of row y.
inline TexturedRow texturedRowAt(const TexturedSetup& s, int channels, double y) {
    TexturedRow row;
    row.u = s.u.at(0.0, y);
    row.v = s.v.at(0.0, y);
    row.w = s.w.at(0.0, y);
    row.linearU = s.uLinear.at(0.0, y);
    row.linearV = s.vLinear.at(0.0, y);
    for (int c = 0; c < 3; ++c) {
        row.level[c] = c < channels ? s.level[c].at(0.0, y) : row.level[0];
    }
    return row;
}

// A span of a triangle on the fixed-point course: the values at its first pixel (texel
// coordinates and levels as FixedPlane values, 1/z as on other spans). Pixel i's are these plus
// i steps.
struct FixedSpanStart {
    std::int64_t u = 0;
    std::int64_t v = 0;
    std::array<std::int64_t, 3> level{};
    double w = 0.0;
};

// The fixed planes' values at the fixed origin's column of a row.
struct FixedRow {
    std::int64_t u;
    std::int64_t v;
    std::array<std::int64_t, 3> level{}; // a mono triangle's green and blue stay 0

    // The first row walked.
    FixedRow(const TexturedSetup& s, int channels) : u(s.uFixed.origin), v(s.vFixed.origin) {
        for (int c = 0; c < channels; ++c) {
            level[c] = s.levelFixed[c].origin;
        }
    }

    void next(const TexturedSetup& s, int channels) {
        u += s.uFixed.dy;
        v += s.vFixed.dy;
        for (int c = 0; c < channels; ++c) {
            level[c] += s.levelFixed[c].dy;
        }
    }

    // The values at column `first` of the row, whose 1/z is w.
    FixedSpanStart at(const TexturedSetup& s, int channels, int first, double w) const {
        const std::int64_t along = first - s.fixedColumn;
        FixedSpanStart start;
        start.u = u + along * s.uFixed.dx;
        start.v = v + along * s.vFixed.dx;
        for (int c = 0; c < channels; ++c) {
            start.level[c] = level[c] + along * s.levelFixed[c].dx;
        }
        start.w = w;
        return start;
    }
};

// Texture and multiply table fields the textured fillers need.
inline bool usableTexture(const RasterTriangle& t) {
    const Texture* texture = t.texture;
    return texture != nullptr && t.shadeTable != nullptr && texture->width > 0 &&
           texture->height > 0 &&
           texture->pixels.size() >=
               static_cast<std::size_t>(texture->width) * static_cast<std::size_t>(texture->height);
}

// True when 1/z of a span of `count` pixels of a triangle on the fixed-point course, w at its
// first pixel, needs holding at neither end (see fillFixedRows).
inline bool unheldFixedSpan(const TexturedSetup& s, double w, int count) {
    return heldAtNeither(s, w, w + (count - 1) * s.w.dx);
}

// The start of a span of such a triangle that is drawn as other triangles' spans are.
inline TexturedSpanStart heldFixedSpanStart(const TexturedSetup& s, int channels, int y,
                                            int first) {
    return texturedSpanStart(s, channels, texturedRowAt(s, channels, y), first);
}

/*
 * The rows of a triangle on the fixed-point course (see fillTexturedRows): only whole-number
 * steps from row to row and along the row to the span's first pixel, 1/z held pixel by pixel.
 * A span whose first or last pixel lies where 1/z needs holding (off the triangle's own
 * corners, see TexturedSetup) is drawn as other triangles' are, the texel divided by the held
 * 1/z, unless the linear course stays close to the perspective one there too
 * (linearWhereHeld; slivers do not). 1/z is linear along the span, so its ends decide.
 */
template <class Span>
void fillFixedRows(const TexturedSetup& s, const RasterTriangle& t, int channels, Span&& span) {
    FixedRow row(s, channels);
    walkRows(s.rows, t.width, [&](int y, int first, int end) {
        if (end > first) {
            const double w = s.w.at(first + 0.5, y);
            if (s.linearWhereHeld || unheldFixedSpan(s, w, end - first)) {
                span(s, y, first, end, row.at(s, channels, first, w));
            } else {
                span(s, y, first, end, heldFixedSpanStart(s, channels, y, first));
            }
        }
        row.next(s, channels);
    });
}

// The rows of a triangle that is not on the fixed-point course (see fillTexturedRows).
template <class Span>
void fillPerspectiveRows(const TexturedSetup& s, const RasterTriangle& t, int channels,
                         Span&& span) {
    // The planes at column 0 of each row, stepped from row to row.
    TexturedRow row = texturedRowAt(s, channels, s.rows.firstRow);
    walkRows(s.rows, t.width, [&](int y, int first, int end) {
        if (end > first) {
            span(s, y, first, end, texturedSpanStart(s, channels, row, first));
        }
        row.u += s.u.dy;
        row.v += s.v.dy;
        row.w += s.w.dy;
        row.linearU += s.uLinear.dy;
        row.linearV += s.vLinear.dy;
        for (int c = 0; c < channels; ++c) {
            row.level[c] += s.level[c].dy;
        }
    });
}

// The checks and the set-up before the rows of a textured triangle whose corners are known to
// lie within the guard band (cornersWithinBand(t, true)); false when nothing is drawn.
inline bool setUpTexturedRowsWithinBand(const RasterTriangle& t, bool mono, bool withDepth,
                                        TexturedSetup& s) {
    return usableTexture(t) && (!withDepth || t.depth != nullptr) && setUpTextured(t, mono, s);
}

// The checks and the set-up before a textured triangle's rows; false when nothing is drawn.
inline bool setUpTexturedRows(const RasterTriangle& t, bool mono, bool withDepth,
                              TexturedSetup& s) {
    return cornersWithinBand(t, true) && setUpTexturedRowsWithinBand(t, mono, withDepth, s);
}

// Runs the set-up and calls span(setup, row, firstColumn, endColumn, start) for every row with
// at least one pixel inside the target (the bottom corner's row included); start is a
// FixedSpanStart for a triangle on the fixed-point course, a TexturedSpanStart otherwise.
template <class Span>
void fillTexturedRows(const RasterTriangle& t, bool mono, bool withDepth, Span&& span) {
    TexturedSetup s;
    if (!setUpTexturedRows(t, mono, withDepth, s)) {
        return;
    }
    if (s.fixedCourse) {
        fillFixedRows(s, t, mono ? 1 : 3, span);
    } else {
        fillPerspectiveRows(s, t, mono ? 1 : 3, span);
    }
}

} // namespace vardel
