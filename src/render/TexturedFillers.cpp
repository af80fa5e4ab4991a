#include "render/TexturedFillers.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <type_traits>

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
    std::array<double, 3> w{};
    std::array<double, 3> u{};
    std::array<double, 3> v{};
    for (int k = 0; k < 3; ++k) {
        w[k] = 1.0 / t.screen[k]->z;
        u[k] = t.uv[k]->u * w[k];
        v[k] = t.uv[k]->v * w[k];
    }
    s.u = exact.plane(u);
    s.v = exact.plane(v);
    s.w = exact.plane(w);
    s.wLow = lowest(w[0], w[1], w[2]);
    s.wHigh = highest(w[0], w[1], w[2]);
    const auto range = [&](double TexCoord::*q) {
        return highest(t.uv[0]->*q, t.uv[1]->*q, t.uv[2]->*q) -
               lowest(t.uv[0]->*q, t.uv[1]->*q, t.uv[2]->*q);
    };
    s.affine =
        (s.wHigh - s.wLow) / s.wLow * std::max(range(&TexCoord::u), range(&TexCoord::v)) / 2.0 <=
        kAffineLimit;
    if (s.affine) {
        s.uLinear = exact.plane({t.uv[0]->u, t.uv[1]->u, t.uv[2]->u});
        s.vLinear = exact.plane({t.uv[0]->v, t.uv[1]->v, t.uv[2]->v});
        constexpr double kLimit = 1 << 29;
        s.du = static_cast<std::int32_t>(roundClamped64(s.uLinear.dx * 65536.0, kLimit));
        s.dv = static_cast<std::int32_t>(roundClamped64(s.vLinear.dx * 65536.0, kLimit));
    }
    // Linear triangles cut few spans into segments (see forEachSegment); those check their
    // segments one by one rather than every such triangle paying for the bound.
    s.straight = !s.affine && straightEnough(s, t);

    PlaneFit rounded;
    rounded.fit(s.rows);
    const int channels = mono ? 1 : 3;
    for (int c = 0; c < channels; ++c) {
        std::array<double, 3> level{};
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
        s.low.fill(std::numeric_limits<std::int64_t>::min());
        s.high.fill(std::numeric_limits<std::int64_t>::max());
    }
    return true;
}

namespace {

// Shading of a texel through the multiply table: row i of the table scales a channel by i/255,
// and a level's integer part (bits 16 to 23 of its 16.16 value) picks the row. The level of
// pixel i is the segment's first one plus i steps. Held, each is kept to the corners' range;
// unheld (a triangle whose levels cannot leave it by a level, see TexturedSetup), the sums run
// on 32 bits and every row lies in the table.
template <bool Mono, bool Held> struct Shading {
    static constexpr int kChannels = Mono ? 1 : 3;
    using Level = std::conditional_t<Held, std::int64_t, std::uint32_t>;
    std::array<Level, kChannels> level{};
    std::array<Level, kChannels> step{};
    std::array<std::int64_t, kChannels> low{};
    std::array<std::int64_t, kChannels> high{};

    Shading(const TexturedSetup& s, const TexturedSpanStart& start, int pixel) {
        for (int c = 0; c < kChannels; ++c) {
            level[c] = static_cast<Level>(start.level[c] + pixel * s.step[c]);
            step[c] = static_cast<Level>(s.step[c]);
            low[c] = s.low[c];
            high[c] = s.high[c];
        }
    }

    // The multiply-table row of channel c at pixel i.
    int row(int c, int i) const {
        const Level at = level[c] + static_cast<Level>(i) * step[c];
        if constexpr (Held) {
            return static_cast<int>(std::clamp<std::int64_t>(at, low[c], high[c]) >> 16);
        } else {
            return static_cast<int>(at >> 16);
        }
    }

    std::uint32_t shade(std::uint32_t texel, const std::uint8_t* table, int i) const {
        const int red = row(0, i);
        const int green = Mono ? red : row(1, i);
        const int blue = Mono ? red : row(2, i);
        return table[blue * 256 + (texel & 0xFF)] |
               static_cast<std::uint32_t>(table[green * 256 + ((texel >> 8) & 0xFF)]) << 8 |
               static_cast<std::uint32_t>(table[red * 256 + ((texel >> 16) & 0xFF)]) << 16 |
               (texel & 0xFF000000u);
    }
};

// True when `count` 16.16 texel coordinates, from `first` on and `step` apart, all lie in
// 0..size-1 once shifted, so that none needs holding to the texture's border. They are
// linear: the first and the last decide (and every sum on the way then fits 32 bits).
// Negative values turn into huge unsigned ones and fail too.
bool staysInside(std::int32_t first, std::int32_t step, int count, int size) {
    const std::int64_t last = first + static_cast<std::int64_t>(step) * (count - 1);
    const auto end = static_cast<std::uint64_t>(size) << 16;
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(first)) < end &&
           static_cast<std::uint64_t>(last) < end;
}

// One row of the fast fillers, segment by segment (see kSegmentPixels). A segment whose values
// all lie in range (texel coordinates inside the texture, 1/z and levels within the corners'
// range) is drawn without holding any, the others with. Only a span's first pixel (and, by
// rounding, its last) can have values outside the corners' range; such an end stands alone in
// its segment, so that the others need no holding.
template <bool Mono, bool Depth> class TexturedSpan {
public:
    explicit TexturedSpan(const RasterTriangle& t)
        : t(t), texels(t.texture->pixels.data()), texelPitch(t.texture->width),
          table(t.shadeTable->entries()) {}

    void operator()(const TexturedSetup& s, int y, int first, int end,
                    const TexturedSpanStart& start) const {
        const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(y) * t.pitch() + first;
        std::uint32_t* const out = t.pixels + offset;
        float* const depth = Depth ? t.depth + offset : nullptr;
        double w = start.w; // 1/z of the next pixel, stepped from pixel to pixel
        forEachSegment(s, start, end - first, Mono ? 1 : 3, [&](const TexelSegment& g) {
            const bool inside = staysInside(g.u, g.du, g.pixels, t.texture->width) &&
                                staysInside(g.v, g.dv, g.pixels, t.texture->height);
            if (s.holdsLevels) {
                inside ? draw<false, true>(s, start, g, out, depth, w)
                       : draw<true, true>(s, start, g, out, depth, w);
            } else {
                inside ? draw<false, false>(s, start, g, out, depth, w)
                       : draw<true, false>(s, start, g, out, depth, w);
            }
        });
    }

private:
    // Texel coordinates are held to the texture's border where they leave it (HoldTexels),
    // levels to the corners' range where the triangle's can leave it (HoldLevels). 1/z is held
    // to the corners' range at every pixel: two instructions, less than finding the pixels
    // that need it. Pixel i's texel and levels are computed from the segment's start, so that
    // a pixel the depth test rejects costs little more than the test.
    template <bool HoldTexels, bool HoldLevels>
    void draw(const TexturedSetup& s, const TexturedSpanStart& start, const TexelSegment& g,
              std::uint32_t* out, float* depth, double& w) const {
        // Locals, so that the stores below cannot be taken to change them.
        const std::uint32_t* const texels = this->texels;
        const std::ptrdiff_t texelPitch = this->texelPitch;
        const std::uint8_t* const table = this->table;
        const int lastColumn = t.texture->width - 1;
        const int lastRow = t.texture->height - 1;
        const Shading<Mono, HoldLevels> shading(s, start, g.first);
        const auto shaded = [&](int i) {
            int column = 0;
            int row = 0;
            if constexpr (HoldTexels) { // on 64 bits: a long span may step far off the texture
                const auto along = [&](std::int32_t from, std::int32_t step, int last) {
                    const std::int64_t at = (from + static_cast<std::int64_t>(i) * step) >> 16;
                    return static_cast<int>(std::clamp<std::int64_t>(at, 0, last));
                };
                column = along(g.u, g.du, lastColumn);
                row = along(g.v, g.dv, lastRow);
            } else {
                column = (g.u + i * g.du) >> 16;
                row = (g.v + i * g.dv) >> 16;
            }
            return shading.shade(texels[row * texelPitch + column], table, i);
        };
        out += g.first;
        for (int i = 0; i < g.pixels; ++i) {
            if constexpr (Depth) {
                const double held = w > s.wLow ? (w < s.wHigh ? w : s.wHigh) : s.wLow;
                const auto nearness = static_cast<float>(held); // as in the buffer
                if (depth[g.first + i] < nearness) {
                    depth[g.first + i] = nearness;
                    out[i] = shaded(i);
                }
                w += s.w.dx;
            } else {
                out[i] = shaded(i);
            }
        }
    }

    const RasterTriangle& t;
    const std::uint32_t* texels;
    std::ptrdiff_t texelPitch;
    const std::uint8_t* table;
};

template <bool Mono, bool Depth> VARDEL_INLINE_CALLS void fillTextured(const RasterTriangle& t) {
    if (usableTexture(t)) { // the span reads the texture and the table from the start
        fillTexturedRows(t, Mono, Depth, TexturedSpan<Mono, Depth>(t));
    }
}

} // namespace

void fillTexturedTriangle(const RasterTriangle& triangle) {
    fillTextured<false, false>(triangle);
}

void fillTexturedTriangleMono(const RasterTriangle& triangle) {
    fillTextured<true, false>(triangle);
}

void fillTexturedTriangleDepth(const RasterTriangle& triangle) {
    fillTextured<false, true>(triangle);
}

void fillTexturedTriangleMonoDepth(const RasterTriangle& triangle) {
    fillTextured<true, true>(triangle);
}

} // namespace vardel
