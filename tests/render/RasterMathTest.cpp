// The conversion every rasterizer uses to put a position on a whole pixel.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/RasterMath.h"

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
}

} // namespace
} // namespace vardel
