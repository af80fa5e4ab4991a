#include "render/DepthCull.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "render/Avx2.h"
#include "render/RasterMath.h"
#include "render/Sse2.h"

namespace vardel {

#if VARDEL_SSE2
namespace {

/*
 * True when a row of the rectangle holds a 1/z less than `limit`. Each of `rows` rows, `pitch`
 * apart, is read as `groups` groups of four from column `left` on and one more at `last`, ending
 * at the right column, whose lanes already read or left of the rectangle are masked off. Groups
 * is that count where it is fixed when compiled (the narrow rectangles of small triangles: the
 * groups unrolled), -1 where the count is given.
 */
template <int Groups>
bool anyNearer(const float* row, std::ptrdiff_t pitch, int rows, int left, int groups, int last,
               __m128 lastMask, __m128 limit) {
    const int count = Groups >= 0 ? Groups : groups;
    for (; rows > 0; --rows, row += pitch) {
        __m128 nearer = _mm_and_ps(lastMask, _mm_cmplt_ps(_mm_loadu_ps(row + last), limit));
        for (int g = 0; g < count; ++g) {
            nearer = _mm_or_ps(nearer, _mm_cmplt_ps(_mm_loadu_ps(row + left + 4 * g), limit));
        }
        if (_mm_movemask_ps(nearer) != 0) {
            return true;
        }
    }
    return false;
}

#if VARDEL_AVX2
/*
 * anyNearer eight columns a group, for processors with AVX2 (a loop of its own: the compiler
 * takes AVX2 only in functions marked for it, and the four-column one must run anywhere).
 */
template <int Groups>
VARDEL_AVX2_FUNCTION bool anyNearerByEights(const float* row, std::ptrdiff_t pitch, int rows,
                                            int left, int groups, int last, __m256 lastMask,
                                            __m256 limit) {
    const int count = Groups >= 0 ? Groups : groups;
    for (; rows > 0; --rows, row += pitch) {
        __m256 nearer =
            _mm256_and_ps(lastMask, _mm256_cmp_ps(_mm256_loadu_ps(row + last), limit, _CMP_LT_OQ));
        for (int g = 0; g < count; ++g) {
            nearer = _mm256_or_ps(
                nearer, _mm256_cmp_ps(_mm256_loadu_ps(row + left + 8 * g), limit, _CMP_LT_OQ));
        }
        if (_mm256_movemask_ps(nearer) != 0) {
            return true;
        }
    }
    return false;
}

// True when a row of columns left..end-1 (at least eight in a row of the target) holds a 1/z
// less than `bound`: the groups of eight from the left column on and one more ending at the
// right one, as the four-column scan reads them.
VARDEL_AVX2_FUNCTION bool anyNearerInEights(const float* row, std::ptrdiff_t pitch, int rows,
                                            int left, int end, float bound) {
    const int groups = (end - left) >> 3;
    const int last = std::max(end - 8, 0);
    const __m256 lastMask = avx2::columnsWithin(last, left + 8 * groups, end);
    const __m256 limit = _mm256_set1_ps(bound);
    switch (groups) {
    case 0:
        return anyNearerByEights<0>(row, pitch, rows, left, groups, last, lastMask, limit);
    case 1:
        return anyNearerByEights<1>(row, pitch, rows, left, groups, last, lastMask, limit);
    case 2:
        return anyNearerByEights<2>(row, pitch, rows, left, groups, last, lastMask, limit);
    default:
        return anyNearerByEights<-1>(row, pitch, rows, left, groups, last, lastMask, limit);
    }
}
#endif

} // namespace
#endif

bool hiddenByDepth(const RasterTriangle& t) {
    return depthCullable(t) && hiddenByUsableDepth(t);
}

bool hiddenByUsableDepth(const RasterTriangle& t) {
    const ScreenVertex& a = *t.screen[0];
    const ScreenVertex& b = *t.screen[1];
    const ScreenVertex& c = *t.screen[2];
    const auto depthAt = [&](int x, int y) {
        return t.depth[static_cast<std::ptrdiff_t>(y) * t.pitch() + x];
    };
    // The fillers hold every pixel's 1/z within the corners' range, so no pixel is nearer than
    // the nearest corner. A triangle that can be seen mostly shows at its middle: its nearest
    // corner in front of the depth there settles it (saying "not hidden" is always safe, so
    // the middle pixel need not be found exactly: a third is taken as a product).
    // Only the band's rows are read: another thread may be filling the rest. The rounded
    // corners' rows, which the fillers draw within, lie within top .. bottom.
    const int bandTop = std::max(t.firstRow, 0);
    const int bandBottom = std::min(t.endRow, t.height) - 1;
#if VARDEL_SSE2
    // Column and row side by side (adjacent in ScreenVertex), rounded as roundClamped rounds.
    const __m128d xa = _mm_loadu_pd(&a.x);
    const __m128d xb = _mm_loadu_pd(&b.x);
    const __m128d xc = _mm_loadu_pd(&c.x);
    const __m128d zero = _mm_setzero_pd();
    const __m128d last = _mm_setr_pd(t.width - 1, t.height - 1);
    const auto rounded = [&](__m128d xy, int(&out)[2]) {
        const __m128i whole = _mm_cvtpd_epi32(_mm_min_pd(_mm_max_pd(xy, zero), last));
        out[0] = _mm_cvtsi128_si32(whole);
        out[1] = _mm_cvtsi128_si32(_mm_shuffle_epi32(whole, 1));
    };
    int low[2];
    int high[2];
    int middle[2];
    rounded(_mm_min_pd(_mm_min_pd(xa, xb), xc), low);
    rounded(_mm_max_pd(_mm_max_pd(xa, xb), xc), high);
    rounded(_mm_mul_pd(_mm_add_pd(_mm_add_pd(xa, xb), xc), _mm_set1_pd(1.0 / 3.0)), middle);
    const int left = low[0];
    const int right = high[0];
    const int top = std::max(low[1], bandTop);
    const int bottom = std::min(high[1], bandBottom);
    if (top > bottom) {
        return true; // nothing to draw in the band
    }
    const int middleX = middle[0];
    const int middleY = std::clamp(middle[1], top, bottom);
#else
    const int top = std::max(roundClamped(std::min({a.y, b.y, c.y}), 0, t.height - 1), bandTop);
    const int bottom =
        std::min(roundClamped(std::max({a.y, b.y, c.y}), 0, t.height - 1), bandBottom);
    if (top > bottom) {
        return true; // nothing to draw in the band
    }
    const int middleX = roundClamped((a.x + b.x + c.x) * (1.0 / 3.0), 0, t.width - 1);
    const int middleY = roundClamped((a.y + b.y + c.y) * (1.0 / 3.0), top, bottom);
    const int left = roundClamped(std::min({a.x, b.x, c.x}), 0, t.width - 1);
    const int right = roundClamped(std::max({a.x, b.x, c.x}), 0, t.width - 1);
#endif
    const auto bound = static_cast<float>(1.0 / std::min({a.z, b.z, c.z}));
    if (!(bound < 1e30f) || depthAt(middleX, middleY) < bound) { // also not a number
        return false;
    }
    const float* row = &t.depth[static_cast<std::ptrdiff_t>(top) * t.pitch()];
#if VARDEL_SSE2
    /*
     * Four pixels at a time: the groups from the left column on, and one more group ending at
     * the right column (or the row's first four), its lanes already tested or left of the
     * rectangle masked off. The columns are the same on every row, so the mask is found once.
     * Eight at a time where the record says so.
     */
#if VARDEL_AVX2
    if (t.eightWide && t.width >= 8) {
        return !anyNearerInEights(row, t.pitch(), bottom - top + 1, left, right + 1, bound);
    }
#endif
    if (t.width >= 4) {
        const __m128 limit = _mm_set1_ps(bound);
        const int end = right + 1;
        const int groups = (end - left) >> 2;
        const int groupsEnd = left + 4 * groups;
        const int last = std::max(end - 4, 0);
        const __m128i column = _mm_add_epi32(_mm_set1_epi32(last), _mm_setr_epi32(0, 1, 2, 3));
        const __m128 lastMask =
            _mm_castsi128_ps(_mm_and_si128(_mm_cmpgt_epi32(column, _mm_set1_epi32(groupsEnd - 1)),
                                           _mm_cmplt_epi32(column, _mm_set1_epi32(end))));
        const int rows = bottom - top + 1;
        const auto hidden = [&](auto fixedGroups) {
            return !anyNearer<decltype(fixedGroups)::value>(row, t.pitch(), rows, left, groups,
                                                            last, lastMask, limit);
        };
        switch (groups) {
        case 0:
            return hidden(std::integral_constant<int, 0>{});
        case 1:
            return hidden(std::integral_constant<int, 1>{});
        case 2:
            return hidden(std::integral_constant<int, 2>{});
        case 3:
            return hidden(std::integral_constant<int, 3>{});
        case 4:
            return hidden(std::integral_constant<int, 4>{});
        default:
            return hidden(std::integral_constant<int, -1>{});
        }
    }
#endif
    for (int y = top; y <= bottom; ++y, row += t.pitch()) {
        // A whole row at a time, without a branch per pixel.
        int nearer = 0;
        for (int x = left; x <= right; ++x) {
            nearer += row[x] < bound ? 1 : 0;
        }
        if (nearer != 0) {
            return false;
        }
    }
    return true;
}

} // namespace vardel
