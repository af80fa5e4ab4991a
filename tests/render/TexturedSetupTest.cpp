// The textured set-up's choice of the linear course, against the rule worked out here on its
// own: texel coordinates are taken as linear where the perspective bound, times the largest sum
// of the corners' weights at a rounded corner, stays within 0.9 texels.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "RasterTarget.h"
#include "render/TexturedFillers.h"

namespace vardel {
namespace {

// The largest sum of the magnitudes of the exact corners' weights at a rounded corner (at
// least 1), from the weights solved at each rounded corner.
double spreadAtRoundedCorners(const test::Corners& c) {
    const double det =
        (c[1].x - c[0].x) * (c[2].y - c[0].y) - (c[2].x - c[0].x) * (c[1].y - c[0].y);
    double spread = 1.0;
    for (const ScreenVertex& p : c) {
        const double x = std::nearbyint(p.x), y = std::nearbyint(p.y);
        const double b =
            ((x - c[0].x) * (c[2].y - c[0].y) - (c[2].x - c[0].x) * (y - c[0].y)) / det;
        const double g =
            ((c[1].x - c[0].x) * (y - c[0].y) - (x - c[0].x) * (c[1].y - c[0].y)) / det;
        spread = std::max(spread, std::abs(1.0 - b - g) + std::abs(b) + std::abs(g));
    }
    return spread;
}

// Small and sliver triangles at depths and texture spans that put the product on both sides
// of the limit, most of them near it, where a loose shortcut would choose wrongly.
TEST(TexturedSetup, LinearCourseExactlyWhereTheCornersWeightsAllowIt) {
    std::mt19937 random(7);
    auto in = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    const Texture texture = test::coordinateTexture();
    const test::RasterTarget target(320, 240, 0);
    int linear = 0, perspective = 0;
    for (int i = 0; i < 20000; ++i) {
        test::Triangle t;
        const double x = in(20, 280), y = in(20, 200), size = in(1.5, 12);
        for (ScreenVertex& p : t.screen)
            p = {x + in(0, size), y + in(0, size), in(10, 10.3)};
        if (i % 3 == 0) { // a sliver: the third corner near the line through the others
            const double f = in(0.1, 0.9);
            t.screen[2].x = t.screen[0].x + f * (t.screen[1].x - t.screen[0].x) + in(-0.5, 0.5);
            t.screen[2].y = t.screen[0].y + f * (t.screen[1].y - t.screen[0].y) + in(-0.5, 0.5);
        }
        const double span = in(1, 200);
        for (TexCoord& uv : t.uv)
            uv = {in(0, span), in(0, span)};
        t.texture = &texture;
        double wLow = 1e300, wHigh = 0, uLow = 1e300, uHigh = -1e300, vLow = 1e300, vHigh = -1e300;
        for (std::size_t k = 0; k < 3; ++k) {
            wLow = std::min(wLow, 1.0 / t.screen[k].z);
            wHigh = std::max(wHigh, 1.0 / t.screen[k].z);
            uLow = std::min(uLow, t.uv[k].u), uHigh = std::max(uHigh, t.uv[k].u);
            vLow = std::min(vLow, t.uv[k].v), vHigh = std::max(vHigh, t.uv[k].v);
        }
        const double bound = (wHigh - wLow) / wLow * std::max(uHigh - uLow, vHigh - vLow) / 2.0;
        const double product = bound * spreadAtRoundedCorners(t.screen);
        if (std::abs(product - 0.9) < 1e-9 || std::abs(bound - 0.9) < 1e-9)
            continue; // too close to call in double precision
        TexturedSetup s;
        if (!setUpTextured(t.record(target, false), false, s))
            continue; // rounded corners in a line: nothing drawn
        const bool expected = bound <= 0.9 && product <= 0.9;
        ASSERT_EQ(s.affine, expected) << i << ": bound " << bound << ", product " << product;
        (expected ? linear : perspective) += 1;
    }
    EXPECT_GT(linear, 2000);
    EXPECT_GT(perspective, 2000);
}

} // namespace
} // namespace vardel
