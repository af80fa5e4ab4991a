#include "render/TexturedFillers.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include "render/Sse2.h"
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
        const double largest = std::max(
            {std::abs(t.uv[0]->*corner), std::abs(t.uv[1]->*corner), std::abs(t.uv[2]->*corner)});
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
    s.wLow = std::min({w[0], w[1], w[2]});
    s.wHigh = std::max({w[0], w[1], w[2]});
    s.straight = straightEnough(s, t);

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
        s.low[c] = static_cast<std::int64_t>(std::min({level[0], level[1], level[2]}));
        s.high[c] = static_cast<std::int64_t>(std::max({level[0], level[1], level[2]}));
        const std::int64_t reach = std::abs(s.step[c]);
        s.holdsLevels = s.holdsLevels || reach >= kLevel || s.low[c] < reach + kLevel ||
                        s.high[c] + reach + kLevel > kChannelMax;
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
// pixel i is the segment's first one plus i steps. Unheld, every level lies within the
// corners' range (so every row within the table) and the sums run on 32 bits; held, each is
// kept to that range.
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
// linear: the first and the last decide. Negative values turn into huge unsigned ones and
// fail too.
bool staysInside(std::int32_t first, std::int32_t step, int count, int size) {
    const std::int32_t last = first + step * (count - 1);
    const auto end = static_cast<std::uint32_t>(size) << 16;
    return static_cast<std::uint32_t>(first) < end && static_cast<std::uint32_t>(last) < end;
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
        forEachSegment(s, start, end - first, Mono ? 1 : 3, [&](const TexelSegment& g) {
            if (!g.held && staysInside(g.u, g.du, g.pixels, t.texture->width) &&
                staysInside(g.v, g.dv, g.pixels, t.texture->height)) {
                draw<false>(s, start, g, out, depth);
            } else {
                draw<true>(s, start, g, out, depth);
            }
        });
    }

private:
    // Held: texel coordinates held to the texture's border, 1/z and levels to the corners'
    // range. Pixel i's values are computed from the segment's start, so that a pixel the depth
    // test rejects costs no more than the test.
    template <bool Held>
    void draw(const TexturedSetup& s, const TexturedSpanStart& start, const TexelSegment& g,
              std::uint32_t* out, float* depth) const {
        const int pixels = g.pixels;
        // Locals, so that the stores below cannot be taken to change them.
        const std::uint32_t* const texels = this->texels;
        const std::ptrdiff_t texelPitch = this->texelPitch;
        const std::uint8_t* const table = this->table;
        const int lastColumn = t.texture->width - 1;
        const int lastRow = t.texture->height - 1;
        const Shading<Mono, Held> shading(s, start, g.first);
        const auto shaded = [&](int i) {
            int column = (g.u + i * g.du) >> 16;
            int row = (g.v + i * g.dv) >> 16;
            if constexpr (Held) {
                column = std::clamp(column, 0, lastColumn);
                row = std::clamp(row, 0, lastRow);
            }
            return shading.shade(texels[row * texelPitch + column], table, i);
        };
        out += g.first;
        int i = 0;
#if VARDEL_SSE2
        if constexpr (!Held) {
            for (; i + 4 <= pixels; i += 4) {
                drawFour(s, start, g, shading, out + i, Depth ? depth + g.first + i : nullptr, i);
            }
        }
#endif
        double k = g.first + i; // the pixel's place in the span: 1/z is worked out afresh
        for (; i < pixels; ++i, k += 1.0) {
            if constexpr (Depth) {
                double w = start.w + k * s.w.dx;
                if constexpr (Held) {
                    w = std::clamp(w, s.wLow, s.wHigh);
                }
                const auto nearness = static_cast<float>(w); // as in the buffer
                if (depth[g.first + i] < nearness) {
                    depth[g.first + i] = nearness;
                    out[i] = shaded(i);
                }
            } else {
                out[i] = shaded(i);
            }
        }
    }

#if VARDEL_SSE2
    /*
     * Pixels i to i + 3 of an unheld segment, computed as the loop above computes them: the
     * same 1/z in doubles made floats, the same texel coordinates and levels in 32-bit lanes,
     * and the multiply table's products worked out (see sse2::scaleChannels).
     */
    void drawFour(const TexturedSetup& s, const TexturedSpanStart& start, const TexelSegment& g,
                  const Shading<Mono, false>& shading, std::uint32_t* out, float* depth,
                  int i) const {
        const auto times = [&](std::int32_t step) {
            return _mm_setr_epi32(0, step, 2 * step, 3 * step);
        };
        // The texels' addresses as the scalar loop finds them: loading four texels by
        // address is cheaper than any way of gathering them from vector lanes.
        const auto texelAt = [&](int j) {
            const int column = (g.u + (i + j) * g.du) >> 16;
            const int row = (g.v + (i + j) * g.dv) >> 16;
            return static_cast<int>(texels[row * texelPitch + column]);
        };
        const __m128i texel = _mm_setr_epi32(texelAt(0), texelAt(1), texelAt(2), texelAt(3));
        // Levels' rows in 32-bit lanes, then per pixel in the 16-bit lanes of its channels.
        const auto rows = [&](int c) {
            const auto first = static_cast<std::int32_t>(
                shading.level[c] + static_cast<std::uint32_t>(i) * shading.step[c]);
            return _mm_srli_epi32(_mm_add_epi32(_mm_set1_epi32(first),
                                                times(static_cast<std::int32_t>(shading.step[c]))),
                                  16);
        };
        __m128i low;
        __m128i high;
        if constexpr (Mono) {
            const __m128i r = rows(0);
            const __m128i pair = _mm_or_si128(r, _mm_slli_epi32(r, 16));
            low = _mm_unpacklo_epi32(pair, pair);
            high = _mm_unpackhi_epi32(pair, pair);
        } else {
            const __m128i blueGreen = _mm_or_si128(rows(2), _mm_slli_epi32(rows(1), 16));
            const __m128i red = rows(0);
            low = _mm_unpacklo_epi32(blueGreen, red);
            high = _mm_unpackhi_epi32(blueGreen, red);
        }
        const __m128i shaded = sse2::scaleChannels(texel, low, high);
        auto* const pixels = reinterpret_cast<__m128i*>(out);
        if constexpr (Depth) {
            const double k = g.first + i;
            const __m128d dx = _mm_set1_pd(s.w.dx);
            const __m128d w0 = _mm_set1_pd(start.w);
            const __m128d w01 = _mm_add_pd(w0, _mm_mul_pd(_mm_setr_pd(k, k + 1.0), dx));
            const __m128d w23 = _mm_add_pd(w0, _mm_mul_pd(_mm_setr_pd(k + 2.0, k + 3.0), dx));
            const __m128 nearness = sse2::toFloats(w01, w23);
            const __m128 stored = _mm_loadu_ps(depth);
            const __m128i nearer = _mm_castps_si128(_mm_cmplt_ps(stored, nearness));
            _mm_storeu_ps(depth, _mm_castsi128_ps(sse2::select(nearer, _mm_castps_si128(stored),
                                                               _mm_castps_si128(nearness))));
            _mm_storeu_si128(pixels, sse2::select(nearer, _mm_loadu_si128(pixels), shaded));
        } else {
            _mm_storeu_si128(pixels, shaded);
        }
    }
#endif

    const RasterTriangle& t;
    const std::uint32_t* texels;
    std::ptrdiff_t texelPitch;
    const std::uint8_t* table;
};

// Every call made inside a filler is inlined into it (GCC and Clang): the set-up, the row walk
// and the span are too large for the compiler's own judgement but run for every triangle and
// row, and the calls between them cost more than small triangles' pixels.
#if defined(__GNUC__)
#define VARDEL_INLINE_CALLS [[gnu::flatten]]
#else
#define VARDEL_INLINE_CALLS
#endif

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
