// No coordinates, however extreme, make a drawing call write outside its target. (That cut
// triangles draw what the exact reference draws is tested with it.)

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <random>

#include "RasterTarget.h"
#include "render/Line.h"
#include "render/ScreenClip.h"
#include "render/ShadedTriangle.h"
#include "render/TexturedTriangle.h"

namespace vardel {
namespace {

using test::RasterTarget;

// Corners near the limits of a double, at huge and tiny depths, degenerate and sliver
// triangles, lines between such points, and fillers handed corners outside the target: no
// write outside the target (guard bands and row padding intact), and no hang.
TEST(ScreenClip, ExtremeCoordinatesNeverWriteOutsideTheTarget) {
    std::mt19937 random(99);
    const double scales[] = {1e300, 1e150, 1e9, 1e4, 400, 1};
    const double depths[] = {1e-300, 1e-9, 0.5, 1, 1e9, 1e300};
    std::uniform_int_distribution<int> pick(0, 5);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const Texture texture{std::vector<std::uint32_t>(256, 0x00FFFFFFu), 16, 16, 0};
    RasterTarget target(320, 240, 5);
    auto coordinate = [&](double middle) {
        return pick(random) == 0 ? middle + 0.5 * std::round(unit(random) * 3) // pixel edges
                                 : middle + unit(random) * scales[pick(random)];
    };
    for (int i = 0; i < 3000; ++i) {
        test::Triangle t;
        for (int k = 0; k < 3; ++k) {
            t.screen[k] = {coordinate(160), coordinate(120),
                           depths[pick(random)] * (1 + unit(random) / 2)};
            t.shade[k] = {unit(random) * 3, unit(random) * 3, unit(random) * 3};
            t.uv[k] = {unit(random) * scales[pick(random)], unit(random) * scales[pick(random)]};
        }
        if (i % 4 == 0)
            t.screen[2] = t.screen[1]; // degenerate
        t.texture = &texture;
        t.mono = i % 2 == 1;
        for (test::Draw draw :
             {drawShadedTriangle, drawTexturedTriangle, fillShadedTriangle, fillShadedTriangleDepth,
              fillTexturedTriangle, fillTexturedTriangleMono, fillTexturedTriangleDepth,
              fillTexturedTriangleMonoDepth, drawTriangleEdges})
            draw(t.record(target, i % 3 != 0));
        ASSERT_TRUE(target.guardsIntact()) << i;
    }
    EXPECT_GT(target.countWritten(), 10000);
}

// The quick test before a triangle is lit: one it calls outside the target draws nothing,
// and one whose corners all lie past the same edge (a rounded row or column beyond the last)
// is called outside. Corners around a small target, some of them NaN.
TEST(ScreenClip, OutsideTargetOnlyForTrianglesThatDrawNothing) {
    std::mt19937 random(31);
    std::uniform_real_distribution<double> x(-30.0, 70.0), y(-30.0, 50.0);
    int outside = 0;
    for (int i = 0; i < 4000; ++i) {
        test::Triangle t;
        for (ScreenVertex& p : t.screen)
            p = {x(random), y(random), 2.0};
        if (i % 50 == 0)
            t.screen[i % 3].y = std::nan("");
        RasterTarget target(40, 20);
        const RasterTriangle r = t.record(target, false);
        const auto all = [&](auto beyond) {
            return std::all_of(t.screen.begin(), t.screen.end(), beyond);
        };
        const bool pastAnEdge = all([](const ScreenVertex& p) { return p.x < 0; }) ||
                                all([](const ScreenVertex& p) { return p.x >= 39.5; }) ||
                                all([](const ScreenVertex& p) { return p.y < 0; }) ||
                                all([](const ScreenVertex& p) { return p.y >= 19.5; });
        ASSERT_EQ(outsideTarget(r), pastAnEdge) << i;
        drawShadedTriangle(r);
        drawShadedTriangle(
            test::Triangle{{t.screen[0], t.screen[2], t.screen[1]}}.record(target, false));
        if (outsideTarget(r)) {
            ASSERT_EQ(target.countWritten(), 0) << i;
            ++outside;
        }
    }
    EXPECT_GT(outside, 400);
}

} // namespace
} // namespace vardel
