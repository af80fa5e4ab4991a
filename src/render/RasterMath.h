#pragma once

// Conversions and checks shared by the rasterizers. Every double that becomes an int goes
// through one of these, so that no out-of-range or NaN value is ever converted.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "math/Sse2Support.h"
#include "render/RasterTriangle.h"

namespace vardel {

// Every call made inside a filler is inlined into it (GCC and Clang): the set-up, the row walk
// and the span are too large for the compiler's own judgement but run for every triangle and
// row, and the calls between them cost more than small triangles' pixels.
#if defined(__GNUC__)
#define VARDEL_INLINE_CALLS [[gnu::flatten]]
#else
#define VARDEL_INLINE_CALLS
#endif

// A function kept out of line, also from a VARDEL_INLINE_CALLS caller: a rarely taken path that
// would crowd the caller's loops.
#if defined(__GNUC__)
#define VARDEL_OUT_OF_LINE [[gnu::noinline]]
#else
#define VARDEL_OUT_OF_LINE
#endif

// x held to lo..hi, then the nearest integer with halves to even (the FPU's default rounding).
// NaN gives lo. With SSE2 the holding is a max and a min instruction (a NaN first operand gives
// the second) and the conversion rounds in the current (nearest-even) mode: no branches, which
// the compiler does not always manage from comparisons. Elsewhere adding and subtracting
// 1.5 * 2^52 pushes the fraction out of the mantissa, which rounds the same way; exact for
// |x| < 2^51.
inline std::int32_t roundClamped(double x, std::int32_t lo, std::int32_t hi) {
#if VARDEL_SSE2
    const __m128d above = _mm_max_sd(_mm_set_sd(x), _mm_set_sd(lo));
    return _mm_cvtsd_si32(_mm_min_sd(above, _mm_set_sd(hi)));
#else
    const double low = lo;
    const double high = hi;
    const double above = x > low ? x : low;
    const double held = above < high ? above : high;
    if constexpr (FLT_EVAL_METHOD == 0) {
        constexpr double kShift = 6755399441055744.0;
        return static_cast<std::int32_t>((held + kShift) - kShift);
    } else {
        return static_cast<std::int32_t>(std::rint(held));
    }
#endif
}

// The nearest integer to x, halves to even, for an x known to lie well within the int32 range.
inline std::int32_t roundNearest(double x) {
#if VARDEL_SSE2
    return _mm_cvtsd_si32(_mm_set_sd(x));
#else
    return static_cast<std::int32_t>(std::nearbyint(x));
#endif
}

// The nearest integer to x, halves to even, for an x known to lie well within the int64 range.
inline std::int64_t roundNearest64(double x) {
#if VARDEL_SSE2 && (defined(__x86_64__) || defined(_M_X64))
    return _mm_cvtsd_si64(_mm_set_sd(x));
#else
    return static_cast<std::int64_t>(std::nearbyint(x));
#endif
}

// x held to +-limit (at most 2^62), then the nearest integer with halves to even; NaN gives 0.
// Inline on x86-64 (the library's llround is a call).
inline std::int64_t roundClamped64(double x, double limit) {
#if VARDEL_SSE2 && (defined(__x86_64__) || defined(_M_X64))
    // Held by a max and a min instruction, as in roundClamped (GCC made branches of the
    // comparisons below).
    const __m128d above = _mm_max_sd(_mm_set_sd(x), _mm_set_sd(-limit));
    return x == x ? _mm_cvtsd_si64(_mm_min_sd(above, _mm_set_sd(limit))) : 0;
#else
    const double above = x > -limit ? x : -limit;
    const double held = above < limit ? above : limit;
    return x == x ? static_cast<std::int64_t>(std::nearbyint(held)) : 0;
#endif
}

// The least and the greatest of three values, on values so that they compile without branches
// (the corners of every triangle are compared).
template <class T> T lowest(T a, T b, T c) {
    const T ab = a < b ? a : b;
    return ab < c ? ab : c;
}
template <class T> T highest(T a, T b, T c) {
    const T ab = a > b ? a : b;
    return ab > c ? ab : c;
}

// Truncation toward zero, saturating at the int32 range; NaN gives 0.
inline std::int32_t truncSaturated(double x) {
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(x)) {
        return 0;
    }
    if (x <= kLow) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (x >= kHigh) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(x);
}

// A shade intensity held to 0..1 before it becomes fixed point (lighting can leave the range,
// which would index outside the multiply table or spill into the neighbouring channel).
// NaN gives 0.
inline double clampUnit(double s) {
    const double above = s > 0.0 ? s : 0.0; // on values: no branches
    return above < 1.0 ? above : 1.0;
}

// True when a value linear along a run of pixels, first at its first pixel and last at its
// last, lies within low..high at both ends and so (the rounded sums being monotonic) at every
// pixel between: then no pixel's value needs holding. False for NaN.
inline bool endsWithin(double first, double last, double low, double high) {
#if VARDEL_SSE2
    // The lesser and the greater end decide: two tests instead of four. minsd and maxsd give
    // their second operand where either is not a number, so a NaN `last` becomes the lesser
    // and a NaN `first` the greater, and the test fails as it does below. (From comparisons
    // the compiler made a branch on which end is the lesser, as good as random.)
    const __m128d a = _mm_set_sd(first);
    const __m128d b = _mm_set_sd(last);
    const double lesser = _mm_cvtsd_f64(_mm_min_sd(a, b));
    const double greater = _mm_cvtsd_f64(_mm_max_sd(b, a));
    return (lesser >= low) & (greater <= high);
#else
    return (first >= low) & (first <= high) & (last >= low) & (last <= high);
#endif
}

// Depths the drawing code accepts. Within this range 1/z and 1/(1/z) stay finite and non-zero
// through every interpolation, so no division by zero or infinity can arise.
inline constexpr double kNearestDepth = 1e-300;
inline constexpr double kFarthestDepth = 1e300;

inline bool usableDepth(double z) {
    return z >= kNearestDepth && z <= kFarthestDepth;
}

// The largest target side: 16.16 positions hold columns up to 32767.
inline constexpr int kMaxTargetSide = 32767;

// The target fields every drawing call relies on.
inline bool usableTarget(const RasterTriangle& t) {
    // On unsigned values a negative one is huge: one comparison covers both ends. Combined
    // without branches (& on bools): every triangle is checked.
    const auto within = [](int value, int least) {
        return static_cast<unsigned>(value) - static_cast<unsigned>(least) <=
               static_cast<unsigned>(kMaxTargetSide - least);
    };
    const bool wide = within(t.width, 1);
    const bool tall = within(t.height, 1);
    const bool padded = within(t.rowPadding, 0);
    return (t.pixels != nullptr) & wide & tall & padded;
}

// The largest distance of a corner from the target the fillers take (16 million pixels, far
// beyond what a scene in front of the near plane projects to); a triangle reaching farther is
// cut down to it first (see ScreenClip). Within it, rounded corners and their products are
// exact in a double, and columns and rows fit an int.
inline constexpr int kGuardBand = 1 << 24;

// A filler's precondition: the target is usable and every corner lies within kGuardBand of
// it (false for NaN), with a usable depth where the filler reads depth.
inline bool cornersWithinBand(const RasterTriangle& t, bool readsDepth) {
    if (!usableTarget(t)) {
        return false;
    }
    // Combined without branches (& on bools): the corners are tested for every triangle.
#if VARDEL_SSE2
    // Column and row side by side (adjacent in ScreenVertex); a comparison with NaN fails.
    const __m128d low = _mm_set1_pd(-kGuardBand);
    const __m128d high = _mm_setr_pd(t.width + kGuardBand, t.height + kGuardBand);
    __m128d inside = _mm_cmpeq_pd(low, low);
    for (const ScreenVertex* p : t.screen) {
        const __m128d xy = _mm_loadu_pd(&p->x);
        inside = _mm_and_pd(inside, _mm_and_pd(_mm_cmpge_pd(xy, low), _mm_cmple_pd(xy, high)));
    }
    bool within = _mm_movemask_pd(inside) == 3;
#else
    const double low = -kGuardBand;
    bool within = true;
    for (const ScreenVertex* p : t.screen) {
        within = within & (p->x >= low) & (p->x <= t.width + kGuardBand) & (p->y >= low) &
                 (p->y <= t.height + kGuardBand);
    }
#endif
    if (readsDepth) {
        for (const ScreenVertex* p : t.screen) {
            within = within & (p->z >= kNearestDepth) & (p->z <= kFarthestDepth);
        }
    }
    return within;
}

} // namespace vardel
