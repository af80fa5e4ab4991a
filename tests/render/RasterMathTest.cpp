// The conversion every rasterizer uses to put a position on a whole pixel.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/RasterMath.h"
#include "render/Sse2.h"
#include "scene/MultiplyTable.h"

namespace vardel {
namespace {

TEST(RasterMath, RoundsHalvesToEvenWithinTheRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double x;
        int lo, hi, expected;
    } cases[] = {{0.5, 0, 9, 0},    {1.5, 0, 9, 2},
                 {2.5, 0, 9, 2},    {2.5000001, 0, 9, 3},
                 {-0.5, -9, 9, 0},  {-1.5, -9, 9, -2},
                 {3.49, 0, 9, 3},   {-0.2, 0, 9, 0},
                 {9.6, 0, 9, 9},    {1e300, 0, 319, 319},
                 {-inf, -4, 4, -4}, {inf, -4, 4, 4},
                 {nan, 3, 9, 3},    {-1e9, -1 << 30, 1 << 30, -1000000000}};
    for (const auto& c : cases) {
        EXPECT_EQ(roundClamped(c.x, c.lo, c.hi), c.expected) << c.x;
    }
    // The 64-bit form holds to +-limit, and NaN gives 0.
    const struct {
        double x, limit;
        std::int64_t expected;
    } wide[] = {{2.5, 0x1p40, 2},          {-3.5, 0x1p40, -4},         {0x1p45, 0x1p40, 1LL << 40},
                {-inf, 0x1p50, -(1LL << 50)}, {inf, 0x1p50, 1LL << 50}, {nan, 0x1p50, 0},
                {-0.0, 0x1p50, 0},         {-0x1p39 - 0.5, 0x1p40, -(1LL << 39)}};
    for (const auto& c : wide) {
        EXPECT_EQ(roundClamped64(c.x, c.limit), c.expected) << c.x;
    }
}

// A run needs no holding only when both its ends lie in the range, whichever end is the lesser;
// an end that is not a number, at either end, always asks for holding.
TEST(RasterMath, RunsNeedNoHoldingOnlyWithBothEndsInTheRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double first, last;
        bool within;
    } runs[] = {{1.0, 2.0, true},  {2.0, 1.0, true},  {1.0, 1.0, true},  {0.5, 2.0, false},
                {2.0, 0.5, false}, {1.0, 3.5, false}, {3.5, 1.0, false}, {0.5, 3.5, false},
                {nan, 2.0, false}, {2.0, nan, false}, {nan, nan, false}, {1.0, 3.0, true}};
    for (const auto& r : runs) {
        EXPECT_EQ(endsWithin(r.first, r.last, 1.0, 3.0), r.within) << r.first << " " << r.last;
    }
    EXPECT_FALSE(endsWithin(2.0, 2.0, nan, 3.0));
    EXPECT_FALSE(endsWithin(2.0, 2.0, 1.0, nan));
}

#if VARDEL_SSE2
// The SSE2 loops scale texels by arithmetic instead of the multiply table: every byte and level,
// one level for all channels or one per channel, four pixels at a time or one, gives what the
// table holds, and the top byte passes unchanged.
TEST(RasterMath, ArithmeticShadingMatchesTheMultiplyTable) {
    const MultiplyTable table;
    int wrong = 0;
    for (int level = 0; level < 256; ++level) {
        const int red = level, green = 255 - level, blue = level * 37 % 256;
        __m128i monoLow, monoHigh, low, high;
        sse2::spreadLevels(_mm_set1_epi32(level), monoLow, monoHigh);
        sse2::spreadLevels(_mm_set1_epi32(red), _mm_set1_epi32(green), _mm_set1_epi32(blue), low,
                           high);
        const auto expected = [&](std::uint32_t texel, int r, int g, int b) {
            const int c = int(texel & 0xFF);
            return (texel & 0xFF000000u) | std::uint32_t(table.at(r, c)) << 16 |
                   std::uint32_t(table.at(g, c)) << 8 | table.at(b, c);
        };
        for (int c = 0; c < 256; c += 4) {
            alignas(16) std::uint32_t texel[4], mono[4], coloured[4];
            for (int j = 0; j < 4; ++j)
                texel[j] = std::uint32_t(c + j) * 0x01010101u;
            const __m128i four = _mm_load_si128(reinterpret_cast<__m128i*>(texel));
            _mm_store_si128(reinterpret_cast<__m128i*>(mono),
                            sse2::scaleChannels(four, monoLow, monoHigh));
            _mm_store_si128(reinterpret_cast<__m128i*>(coloured),
                            sse2::scaleChannels(four, low, high));
            for (int j = 0; j < 4; ++j) {
                const std::uint32_t one = expected(texel[j], level, level, level);
                const std::uint32_t three = expected(texel[j], red, green, blue);
                wrong += mono[j] != one;
                wrong += sse2::scaleTexel(texel[j], sse2::levelLanes(level)) != one;
                wrong += coloured[j] != three;
                wrong += sse2::scaleTexel(texel[j], sse2::levelLanes(red, green, blue)) != three;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}
#endif

} // namespace
} // namespace vardel
