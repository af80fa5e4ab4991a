#pragma once

// The long spans of the fixed-point course eight pixels at a time, for processors with AVX2
// (see Avx2.h): the values TexturedSpan::fixedFours works out, two of its groups side by side.

#include <cstddef>
#include <cstdint>

#include "render/Avx2.h"
#include "render/TexturedFillers.h"

namespace vardel {

#if VARDEL_AVX2
namespace avx2 {

// A value of eight pixels on 64 bits: pixels 0, 1, 4 and 5 in `low`, 2, 3, 6 and 7 in `high`
// (see wholeParts), and the step of eight pixels.
struct EightValues {
    __m256i low;
    __m256i high;
    __m256i eight;
};

// The value first at pixel 0 and `step` apart.
VARDEL_AVX2_FUNCTION inline EightValues eightValues(std::int64_t first, std::int64_t step) {
    return {
        _mm256_setr_epi64x(first, first + step, first + 4 * step, first + 5 * step),
        _mm256_setr_epi64x(first + 2 * step, first + 3 * step, first + 6 * step, first + 7 * step),
        _mm256_set1_epi64x(8 * step)};
}

/*
 * The texels at the eight lanes of `index`, loaded one by one (a gather took longer here). The
 * indices go through memory and each two texels are joined in a general register: taken out of
 * the vector register lane by lane, and the texels put in lane by lane, they kept the vector
 * units busier than the loads and the joins do. (The empty asm statements keep the compiler
 * from turning the code back into those lane moves.) The indices are never negative: read as
 * unsigned, they need no sign extension before addressing.
 */
VARDEL_AVX2_FUNCTION inline __m256i loadTexels(const std::uint32_t* texels, __m256i index) {
    alignas(32) std::uint32_t lane[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lane), index);
    asm("" : "+m"(lane));
    const auto pair = [&](int first) {
        auto both = static_cast<long long>(texels[lane[first]] |
                                           (std::uint64_t{texels[lane[first + 1]]} << 32));
        asm("" : "+r"(both));
        return both;
    };
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_set_epi64x(pair(2), pair(0))),
                                   _mm_set_epi64x(pair(6), pair(4)), 1);
}

// The eight pixels' whole parts, in order, then on to the next eight.
VARDEL_AVX2_FUNCTION inline __m256i nextWholeParts(EightValues& value) {
    const __m256i whole = wholeParts(value.low, value.high);
    value.low = _mm256_add_epi64(value.low, value.eight);
    value.high = _mm256_add_epi64(value.high, value.eight);
    return whole;
}

/*
 * Pixels 0 to count - 1 (a multiple of eight) of a span on the fixed-point course, from out and
 * depth on: texel coordinates and levels on 64 bits, whose upper halves are their whole parts;
 * the texels loaded one by one; the multiply table's products worked out; 1/z in doubles made
 * floats (within the corners' range at both ends of the span, see fillFixedRows). Row x width is
 * formed on 16-bit halves, as the groups of four form it. A group hidden whole is not shaded.
 */
template <bool Mono, bool Depth>
VARDEL_AVX2_FUNCTION void fixedEights(const std::uint32_t* texels, std::ptrdiff_t texelPitch,
                                      const TexturedSetup& s, std::uint32_t* out, float* depth,
                                      std::ptrdiff_t count, const FixedSpanStart& start) {
    constexpr int kChannels = Mono ? 1 : 3;
    EightValues u = eightValues(start.u, s.uFixed.dx);
    EightValues v = eightValues(start.v, s.vFixed.dx);
    EightValues level[kChannels];
    for (int c = 0; c < kChannels; ++c) {
        level[c] = eightValues(start.level[c], s.levelFixed[c].dx);
    }
    const __m256i pitch = _mm256_set1_epi32(static_cast<int>(texelPitch));
    const __m256d w = _mm256_set1_pd(start.w);
    const __m256d slope = _mm256_set1_pd(s.w.dx);
    EightPlaces places = eightPlaces(0.0);
    for (std::ptrdiff_t i = 0; i < count; i += 8) {
        const __m256i column = nextWholeParts(u);
        const __m256i index = _mm256_add_epi32(_mm256_madd_epi16(nextWholeParts(v), pitch), column);
        __m256i whole[kChannels];
        for (int c = 0; c < kChannels; ++c) {
            whole[c] = nextWholeParts(level[c]);
        }
        [[maybe_unused]] __m256i keep{}; // with depth: the nearer lanes, which masked stores write
        if constexpr (Depth) {
            const __m256 near = nextNearness<false>(places, w, slope, w, w);
            const __m256 nearer = _mm256_cmp_ps(_mm256_loadu_ps(depth + i), near, _CMP_LT_OQ);
            if (_mm256_movemask_ps(nearer) == 0) {
                continue;
            }
            keep = _mm256_castps_si256(nearer);
            _mm256_maskstore_ps(depth + i, keep, near);
        }
        const __m256i texel = loadTexels(texels, index);
        __m256i low;
        __m256i high;
        if constexpr (Mono) {
            spreadLevels(whole[0], low, high);
        } else {
            spreadLevels(whole[0], whole[1], whole[2], low, high);
        }
        const __m256i shaded = scaleChannels(texel, low, high);
        if constexpr (Depth) {
            _mm256_maskstore_epi32(reinterpret_cast<int*>(out + i), keep, shaded);
        } else {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), shaded);
        }
    }
}

} // namespace avx2
#endif

#if VARDEL_AVX2
// What the short spans of a triangle on the fixed-point course share when drawn as groups of
// eight (avx2::fixedShortEight): the texel coordinates' and levels' offsets of a group's pixels
// 0 to 7 from its first one, in the lane order of avx2::wholeParts (pixels 0, 1, 4, 5, then 2,
// 3, 6, 7); 1/z's; and the texture. Made once per triangle; the steps stay in the set-up.
struct ShortEightLanes {
    alignas(32) std::int64_t u[8];
    alignas(32) std::int64_t v[8];
    alignas(32) std::int64_t level[3][8];
    alignas(32) double wSteps[16]; // k x the step of 1/z, pixels 0 to 15, in order
    alignas(32) double wLow[4];    // the corners' range of 1/z
    alignas(32) double wHigh[4];
    // Values every group reads as they are, kept in memory, where a group reads them as an
    // operand: the compiler otherwise builds them again in every group, from immediates or a
    // register, in two or three instructions each. (The empty asm statement below hides their
    // values from it.)
    alignas(32) std::int32_t texelPitch[8];
    alignas(32) std::uint16_t inverse255[16];
    alignas(32) std::uint32_t topLevel[8];
    const std::uint32_t* texels;

    ShortEightLanes(const TexturedSetup& s, int channels, const std::uint32_t* texels,
                    std::ptrdiff_t pitch)
        : texels(texels) {
        constexpr std::int64_t kPixel[8] = {0, 1, 4, 5, 2, 3, 6, 7};
        for (int j = 0; j < 8; ++j) {
            u[j] = kPixel[j] * s.uFixed.dx;
            v[j] = kPixel[j] * s.vFixed.dx;
            for (int c = 0; c < channels; ++c) {
                level[c][j] = kPixel[j] * s.levelFixed[c].dx;
            }
            texelPitch[j] = static_cast<std::int32_t>(pitch);
            topLevel[j] = avx2::kTopLevel;
        }
        for (int k = 0; k < 16; ++k) {
            wSteps[k] = k * s.w.dx; // as fixedSpan's place x step
            inverse255[k] = avx2::kInverse255;
        }
        for (int j = 0; j < 4; ++j) {
            wLow[j] = s.wLow;
            wHigh[j] = s.wHigh;
        }
        asm("" : "+m"(texelPitch), "+m"(inverse255), "+m"(topLevel));
    }
};
#else
struct ShortEightLanes;
#endif

#if VARDEL_AVX2
namespace avx2 {

// The eight pixels' whole parts of a value `first` at pixel 0 and `offsets` (see
// ShortEightLanes) beyond it.
VARDEL_AVX2_FUNCTION inline __m256i shortWholeParts(std::int64_t first,
                                                    const std::int64_t* offsets) {
    const __m256i base = _mm256_set1_epi64x(first);
    return wholeParts(
        _mm256_add_epi64(base, _mm256_load_si256(reinterpret_cast<const __m256i*>(offsets))),
        _mm256_add_epi64(base, _mm256_load_si256(reinterpret_cast<const __m256i*>(offsets + 4))));
}

// Sixteen lanes set and eight clear: the eight from kFirstLanesSet - n on have their first n
// set, for n from 0 to 16 (a load instead of a comparison against the lanes' numbers).
inline constexpr int kFirstLanesSet = 16;
inline constexpr std::int32_t kFirstLanes[kFirstLanesSet + 8] = {
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0};

// The 32 bytes at `values` (aligned to 32).
VARDEL_AVX2_FUNCTION inline __m256i lanesOf(const void* values) {
    return _mm256_load_si256(static_cast<const __m256i*>(values));
}

/*
 * Pixels from .. from + 7 of a span of `count` pixels on the fixed-point course (from 0 or 8,
 * count at most from + 8) as one group of eight, the lanes past the span masked off: the values
 * TexturedSpan::fixedSpan works out, without its loop, whose exit on spans this short a
 * processor mispredicts about once a row. The row must hold the group's eight pixels: all
 * eight depths are read, but only the drawn lanes' depths and pixels are written (masked stores,
 * cheaper than reading the pixels back to blend them), and the masked lanes' texels are read
 * from texel 0. 1/z is held to the corners' range, so that spans of triangles drawn linearly
 * where held need not be told apart. Inlined into the rows' loop (drawFixedRowsWide), which
 * spares a call per row.
 */
template <bool Mono, bool Depth>
VARDEL_AVX2_FUNCTION inline void
fixedShortEight(const ShortEightLanes& lanes, const TexturedSetup& s, std::uint32_t* spanOut,
                float* spanDepth, int count, const FixedSpanStart& spanStart, int from) {
    std::uint32_t* const out = spanOut + from;
    float* const depth = Depth ? spanDepth + from : nullptr;
    FixedSpanStart start = spanStart; // moved on to pixel `from`
    start.u += from * s.uFixed.dx;
    start.v += from * s.vFixed.dx;
    for (int c = 0; c < (Mono ? 1 : 3); ++c) {
        start.level[c] += from * s.levelFixed[c].dx;
    }
    // Lanes 0 .. count - from - 1, the span's: eight lanes of kFirstLanes, from the right place.
    const __m256i inSpan = _mm256_loadu_si256(
        reinterpret_cast<const __m256i*>(kFirstLanes + kFirstLanesSet - (count - from)));
    __m256i keep = inSpan;
    if constexpr (Depth) {
        // 1/z from the span's start as fixedSpan forms it, held to the corners' range as
        // heldFixedSpan holds it (which leaves a span that needs no holding as it is).
        const __m256d w = _mm256_set1_pd(start.w);
        const __m256 near =
            nearFloats<true>(_mm256_add_pd(w, _mm256_load_pd(lanes.wSteps + from)),
                             _mm256_add_pd(w, _mm256_load_pd(lanes.wSteps + from + 4)),
                             _mm256_load_pd(lanes.wLow), _mm256_load_pd(lanes.wHigh));
        const __m256 stored = _mm256_loadu_ps(depth);
        const __m256 nearer =
            _mm256_and_ps(_mm256_cmp_ps(stored, near, _CMP_LT_OQ), _mm256_castsi256_ps(keep));
        if (_mm256_movemask_ps(nearer) == 0) {
            return;
        }
        keep = _mm256_castps_si256(nearer);
        _mm256_maskstore_ps(depth, keep, near);
    }
    const __m256i column = shortWholeParts(start.u, lanes.u);
    const __m256i index = _mm256_add_epi32(
        _mm256_madd_epi16(shortWholeParts(start.v, lanes.v), lanesOf(lanes.texelPitch)), column);
    // The texels of the span's lanes, whether the depth test keeps them or not (so that the
    // loads need not wait for it), the others' from texel 0.
    const __m256i texel = loadTexels(lanes.texels, _mm256_and_si256(index, inSpan));
    const __m256i topLevel = lanesOf(lanes.topLevel);
    __m256i low;
    __m256i high;
    if constexpr (Mono) {
        spreadLevels(shortWholeParts(start.level[0], lanes.level[0]), low, high, topLevel);
    } else {
        spreadLevels(shortWholeParts(start.level[0], lanes.level[0]),
                     shortWholeParts(start.level[1], lanes.level[1]),
                     shortWholeParts(start.level[2], lanes.level[2]), low, high, topLevel);
    }
    const __m256i shaded = scaleChannels(texel, low, high, lanesOf(lanes.inverse255));
    _mm256_maskstore_epi32(reinterpret_cast<int*>(out), keep, shaded);
}

} // namespace avx2
#endif

} // namespace vardel
