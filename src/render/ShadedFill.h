#pragma once

// Set-up and row walk of the shaded fillers, shared by the fast fillers and the reference ones.

#include <array>
#include <cstdint>

#include "render/RasterMath.h"
#include "render/RasterTriangle.h"
#include "render/TriangleWalk.h"

namespace vardel {

// What a left edge carries from row to row. Fixed point 16.16: x is the column with the pixel
// centre at the half (a corner at column c starts at c * 65536 + 32768, so x >> 16 rounds to
// the nearest column); each channel holds the channel value 0..255 in its integer part.
struct ShadedEdge {
    std::int32_t x = 0;
    std::array<std::int32_t, 3> channel{}; // red, green, blue
    double w = 0.0;                        // 1/z, depth-tested filler only

    ShadedEdge& operator+=(const ShadedEdge& s) {
        x += s.x;
        for (int c = 0; c < 3; ++c) {
            channel[c] += s.channel[c];
        }
        w += s.w;
        return *this;
    }
};

struct ShadedSetup : TriangleRows<ShadedEdge, std::int32_t> {
    std::array<std::int32_t, 3> step{}; // channel change per pixel, 16.16
    double depthStep = 0.0;             // 1/z change per pixel
};

// Fills s for a triangle whose corners lie inside the target; false when nothing is drawn.
bool setUpShaded(const RasterTriangle& t, bool withDepth, ShadedSetup& s);

// The largest 16.16 channel value: 255 and all fraction bits.
inline constexpr std::int32_t kChannelMax = 0x00FFFFFF;

// The pixel of three 16.16 channel values within 0..kChannelMax.
inline std::uint32_t shadedPixel(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return (red & 0x00FF0000u) | ((green >> 8) & 0x0000FF00u) | (blue >> 16);
}

// A channel value held to 0..kChannelMax.
inline std::uint32_t heldChannel(std::int64_t value) {
    return static_cast<std::uint32_t>(value < 0 ? 0 : (value > kChannelMax ? kChannelMax : value));
}

// Runs the set-up and calls span(setup, row, firstColumn, endColumn, leftEdge) for every row
// with at least one pixel.
template <class Span> void fillShadedRows(const RasterTriangle& t, bool withDepth, Span&& span) {
    if (!cornersInside(t, withDepth) || (withDepth && t.depth == nullptr)) {
        return;
    }
    ShadedSetup s;
    if (!setUpShaded(t, withDepth, s)) {
        return;
    }
    walkRows(s, [&](int y, const ShadedEdge& left, std::int32_t right) {
        const int first = left.x >> 16;
        const int end = right >> 16;
        if (end > first) {
            span(s, y, first, end, left);
        }
    });
}

} // namespace vardel
