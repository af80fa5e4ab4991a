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
 * the texels gathered; the multiply table's products worked out; 1/z in doubles made floats
 * (within the corners' range at both ends of the span, see fillFixedRows). Row x width is formed
 * on 16-bit halves, as the groups of four form it. A group hidden whole is not shaded, and one
 * drawn whole stores without blending.
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
    const __m256d eight = _mm256_set1_pd(8.0);
    __m256d firstFour = _mm256_setr_pd(0.0, 1.0, 2.0, 3.0);
    __m256d secondFour = _mm256_setr_pd(4.0, 5.0, 6.0, 7.0);
    for (std::ptrdiff_t i = 0; i < count; i += 8) {
        const __m256i column = nextWholeParts(u);
        const __m256i index = _mm256_add_epi32(_mm256_madd_epi16(nextWholeParts(v), pitch), column);
        __m256i whole[kChannels];
        for (int c = 0; c < kChannels; ++c) {
            whole[c] = nextWholeParts(level[c]);
        }
        __m256i keep = _mm256_setzero_si256();
        bool all = true;
        if constexpr (Depth) {
            const __m256 near = nearness<false>(w, slope, firstFour, secondFour, w, w);
            firstFour = _mm256_add_pd(firstFour, eight);
            secondFour = _mm256_add_pd(secondFour, eight);
            const __m256 stored = _mm256_loadu_ps(depth + i);
            const __m256 nearer = _mm256_cmp_ps(stored, near, _CMP_LT_OQ);
            const int kept = _mm256_movemask_ps(nearer);
            if (kept == 0) {
                continue;
            }
            all = kept == 0xFF;
            keep = _mm256_castps_si256(nearer);
            _mm256_storeu_ps(depth + i, all ? near : _mm256_blendv_ps(stored, near, nearer));
        }
        const __m256i texel =
            _mm256_i32gather_epi32(reinterpret_cast<const int*>(texels), index, 4);
        __m256i low;
        __m256i high;
        if constexpr (Mono) {
            spreadLevels(whole[0], low, high);
        } else {
            spreadLevels(whole[0], whole[1], whole[2], low, high);
        }
        __m256i shaded = scaleChannels(texel, low, high);
        auto* const pixels = reinterpret_cast<__m256i*>(out + i);
        if (!all) {
            shaded = _mm256_blendv_epi8(_mm256_loadu_si256(pixels), shaded, keep);
        }
        _mm256_storeu_si256(pixels, shaded);
    }
}

} // namespace avx2
#endif

} // namespace vardel
