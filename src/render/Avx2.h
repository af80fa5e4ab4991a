#pragma once

// AVX2 for the fillers' widest loops: eight pixels a group where four-pixel groups (Sse2.h)
// leave half the register unused. The functions are compiled for AVX2 one by one
// (VARDEL_AVX2_FUNCTION) beside the SSE2 code, and called only where avx2Usable() says the
// processor and the system support it, so the program still runs on any x86-64. They work
// out the same values as the four-pixel loops.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "render/Sse2.h"

#if VARDEL_SSE2 && defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VARDEL_AVX2 1
#include <immintrin.h>
#define VARDEL_AVX2_FUNCTION __attribute__((target("avx2")))
#else
#define VARDEL_AVX2 0
#endif

namespace vardel {

// True where the AVX2 loops may run: the processor has AVX2 and the system keeps its
// registers (the compiler's check covers both), and VARDEL_NO_AVX2 is unset, empty or 0. That
// variable keeps the SSE2 loops for tools that do not know every AVX2 instruction (valgrind
// 3.19) and for comparing the two in one build. Asked once.
inline bool avx2Usable() {
#if VARDEL_AVX2
    static const bool usable = [] {
        const char* off = std::getenv("VARDEL_NO_AVX2");
        if (off != nullptr && off[0] != '\0' && std::strcmp(off, "0") != 0) {
            return false;
        }
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return usable;
#else
    return false;
#endif
}

#if VARDEL_AVX2
namespace avx2 {

// 0, step, ..., 7 step, wrapping as 32-bit sums do.
VARDEL_AVX2_FUNCTION inline __m256i laneSteps(std::int32_t step) {
    return _mm256_mullo_epi32(_mm256_set1_epi32(step), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// All bits set in the lanes whose column, counted from `first` for lane 0, lies in from..end-1.
VARDEL_AVX2_FUNCTION inline __m256 columnsWithin(int first, int from, int end) {
    const __m256i column = _mm256_add_epi32(_mm256_set1_epi32(first), laneSteps(1));
    return _mm256_castsi256_ps(
        _mm256_andnot_si256(_mm256_cmpgt_epi32(_mm256_set1_epi32(from), column),
                            _mm256_cmpgt_epi32(_mm256_set1_epi32(end), column)));
}

// The pixels' whole parts (upper 32 bits) of eight 64-bit values, in order, from `low` holding
// pixels 0, 1, 4, 5 and `high` holding 2, 3, 6, 7: the shuffle works within each 128-bit half.
VARDEL_AVX2_FUNCTION inline __m256i wholeParts(__m256i low, __m256i high) {
    return _mm256_castps_si256(_mm256_shuffle_ps(
        _mm256_castsi256_ps(low), _mm256_castsi256_ps(high), _MM_SHUFFLE(3, 1, 3, 1)));
}

// The constants below, in every lane. A loop that keeps them in memory (see ShortEightLanes)
// can pass them in: otherwise the compiler builds them again from immediates in every group.
inline constexpr std::uint16_t kInverse255 = 0x8081; // x / 255 = x * kInverse255 >> 23
inline constexpr std::uint32_t kTopLevel = 0xFF0000; // the alpha channel's level, 255

// sse2::divideBy255 on sixteen 16-bit lanes.
VARDEL_AVX2_FUNCTION inline __m256i divideBy255(__m256i x, __m256i inverse255) {
    return _mm256_srli_epi16(_mm256_mulhi_epu16(x, inverse255), 7);
}

// sse2::scaleChannels on eight pixels: `low` holds the levels of pixels 0, 1, 4 and 5, `high`
// those of 2, 3, 6 and 7, as the byte unpacking (within each 128-bit half) spreads the texels.
VARDEL_AVX2_FUNCTION inline __m256i
scaleChannels(__m256i texels, __m256i low, __m256i high,
              __m256i inverse255 = _mm256_set1_epi16(static_cast<short>(kInverse255))) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i a =
        divideBy255(_mm256_mullo_epi16(_mm256_unpacklo_epi8(texels, zero), low), inverse255);
    const __m256i b =
        divideBy255(_mm256_mullo_epi16(_mm256_unpackhi_epi8(texels, zero), high), inverse255);
    return _mm256_packus_epi16(a, b);
}

// sse2::spreadLevels on eight pixels' levels (0..255, one per 32-bit lane, in order): one level
// for all three channels, or red, green and blue ones.
VARDEL_AVX2_FUNCTION inline void
spreadLevels(__m256i levels, __m256i& low, __m256i& high,
             __m256i topLevel = _mm256_set1_epi32(static_cast<int>(kTopLevel))) {
    const __m256i pair = _mm256_or_si256(levels, _mm256_slli_epi32(levels, 16));
    const __m256i withTop = _mm256_or_si256(levels, topLevel);
    low = _mm256_unpacklo_epi32(pair, withTop);
    high = _mm256_unpackhi_epi32(pair, withTop);
}
VARDEL_AVX2_FUNCTION inline void
spreadLevels(__m256i red, __m256i green, __m256i blue, __m256i& low, __m256i& high,
             __m256i topLevel = _mm256_set1_epi32(static_cast<int>(kTopLevel))) {
    const __m256i blueGreen = _mm256_or_si256(blue, _mm256_slli_epi32(green, 16));
    const __m256i redTop = _mm256_or_si256(red, topLevel);
    low = _mm256_unpacklo_epi32(blueGreen, redTop);
    high = _mm256_unpackhi_epi32(blueGreen, redTop);
}

// Eight pixels' 1/z in doubles (pixels 0 .. 3 in `first`, 4 .. 7 in `second`), held to
// least..most where Held is set, made floats as the depth buffer holds them.
template <bool Held>
VARDEL_AVX2_FUNCTION inline __m256 nearFloats(__m256d first, __m256d second, __m256d least,
                                              __m256d most) {
    if constexpr (Held) {
        first = _mm256_min_pd(_mm256_max_pd(first, least), most);
        second = _mm256_min_pd(_mm256_max_pd(second, least), most);
    }
    return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm256_cvtpd_ps(first)),
                                _mm256_cvtpd_ps(second), 1);
}

// 1/z of eight pixels as sse2::Nearness works it out: start + place x step in doubles, the
// places (k .. k + 3 in firstFour, k + 4 .. k + 7 in secondFour) whole numbers and so exact,
// held to least..most where Held is set, made floats.
template <bool Held>
VARDEL_AVX2_FUNCTION inline __m256 nearness(__m256d start, __m256d step, __m256d firstFour,
                                            __m256d secondFour, __m256d least, __m256d most) {
    return nearFloats<Held>(_mm256_add_pd(start, _mm256_mul_pd(firstFour, step)),
                            _mm256_add_pd(start, _mm256_mul_pd(secondFour, step)), least, most);
}

// The places of eight pixels k .. k + 7 for nearness: k .. k + 3 and k + 4 .. k + 7.
struct EightPlaces {
    __m256d first;
    __m256d second;
};

VARDEL_AVX2_FUNCTION inline EightPlaces eightPlaces(double k) {
    return {_mm256_setr_pd(k, k + 1.0, k + 2.0, k + 3.0),
            _mm256_setr_pd(k + 4.0, k + 5.0, k + 6.0, k + 7.0)};
}

// nearness at `places`, which then move on to the next eight pixels.
template <bool Held>
VARDEL_AVX2_FUNCTION inline __m256 nextNearness(EightPlaces& places, __m256d start, __m256d step,
                                                __m256d least, __m256d most) {
    const __m256 near = nearness<Held>(start, step, places.first, places.second, least, most);
    const __m256d eight = _mm256_set1_pd(8.0);
    places.first = _mm256_add_pd(places.first, eight);
    places.second = _mm256_add_pd(places.second, eight);
    return near;
}

} // namespace avx2
#endif

} // namespace vardel
