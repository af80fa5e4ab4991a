#pragma once

// Set-up and spans of the shaded fillers, shared by the fast fillers and the plain ones.

#include <array>
#include <cmath>
#include <cstdint>

#include "render/RasterMath.h"
#include "render/RasterTriangle.h"
#include "render/TriangleWalk.h"

namespace vardel {

/*
 * A shaded triangle ready for its rows. Channel values are 16.16 fixed point with the channel
 * value 0..255 in the integer part: a corner's is trunc(channel of colour x shade x 65536).
 * They vary linearly over the rounded corners; 1/z (depth-tested filler only) over the
 * triangle's own corners, on which it is linear in screen space. A pixel's values are those at
 * the point that decides its coverage, (column + 1/2, row), which lies in the triangle of
 * rounded corners: its channels lie within the corners' range but for rounding, and are held
 * there only where rounding could carry one out of 0..255 into the next channel (a corner's at
 * or next to 0 or 255, holdsChannels). 1/z is held within the corners' range: the rounded
 * corners may reach half a pixel past the triangle's own, where 1/z runs past its corners.
 * Filled by setUpShaded (no initializers, see TriangleRows).
 */
struct ShadedSetup {
    TriangleRows rows;
    std::array<Plane, 3> channel;     // red, green, blue
    std::array<std::int64_t, 3> step; // change per pixel
    // The range a channel value is held to: the corners' range, or none at all (the widest
    // values) where rounding cannot carry a value out of 0..255 (see holdsChannels).
    std::array<std::int64_t, 3> low;
    std::array<std::int64_t, 3> high;
    bool holdsChannels = false;
    Plane depth; // without depth, none: 0 everywhere
    double depthLow;
    double depthHigh;
};

// Fills s for a triangle whose corners lie within the guard band; false when nothing is drawn.
bool setUpShaded(const RasterTriangle& t, bool withDepth, ShadedSetup& s);

// One level of a 16.16 channel value or shade level, and the largest channel value (255 and
// every fraction bit).
inline constexpr std::int64_t kLevel = 0x10000;
inline constexpr std::int64_t kChannelMax = 0x00FFFFFF;

// The most that rounding can carry a 16.16 value along a span past its exact course: half a
// unit per pixel for the step over the widest target, and the start's half.
inline constexpr std::int64_t kRoundingReach = (kMaxTargetSide + 1) / 2 + 1;

// Limits of the fixed-point values a span starts from and steps by: far beyond any value a span
// can need, so that no sum over a span overflows 64 bits.
inline constexpr double kFixedStartLimit = 0x1p50;
inline constexpr double kFixedStepLimit = 0x1p40;

// A span's values at its first pixel.
struct ShadedSpanStart {
    std::array<std::int64_t, 3> channel{};
    double w = 0.0;
};

// The planes' values at column 0 of a row.
struct ShadedRow {
    std::array<double, 3> channel{};
    double w = 0.0;
};

inline ShadedSpanStart shadedSpanStart(const ShadedSetup& s, const ShadedRow& row, int first) {
    ShadedSpanStart start;
    const double x = first + 0.5; // the point that decides the pixel's coverage
    for (int c = 0; c < 3; ++c) {
        start.channel[c] = roundClamped64(row.channel[c] + s.channel[c].dx * x, kFixedStartLimit);
    }
    start.w = row.w + s.depth.dx * x;
    return start;
}

// The pixel of three 16.16 channel values within 0..255.
inline std::uint32_t shadedPixel(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return (red & 0x00FF0000u) | ((green >> 8) & 0x0000FF00u) | (blue >> 16);
}

// The checks and the set-up before a shaded triangle's rows; false when nothing is drawn.
inline bool setUpShadedRows(const RasterTriangle& t, bool withDepth, ShadedSetup& s) {
    return cornersWithinBand(t, withDepth) && (!withDepth || t.depth != nullptr) &&
           setUpShaded(t, withDepth, s);
}

// Calls span(setup, row, firstColumn, endColumn, start) for every row of a set-up triangle
// with at least one pixel inside the target.
template <class Span> void shadedRows(const ShadedSetup& s, const RasterTriangle& t, Span&& span) {
    // The planes at column 0 of each row, stepped from row to row.
    ShadedRow row;
    const double top = s.rows.firstRow;
    for (int c = 0; c < 3; ++c) {
        row.channel[c] = s.channel[c].at(0, top);
    }
    row.w = s.depth.at(0, top);
    walkRows(s.rows, t.width, [&](int y, int first, int end) {
        if (end > first) {
            span(s, y, first, end, shadedSpanStart(s, row, first));
        }
        for (int c = 0; c < 3; ++c) {
            row.channel[c] += s.channel[c].dy;
        }
        row.w += s.depth.dy;
    });
}

// Runs the set-up and the rows (see shadedRows).
template <class Span> void fillShadedRows(const RasterTriangle& t, bool withDepth, Span&& span) {
    ShadedSetup s;
    if (setUpShadedRows(t, withDepth, s)) {
        shadedRows(s, t, span);
    }
}

} // namespace vardel
