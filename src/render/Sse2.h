#pragma once

// SSE2 helpers for the fillers' four-pixels-at-a-time loops. SSE2 is part of every x86-64
// processor; elsewhere (the web build among them) VARDEL_SSE2 is 0 and the fillers take their
// one-pixel-at-a-time loops, which compute the same values.

#if defined(__SSE2__) || defined(_M_X64)
#define VARDEL_SSE2 1
#include <emmintrin.h>
#else
#define VARDEL_SSE2 0
#endif

#if VARDEL_SSE2

namespace vardel::sse2 {

/*
 * floor(x / 255) in every 16-bit lane, for x up to 255 x 255: (x + 1 + (x >> 8)) >> 8. This is
 * what the multiply table holds (row i, column c: i x c / 255 rounded down); every product of
 * two bytes gives the same result (checked for all of them), and no sum passes 65280.
 */
inline __m128i divideBy255(__m128i x) {
    const __m128i sum = _mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8));
    return _mm_srli_epi16(sum, 8);
}

// Four pixels 0x00RRGGBB (top byte kept) with each channel scaled by the level in the same
// 16-bit lane of `low` (pixels 0 and 1: blue, green, red, top of pixel 0, then of pixel 1) and
// `high` (pixels 2 and 3), levels 0..255: channel x level / 255, rounded down.
inline __m128i scaleChannels(__m128i texels, __m128i low, __m128i high) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i a = divideBy255(_mm_mullo_epi16(_mm_unpacklo_epi8(texels, zero), low));
    const __m128i b = divideBy255(_mm_mullo_epi16(_mm_unpackhi_epi8(texels, zero), high));
    const __m128i top = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    return _mm_or_si128(_mm_andnot_si128(top, _mm_packus_epi16(a, b)), _mm_and_si128(texels, top));
}

// a where mask is clear, b where it is set.
inline __m128i select(__m128i mask, __m128i a, __m128i b) {
    return _mm_or_si128(_mm_andnot_si128(mask, a), _mm_and_si128(mask, b));
}

// The four floats of two pairs of doubles, in order.
inline __m128 toFloats(__m128d low, __m128d high) {
    return _mm_movelh_ps(_mm_cvtpd_ps(low), _mm_cvtpd_ps(high));
}

} // namespace vardel::sse2

#endif
