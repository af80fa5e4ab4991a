// Screen clipping: cut triangles draw what uncut ones draw, and no coordinates, however
// extreme, make a drawing call write outside its target.

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

// A pixel's depth and its three channels.
std::array<double, 4> values(RasterTarget& r, int x, int y) {
    const std::uint32_t p = r.pixel(x, y);
    return {r.depthAt(x, y), double(p & 0xFF), double(p >> 8 & 0xFF), double(p >> 16 & 0xFF)};
}

double distanceToEdges(double px, double py, const test::Triangle& t) {
    double nearest = 1e300;
    for (std::size_t k = 0; k < 3; ++k) {
        const ScreenVertex& a = t.screen[k];
        const ScreenVertex& b = t.screen[(k + 1) % 3];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double f =
            std::clamp(((px - a.x) * dx + (py - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        nearest = std::min(nearest, std::hypot(px - a.x - f * dx, py - a.y - f * dy));
    }
    return nearest;
}

// True when each value of the cut pixel lies within its range over the uncut triangle's pixel
// and its drawn neighbours, widened by that range plus a slack: rounding corners and span ends
// moves values by about a pixel.
bool nearUncut(RasterTarget& cut, RasterTarget& whole, int x, int y) {
    std::array<double, 4> lo{1e300, 1e300, 1e300, 1e300}, hi{-1e300, -1e300, -1e300, -1e300};
    for (int n = 0; n < 9; ++n) {
        const int wx = x + 119 + n % 3, wy = y + 119 + n / 3;
        if (!whole.written(wx, wy))
            continue;
        const std::array<double, 4> v = values(whole, wx, wy);
        for (std::size_t i = 0; i < 4; ++i)
            lo[i] = std::min(lo[i], v[i]), hi[i] = std::max(hi[i], v[i]);
    }
    const std::array<double, 4> got = values(cut, x, y);
    for (std::size_t i = 0; i < 4; ++i) {
        const double slack = hi[i] - lo[i] + (i == 0 ? 1e-6 : 2);
        if (got[i] < lo[i] - slack || got[i] > hi[i] + slack)
            return false;
    }
    return true;
}

// Triangles running off the screen, drawn cut on 320 x 240 and uncut (moved by 120, 120) on a
// larger target. Inside the screen they agree except next to their edges, where rounding the
// cut corners may move a pixel; shades, texels (the texture lies flat on the surface) and
// depths agree up to rounding. The corner records come back unchanged.
TEST(ScreenClip, CutTrianglesDrawWhatUncutOnesDraw) {
    std::mt19937 random(7);
    const Texture texture = test::coordinateTexture();
    for (test::Draw draw : {drawShadedTriangle, drawTexturedTriangle}) {
        const bool textured = draw == drawTexturedTriangle;
        int compared = 0;
        for (int i = 0; i < 100; ++i) {
            test::Triangle t = test::randomTriangle(random, -120, 440, -120, 360);
            t.texture = textured ? &texture : nullptr;
            t.mono = i % 2 == 1;
            for (std::size_t k = 0; k < 3 && textured; ++k) {
                ScreenVertex& p = t.screen[k];
                p.z = 4 + p.z / 6; // moderate perspective: 16-pixel steps move texels little
                t.uv[k] = {0.015 * p.x * p.z + 100, 0.015 * p.y * p.z + 100};
                t.shade[k] = {1, 1, 1};
            }
            const test::Triangle before = t;
            RasterTarget cut(320, 240), whole(561, 481);
            draw(t.record(cut, true));
            ASSERT_TRUE(cut.guardsIntact());
            ASSERT_EQ(std::memcmp(&t.screen, &before.screen, sizeof t.screen), 0);
            ASSERT_EQ(std::memcmp(&t.uv, &before.uv, sizeof t.uv), 0);
            test::Triangle moved = t;
            for (ScreenVertex& p : moved.screen)
                p = {p.x + 120, p.y + 120, p.z};
            draw(moved.record(whole, true));
            // The last column (and, shaded, the last row) is never drawn.
            for (int y = 0; y < (textured ? 240 : 239); ++y) {
                for (int x = 0; x < 319; ++x) {
                    // Next to an edge a textured span's last block also steps towards texel
                    // coordinates extrapolated up to 15 pixels beyond it.
                    const bool edge = distanceToEdges(x, y, t) < (textured ? 2 : 1.5);
                    const bool drawn = cut.written(x, y);
                    ASSERT_TRUE(drawn == whole.written(x + 120, y + 120) || edge)
                        << i << " at " << x << "," << y;
                    compared += drawn && !edge ? 1 : 0;
                    ASSERT_TRUE(!drawn || edge || nearUncut(cut, whole, x, y))
                        << i << " at " << x << "," << y;
                }
            }
        }
        EXPECT_GT(compared, 100000) << textured;
    }
}

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
