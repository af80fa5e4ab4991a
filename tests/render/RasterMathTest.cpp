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

#if VARDEL_SSE2
// The four-pixel loops scale texels by arithmetic instead of the multiply table: every channel
// and level gives what the table holds, and the top byte passes unchanged.
TEST(RasterMath, FourPixelShadingMatchesTheMultiplyTable) {
    const MultiplyTable table;
    int wrong = 0;
    for (int level = 0; level < 256; ++level) {
        __m128i low;
        __m128i high;
        sse2::spreadLevels(_mm_set1_epi32(level), low, high);
        for (int c = 0; c < 256; c += 4) {
            alignas(16) std::uint32_t texel[4], got[4];
            for (int j = 0; j < 4; ++j)
                texel[j] = std::uint32_t(c + j) * 0x01010101u;
            _mm_store_si128(
                reinterpret_cast<__m128i*>(got),
                sse2::scaleChannels(_mm_load_si128(reinterpret_cast<__m128i*>(texel)), low, high));
            for (int j = 0; j < 4; ++j)
                wrong += got[j] != ((texel[j] & 0xFF000000u) |
                                    std::uint32_t(table.at(level, c + j)) * 0x010101u);
        }
    }
    EXPECT_EQ(wrong, 0);
}
#endif

} // namespace
} // namespace vardel
