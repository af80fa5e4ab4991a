#pragma once

// AVX2 for the fillers' widest loops: eight pixels a group where four-pixel groups (Sse2.h)
// leave half the register unused. The functions are compiled for AVX2 one by one
// (VARDEL_AVX2_FUNCTION) beside the SSE2 code, and called only where avx2Usable() says the
// processor and the system support it, so the program still runs on any x86-64. They work
// out the same values as the four-pixel loops.

#include <cstdint>

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
// registers (the compiler's check covers both). Asked once.
inline bool avx2Usable() {
#if VARDEL_AVX2
    static const bool usable = [] {
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

} // namespace avx2
#endif

} // namespace vardel
