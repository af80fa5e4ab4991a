#pragma once

// SSE2 helpers for the fillers' four-pixels-at-a-time loops (where VARDEL_SSE2 is 0, see
// math/Sse2Support.h, the fillers take their one-pixel-at-a-time loops instead).

#include <cstdint>

#include "math/Sse2Support.h"

#if VARDEL_SSE2

namespace vardel::sse2 {

/*
 * floor(x / 255) in every 16-bit lane: (x x 0x8081) >> 23, the high half of the product
 * shifted by 7, two instructions. 0x8081 / 2^23 exceeds 1/255 by a part in 66,000, too little
 * to carry an x below 65536 past the next multiple of 255. This is what the multiply table
 * holds (row i, column c: i x c / 255 rounded down); a test checks every product of two bytes.
 */
inline __m128i divideBy255(__m128i x) {
    return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(static_cast<short>(0x8081))), 7);
}

// Four pixels 0xAARRGGBB with each byte scaled by the level in the same 16-bit lane of `low`
// (pixels 0 and 1: blue, green, red, top of pixel 0, then of pixel 1) and `high` (pixels 2
// and 3), levels 0..255: byte x level / 255, rounded down. The top bytes' levels are 255, which
// keeps them as they are (255 a / 255 = a).
inline __m128i scaleChannels(__m128i texels, __m128i low, __m128i high) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i a = divideBy255(_mm_mullo_epi16(_mm_unpacklo_epi8(texels, zero), low));
    const __m128i b = divideBy255(_mm_mullo_epi16(_mm_unpackhi_epi8(texels, zero), high));
    return _mm_packus_epi16(a, b);
}

// One pixel: scaleChannels with the levels of pixel 0 in the first four lanes of `levels`.
inline std::uint32_t scaleTexel(std::uint32_t texel, __m128i levels) {
    const __m128i channels =
        _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(texel)), _mm_setzero_si128());
    const __m128i scaled = divideBy255(_mm_mullo_epi16(channels, levels));
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(scaled, scaled)));
}

// The levels scaleTexel takes: one level (0..255) for blue, green and red, or three, and 255
// for the top byte.
inline __m128i levelLanes(std::uint32_t level) {
    return _mm_shufflelo_epi16(_mm_cvtsi32_si128(static_cast<int>(level | 0xFF0000u)),
                               _MM_SHUFFLE(1, 0, 0, 0));
}
inline __m128i levelLanes(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(blue | green << 16)),
                              _mm_cvtsi32_si128(static_cast<int>(red | 0xFF0000u)));
}

// The levels (0..255, one per 32-bit lane, for pixels 0 to 3) spread over the 16-bit lanes of
// each pixel's channels, as scaleChannels takes them: one level for all three channels.
inline void spreadLevels(__m128i levels, __m128i& low, __m128i& high) {
    const __m128i pair = _mm_or_si128(levels, _mm_slli_epi32(levels, 16));
    const __m128i withTop = _mm_or_si128(levels, _mm_set1_epi32(0xFF0000));
    low = _mm_unpacklo_epi32(pair, withTop);
    high = _mm_unpackhi_epi32(pair, withTop);
}

// The same for three levels per pixel: red, green and blue ones.
inline void spreadLevels(__m128i red, __m128i green, __m128i blue, __m128i& low, __m128i& high) {
    const __m128i blueGreen = _mm_or_si128(blue, _mm_slli_epi32(green, 16));
    const __m128i redTop = _mm_or_si128(red, _mm_set1_epi32(0xFF0000));
    low = _mm_unpacklo_epi32(blueGreen, redTop);
    high = _mm_unpackhi_epi32(blueGreen, redTop);
}

// a where mask is clear, b where it is set.
inline __m128i select(__m128i mask, __m128i a, __m128i b) {
    return _mm_or_si128(_mm_andnot_si128(mask, a), _mm_and_si128(mask, b));
}

// 0, step, 2 step and 3 step.
inline __m128i laneSteps(std::int32_t step) {
    return _mm_setr_epi32(0, step, 2 * step, 3 * step);
}

// All bits set in the first `lanes` (0 to 4) lanes.
inline __m128i firstLanes(int lanes) {
    return _mm_cmplt_epi32(_mm_setr_epi32(0, 1, 2, 3), _mm_set1_epi32(lanes));
}

// 1/z of four pixels at a time, start + k x step for k, k + 1, k + 2, k + 3, held to
// least..most (Held) and made floats as the depth buffer holds them (in doubles, as the
// one-pixel loops work them out). The pixels' places are whole numbers stepped by 4, so exact.
// Unheld, the caller knows every value to lie in least..most already: the sums are monotonic
// in k, so values within the range at both ends of a run are within it between.
template <bool Held = true> class Nearness {
public:
    Nearness(double start, double step, double k, double least, double most)
        : Nearness(start, _mm_set1_pd(step), k, _mm_set1_pd(least), _mm_set1_pd(most)) {}
    // The same with step, least and most already in both lanes.
    Nearness(double start, __m128d step, double k, __m128d least, __m128d most)
        : base(_mm_set1_pd(start)), slope(step), low(least), high(most),
          first(_mm_setr_pd(k, k + 1.0)), second(_mm_setr_pd(k + 2.0, k + 3.0)) {}

    // The four pixels' 1/z, then on to the next four.
    __m128 next() {
        const __m128 four = _mm_movelh_ps(_mm_cvtpd_ps(held(first)), _mm_cvtpd_ps(held(second)));
        const __m128d step = _mm_set1_pd(4.0);
        first = _mm_add_pd(first, step);
        second = _mm_add_pd(second, step);
        return four;
    }

private:
    __m128d held(__m128d k) const {
        const __m128d w = _mm_add_pd(base, _mm_mul_pd(k, slope));
        if constexpr (Held) {
            return _mm_min_pd(_mm_max_pd(w, low), high);
        } else {
            return w;
        }
    }

    __m128d base, slope, low, high;
    __m128d first;  // pixels k and k + 1
    __m128d second; // pixels k + 2 and k + 3
};

} // namespace vardel::sse2

#endif
