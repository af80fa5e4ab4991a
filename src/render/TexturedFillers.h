#pragma once

// Set-up and row walk of the textured fillers, shared by the fast fillers and the reference
// ones.

#include <array>
#include <cstdint>
#include <limits>

#include "render/RasterMath.h"
#include "render/RasterTriangle.h"
#include "render/TriangleWalk.h"
#include "scene/MultiplyTable.h"
#include "scene/Texture.h"

namespace vardel {

// What a left edge carries from row to row: its column, u/z, v/z and 1/z (all linear in screen
// space), and the intensities as 16.16 integers (intensity x 255 x 65536).
struct TexturedEdge {
    double x = 0.0;
    double u = 0.0;
    double v = 0.0;
    double w = 0.0;
    std::array<std::int32_t, 3> intensity{}; // red, green, blue; mono: red only

    TexturedEdge& operator+=(const TexturedEdge& s) {
        x += s.x;
        u += s.u;
        v += s.v;
        w += s.w;
        for (int c = 0; c < 3; ++c) {
            intensity[c] += s.intensity[c];
        }
        return *this;
    }
};

struct TexturedSetup : TriangleRows<TexturedEdge, double> {
    double uStep = 0.0; // u/z, v/z and 1/z change per pixel
    double vStep = 0.0;
    double wStep = 0.0;
    std::array<std::int32_t, 3> intensityStep{}; // 8.8 per pixel
};

// Fills s for a triangle whose corners lie inside the target; false when nothing is drawn.
bool setUpTextured(const RasterTriangle& t, bool mono, TexturedSetup& s);

// Pixels between two exact texel-coordinate computations; the shift by 4 in the spans divides
// by it.
inline constexpr int kBlockPixels = 16;

// A texel coordinate q/w in 16.16, rounded to nearest. Held to +-(2^30 - 1), that is +-16384
// texels, far beyond any texture's border, so that a block's difference and steps cannot
// overflow; a w of zero (possible only at extrapolated block ends) is treated as the smallest
// positive number instead of dividing by zero.
inline std::int32_t texelFixed(double q, double w) {
    constexpr std::int32_t kLimit = (1 << 30) - 1;
    const double scale = 65536.0 / (w != 0.0 ? w : std::numeric_limits<double>::denorm_min());
    return roundClamped(scale * q, -kLimit, kLimit);
}

// Texture and multiply table fields the textured fillers need.
inline bool usableTexture(const RasterTriangle& t) {
    const Texture* texture = t.texture;
    return texture != nullptr && t.shadeTable != nullptr && texture->width > 0 &&
           texture->height > 0 &&
           texture->pixels.size() >=
               static_cast<std::size_t>(texture->width) * static_cast<std::size_t>(texture->height);
}

// u/z, v/z and 1/z at a span's first pixel.
struct SpanStart {
    double u = 0.0;
    double v = 0.0;
    double w = 0.0;
};

// Runs the set-up and calls span(setup, row, firstColumn, endColumn, start, intensity) for
// every row with at least one pixel: start holds the left edge's u/z, v/z and 1/z moved to the
// first pixel's column, intensity the left edge's intensities.
template <class Span>
void fillTexturedRows(const RasterTriangle& t, bool mono, bool withDepth, Span&& span) {
    if (!cornersInside(t, true) || !usableTexture(t) || (withDepth && t.depth == nullptr)) {
        return;
    }
    TexturedSetup s;
    if (!setUpTextured(t, mono, s)) {
        return;
    }
    walkRows(s, [&](int y, const TexturedEdge& left, double right) {
        const int first = roundClamped(left.x, 0, t.width - 1);
        const int end = roundClamped(right, 0, t.width - 1);
        if (end > first) {
            const double offset = first - left.x;
            const SpanStart start{left.u + offset * s.uStep, left.v + offset * s.vStep,
                                  left.w + offset * s.wStep};
            span(s, y, first, end, start, left.intensity);
        }
    });
}

} // namespace vardel
