// No coordinates, however extreme, make a drawing call write outside its target. (That cut
// triangles draw what the exact reference draws is tested with it.)

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "RasterTarget.h"
#include "render/Line.h"
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

} // namespace
} // namespace vardel
