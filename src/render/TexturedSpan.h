#pragma once

// The span drawing of the fast textured fillers (TexturedFillers.cpp): a row's pixels drawn
// segment by segment, four at a time where SSE2 is there, and the fixed-point course's spans
// (their long ones eight at a time with AVX2).

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "render/RasterTriangle.h"
#include "render/Sse2.h"
#include "render/TexelShading.h"
#include "render/TexturedEights.h"
#include "render/TexturedFillers.h"

namespace vardel {

// The largest texture side whose 16.16 texel coordinates all fit 32 bits.
inline constexpr int kInsideLimit = 32767;

// True when `count` 16.16 texel coordinates, from `first` on and `step` apart, all lie in
// 0..size-1 once shifted, so that none needs holding to the texture's border. They are
// linear: the first and the last decide, and every sum on the way then fits 32 bits, size
// being at most kInsideLimit. Negative values turn into huge unsigned ones and fail too.
inline bool staysInside(std::int32_t first, std::int32_t step, int count, int size) {
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
          table(t.shadeTable->entries()),
          fourAtATime(t.texture->width <= kInsideLimit && t.texture->height <= kInsideLimit),
          columnsInside(std::min(t.texture->width, kInsideLimit)),
          rowsInside(std::min(t.texture->height, kInsideLimit)) {}

    void operator()(const TexturedSetup& s, int y, int first, int end,
                    const TexturedSpanStart& start) const {
        const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(y) * t.pitch() + first;
        const Row row{t.pixels + offset, Depth ? t.depth + offset : nullptr, t.width - first};
        forEachSegment(s, start, end - first, Mono ? 1 : 3, [&](const TexelSegment& g) {
            const bool inside = staysInside(g.u, g.du, g.pixels, columnsInside) &&
                                staysInside(g.v, g.dv, g.pixels, rowsInside);
            if (s.holdsLevels) {
                inside ? draw<false, true>(s, start, g, row) : draw<true, true>(s, start, g, row);
            } else {
                inside ? draw<false, false>(s, start, g, row) : draw<true, false>(s, start, g, row);
            }
        });
    }

    // What the spans of a triangle on the fixed-point course read, copied out of the span
    // once for all its rows.
    struct FixedTexels {
        const std::uint32_t* texels;
        std::ptrdiff_t texelPitch;
        const std::uint8_t* table;
        bool fourAtATime;
        bool eightAtATime; // with AVX2 (the record's eightWide)
    };
    FixedTexels fixedTexels() const {
        return {texels, texelPitch, table, fourAtATime, fourAtATime && t.eightWide};
    }

    // A span on the fixed-point course, `count` pixels from out and depth on, drawn from pixel
    // `first`: its texels lie inside the texture and its levels in the multiply table, so
    // neither is checked or held. Unless HoldDepth is set, 1/z lies within the corners' range
    // at both ends of the span; set, it is held there pixel by pixel.
    template <bool HoldDepth = false>
    static void fixedSpan(const FixedTexels& from, const TexturedSetup& s, std::uint32_t* out,
                          float* depth, std::ptrdiff_t count, const FixedSpanStart& start,
                          std::ptrdiff_t first = 0) {
        // Locals, so that the stores below cannot be taken to change them.
        const std::uint32_t* const texels = from.texels;
        const std::ptrdiff_t texelPitch = from.texelPitch;
        const std::uint8_t* const table = from.table;
        const std::int64_t du = s.uFixed.dx;
        const std::int64_t dv = s.vFixed.dx;
        std::int64_t u = start.u + first * du;
        std::int64_t v = start.v + first * dv;
        FixedLevels<Mono> levels(s, start, first);
        const double w0 = start.w;
        const double dw = s.w.dx;
        double k = static_cast<double>(first); // the pixel's place in the span
        for (std::ptrdiff_t i = first; i < count; ++i, k += 1.0) {
            const std::uint32_t texel = texels[(v >> 32) * texelPitch + (u >> 32)];
            const std::uint32_t colour = levels.shade(texel, table);
            if constexpr (Depth) {
                // Unheld, within the corners' range at both ends of the span (see
                // fillFixedRows), so at every pixel between: the rounded sums are monotonic in k.
                double w = w0 + k * dw;
                if constexpr (HoldDepth) {
                    w = std::clamp(w, s.wLow, s.wHigh);
                }
                const auto nearness = static_cast<float>(w); // as in the buffer
                const bool nearer = depth[i] < nearness;
                depth[i] = nearer ? nearness : depth[i];
                out[i] = nearer ? colour : out[i];
            } else {
                out[i] = colour;
            }
            u += du;
            v += dv;
            levels.next();
        }
    }

    // A span of a triangle drawn linearly throughout (s.linearWhereHeld) whose 1/z needs
    // holding at an end: fixedSpan with 1/z held. Out of line: few spans need it.
    VARDEL_OUT_OF_LINE static void heldFixedSpan(const FixedTexels& from, const TexturedSetup& s,
                                                 std::uint32_t* out, float* depth,
                                                 std::ptrdiff_t count,
                                                 const FixedSpanStart& start) {
        fixedSpan<true>(from, s, out, depth, count, start);
    }

    // True when a span of `count` pixels is drawn by fixedLongSpan: long spans (of large
    // triangles, such as a screen-filling overlay) go four pixels at a time; the short ones of
    // small triangles would spend more on setting that up.
    static bool takesFours(const FixedTexels& from, std::ptrdiff_t count) {
        return VARDEL_SSE2 && count >= 16 && from.fourAtATime;
    }

    // fixedSpan, the groups of eight (with AVX2) or four that fit first and the last pixels one
    // by one; out of line, so that the short spans' loop keeps its registers.
    VARDEL_OUT_OF_LINE static void fixedLongSpan(const FixedTexels& from, const TexturedSetup& s,
                                                 std::uint32_t* out, float* depth,
                                                 std::ptrdiff_t count,
                                                 const FixedSpanStart& start) {
        std::ptrdiff_t first = 0;
#if VARDEL_AVX2
        if (from.eightAtATime) {
            first = count & ~std::ptrdiff_t{7};
            avx2::fixedEights<Mono, Depth>(from.texels, from.texelPitch, s, out, depth, first,
                                           start);
        }
#endif
#if VARDEL_SSE2
        const std::ptrdiff_t fours = count & ~std::ptrdiff_t{3};
        if (fours > first) {
            fixedFours(from, s, out, depth, first, fours, start);
            first = fours;
        }
#endif
        fixedSpan(from, s, out, depth, count, start, first);
    }

private:
#if VARDEL_SSE2
    /*
     * Pixels first to end - 1 (a multiple of four of them) of a span on the fixed-point course,
     * four at a time, computed as fixedSpan computes them: texel coordinates and levels on 64 bits,
     * two pixels a register, whose upper halves are their whole parts; the texels loaded one
     * by one; the multiply table's products worked out (sse2::scaleChannels); 1/z in doubles
     * made floats. Row x width is formed on 16-bit halves, as drawFours does.
     */
    static void fixedFours(const FixedTexels& from, const TexturedSetup& s, std::uint32_t* out,
                           float* depth, std::ptrdiff_t first, std::ptrdiff_t end,
                           const FixedSpanStart& start) {
        constexpr int kChannels = Mono ? 1 : 3;
        // Pixels 0 and 1, pixels 2 and 3, and the step of four pixels, of a value first at
        // pixel 0 and `step` apart.
        struct Pairs {
            __m128i low, high, four;
            Pairs() = default;
            Pairs(std::int64_t first, std::int64_t step)
                : low(_mm_set_epi64x(first + step, first)),
                  high(_mm_set_epi64x(first + 3 * step, first + 2 * step)),
                  four(_mm_set1_epi64x(4 * step)) {}
            // The four pixels' whole parts (the upper 32 bits of each), then on to the next four.
            __m128i next() {
                const __m128i whole = _mm_castps_si128(_mm_shuffle_ps(
                    _mm_castsi128_ps(low), _mm_castsi128_ps(high), _MM_SHUFFLE(3, 1, 3, 1)));
                low = _mm_add_epi64(low, four);
                high = _mm_add_epi64(high, four);
                return whole;
            }
        };
        Pairs u(start.u + first * s.uFixed.dx, s.uFixed.dx);
        Pairs v(start.v + first * s.vFixed.dx, s.vFixed.dx);
        std::array<Pairs, kChannels> level;
        for (int c = 0; c < kChannels; ++c) {
            level[c] = Pairs(start.level[c] + first * s.levelFixed[c].dx, s.levelFixed[c].dx);
        }
        const __m128i pitch = _mm_set1_epi32(static_cast<int>(from.texelPitch));
        const std::uint32_t* const texels = from.texels;
        // Within the corners' range at both ends of the span (see fillFixedRows).
        sse2::Nearness<false> nearness(start.w, s.w.dx, static_cast<double>(first), s.wLow,
                                       s.wHigh);
        for (std::ptrdiff_t i = first; i < end; i += 4) {
            const __m128i column = u.next();
            const __m128i index = _mm_add_epi32(_mm_madd_epi16(v.next(), pitch), column);
            __m128i whole[kChannels];
            for (int c = 0; c < kChannels; ++c) {
                whole[c] = level[c].next();
            }
            writeFour<false>(texels, index, whole, _mm_setzero_si128(), nearness, out + i,
                             Depth ? depth + i : nullptr);
        }
    }

    /*
     * Four pixels from out and depth on: the texels at `index`, loaded one by one, scaled by the
     * multiply table's products (sse2::scaleChannels) with the levels' whole parts (0..255, a
     * register per channel). Written where, with Depth, they are nearer than the depth buffer
     * (1/z from nearness, which the buffer then takes) and, Masked, `keep` is set.
     */
    template <bool Masked>
    static void writeFour(const std::uint32_t* texels, __m128i index,
                          const __m128i (&levels)[Mono ? 1 : 3], __m128i keep,
                          sse2::Nearness<false>& nearness, std::uint32_t* out, float* depth) {
        bool whole = !Masked;
        if constexpr (Depth) {
            const __m128 near = nearness.next();
            const __m128 stored = _mm_loadu_ps(depth);
            const __m128i nearer = _mm_castps_si128(_mm_cmplt_ps(stored, near));
            keep = Masked ? _mm_and_si128(keep, nearer) : nearer;
            // A group hidden whole (as where a surface passes behind another) is not shaded.
            const int kept = _mm_movemask_epi8(keep);
            if (kept == 0) {
                return;
            }
            // One drawn whole, as most are, stores without blending.
            whole = kept == 0xFFFF;
            if (whole) {
                _mm_storeu_ps(depth, near);
            } else {
                _mm_storeu_ps(depth, _mm_castsi128_ps(sse2::select(keep, _mm_castps_si128(stored),
                                                                   _mm_castps_si128(near))));
            }
        }
        alignas(16) std::int32_t lane[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(lane), index);
        const __m128i texel =
            _mm_setr_epi32(static_cast<int>(texels[lane[0]]), static_cast<int>(texels[lane[1]]),
                           static_cast<int>(texels[lane[2]]), static_cast<int>(texels[lane[3]]));
        __m128i low;
        __m128i high;
        if constexpr (Mono) {
            sse2::spreadLevels(levels[0], low, high);
        } else {
            sse2::spreadLevels(levels[0], levels[1], levels[2], low, high);
        }
        const __m128i shaded = sse2::scaleChannels(texel, low, high);
        auto* const pixels = reinterpret_cast<__m128i*>(out);
        if (whole) {
            _mm_storeu_si128(pixels, shaded);
        } else {
            _mm_storeu_si128(pixels, sse2::select(keep, _mm_loadu_si128(pixels), shaded));
        }
    }
#endif

    // Where a span's first pixel and its depth go, and how many pixels the row has from there.
    struct Row {
        std::uint32_t* out;
        float* depth;
        int room;
    };

    // Texel coordinates are held to the texture's border where they leave it (HoldTexels),
    // levels to the corners' range where the triangle's can leave it (HoldLevels); 1/z is held
    // to the corners' range. Segments that need neither go four pixels at a time where SSE2 is
    // there. The depth test chooses what to store instead of branching: which pixels pass is as
    // good as random where surfaces overlap, and a mispredicted branch costs more than shading
    // a pixel that is not kept. Only a group of four hidden whole is passed over.
    template <bool HoldTexels, bool HoldLevels>
    void draw(const TexturedSetup& s, const TexturedSpanStart& start, const TexelSegment& g,
              const Row& row) const {
        const Shading<Mono, HoldLevels> shading(s, start, g.first);
        int i = 0;
#if VARDEL_SSE2
        if constexpr (!HoldTexels && !HoldLevels) {
            if (fourAtATime && g.pixels >= 8) {
                // The last group may reach past the segment, its extra lanes masked off, as
                // long as it stays within the row.
                const int fours = g.first + g.pixels + 3 <= row.room ? g.pixels : g.pixels & ~3;
                if (fours > 0) {
                    drawFours(s, start, g, shading, row, fours);
                    i = fours;
                }
            }
        }
#endif
        // Locals, so that the stores below cannot be taken to change them.
        const std::uint32_t* const texels = this->texels;
        const std::ptrdiff_t texelPitch = this->texelPitch;
        const std::uint8_t* const table = this->table;
        const int lastColumn = t.texture->width - 1;
        const int lastRow = t.texture->height - 1;
        const auto shaded = [&](int at) {
            int column = 0;
            int texelRow = 0;
            if constexpr (HoldTexels) { // on 64 bits: a long span may step far off the texture
                const auto along = [&](std::int32_t from, std::int32_t step, int last) {
                    const std::int64_t value = (from + static_cast<std::int64_t>(at) * step) >> 16;
                    return static_cast<int>(std::clamp<std::int64_t>(value, 0, last));
                };
                column = along(g.u, g.du, lastColumn);
                texelRow = along(g.v, g.dv, lastRow);
            } else {
                column = (g.u + at * g.du) >> 16;
                texelRow = (g.v + at * g.dv) >> 16;
            }
            return shading.shade(texels[texelRow * texelPitch + column], table, at);
        };
        std::uint32_t* const out = row.out + g.first;
        double k = g.first + i; // the pixel's place in the span
        for (; i < g.pixels; ++i, k += 1.0) {
            if constexpr (Depth) {
                const double w = start.w + k * s.w.dx;
                const double held = w > s.wLow ? (w < s.wHigh ? w : s.wHigh) : s.wLow;
                const auto nearness = static_cast<float>(held); // as in the buffer
                float& stored = row.depth[g.first + i];
                const bool nearer = stored < nearness;
                const std::uint32_t colour = shaded(i);
                stored = nearer ? nearness : stored;
                out[i] = nearer ? colour : out[i];
            } else {
                out[i] = shaded(i);
            }
        }
    }

#if VARDEL_SSE2
    /*
     * Pixels 0 to count - 1 of a segment that needs no holding, four at a time (those past the
     * segment masked off), computed as the loop above computes them: 1/z in doubles made
     * floats, texel coordinates and levels in 32-bit lanes stepping four pixels a group (the
     * sums wrap as the loop's do), the texels loaded one by one, and the multiply table's
     * products worked out (sse2::scaleChannels). Row x width is formed on 16-bit halves,
     * which textures under 32768 texels a side allow.
     */
    void drawFours(const TexturedSetup& s, const TexturedSpanStart& start, const TexelSegment& g,
                   const Shading<Mono, false>& shading, const Row& row, int count) const {
        constexpr int kChannels = Mono ? 1 : 3;
        const auto four = [](std::int32_t step) { return _mm_set1_epi32(step * 4); };
        __m128i u = _mm_add_epi32(_mm_set1_epi32(g.u), sse2::laneSteps(g.du));
        __m128i v = _mm_add_epi32(_mm_set1_epi32(g.v), sse2::laneSteps(g.dv));
        const __m128i uFour = four(g.du);
        const __m128i vFour = four(g.dv);
        __m128i level[kChannels];
        __m128i levelFour[kChannels];
        for (int c = 0; c < kChannels; ++c) {
            const auto step = static_cast<std::int32_t>(shading.step[c]);
            level[c] = _mm_add_epi32(_mm_set1_epi32(static_cast<std::int32_t>(shading.level[c])),
                                     sse2::laneSteps(step));
            levelFour[c] = four(step);
        }
        const __m128i pitch = _mm_set1_epi32(static_cast<int>(texelPitch));
        const std::uint32_t* const texels = this->texels;
        std::uint32_t* const out = row.out + g.first;
        float* const depth = Depth ? row.depth + g.first : nullptr;
        // No segment drawn here steps across a held 1/z (see forEachSegment): its ends, and so
        // all its pixels, lie within the corners' range.
        sse2::Nearness<false> nearness(start.w, s.w.dx, g.first, s.wLow, s.wHigh);
        for (int i = 0; i < count; i += 4) {
            const __m128i valid = sse2::firstLanes(g.pixels - i);
            // Masked lanes read texel 0: their coordinates may lie off the texture.
            const __m128i index =
                _mm_and_si128(valid, _mm_add_epi32(_mm_madd_epi16(_mm_srai_epi32(v, 16), pitch),
                                                   _mm_srai_epi32(u, 16)));
            __m128i whole[kChannels];
            for (int c = 0; c < kChannels; ++c) {
                whole[c] = _mm_srli_epi32(level[c], 16);
            }
            writeFour<true>(texels, index, whole, valid, nearness, out + i,
                            Depth ? depth + i : nullptr);
            u = _mm_add_epi32(u, uFour);
            v = _mm_add_epi32(v, vFour);
            for (int c = 0; c < kChannels; ++c) {
                level[c] = _mm_add_epi32(level[c], levelFour[c]);
            }
        }
    }
#endif

    const RasterTriangle& t;
    const std::uint32_t* texels;
    std::ptrdiff_t texelPitch;
    const std::uint8_t* table;
    // Row x width fits the groups' 16-bit multiplications (drawFours, fixedFours).
    bool fourAtATime;
    // The texture's columns and rows that segments may step through without holding: past
    // kInsideLimit texels a side, 16.16 coordinates need not fit 32 bits, and the others are
    // held (on 64 bits).
    int columnsInside;
    int rowsInside;
};

} // namespace vardel
