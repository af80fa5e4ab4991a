// Which pixels the fillers write, with which values, and what the depth test keeps.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "RasterTarget.h"
#include "render/ShadedTriangle.h"
#include "render/TexturedTriangle.h"

namespace vardel {
namespace {

using Draw = void (*)(const RasterTriangle&);
using Corners = std::array<ScreenVertex, 3>;

const Texture kWhite{std::vector<std::uint32_t>(16, 0x00FFFFFFu), 4, 4, 0};

test::Triangle make(const Corners& corners, const Texture* texture = nullptr) {
    test::Triangle t;
    t.screen = corners;
    t.texture = texture;
    return t;
}

// The set of values the written pixels hold, and the first and last row written.
struct Written {
    std::set<std::uint32_t> values;
    int firstRow = -1;
    int lastRow = -1;
};

Written written(test::RasterTarget& target) {
    Written w;
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            if (target.written(x, y)) {
                w.values.insert(target.pixel(x, y));
                w.firstRow = w.firstRow < 0 ? y : w.firstRow;
                w.lastRow = y;
            }
        }
    }
    return w;
}

TEST(RasterTriangle, OnlyClockwiseTrianglesFaceTheViewer) {
    const double nan = std::nan("");
    const std::pair<Corners, bool> cases[] = {{{{{0, 0, 1}, {10, 0, 1}, {0, 10, 1}}}, false},
                                              {{{{0, 0, 1}, {0, 10, 1}, {10, 0, 1}}}, true},
                                              {{{{0, 0, 1}, {5, 5, 1}, {10, 10, 1}}}, true},
                                              {{{{0, 0, 1}, {10, nan, 1}, {0, 10, 1}}}, true}};
    test::RasterTarget target(4, 4);
    for (const auto& [corners, backFacing] : cases) {
        EXPECT_EQ(isBackFacing(make(corners).record(target, false)), backFacing);
    }
}

// Mono takes the red intensity for all channels; intensities beyond 0..1 are held there, so
// no channel spills into its neighbour and no table row lies outside the multiply table.
TEST(FillRules, IntensitiesScaleTheColourWithinZeroAndOne) {
    const VertexShade half{0.5, 0.9, 0.1};
    const VertexShade beyond{1.6, -0.4, 0.5};
    const struct {
        Draw draw;
        bool mono;
        std::uint32_t color;
        VertexShade shade;
        std::uint32_t expected;
    } cases[] = {{drawShadedTriangle, true, 0x00FF8040, half, 0x007F4020u},
                 {drawShadedTriangle, false, 0x00FFFFFF, beyond, 0x00FF007Fu},
                 {drawTexturedTriangle, false, 0, beyond, 0x00FF007Fu},
                 {drawShadedTriangle, true, 0x00FFFFFF, beyond, 0x00FFFFFFu},
                 {drawTexturedTriangle, true, 0, beyond, 0x00FFFFFFu}};
    for (const auto& c : cases) {
        test::RasterTarget target(64, 64);
        test::Triangle t = make({{{2, 2, 1}, {60, 8, 2}, {9, 61, 3}}},
                                c.draw == drawTexturedTriangle ? &kWhite : nullptr);
        t.shade = {c.shade, c.shade, c.shade};
        t.color = c.color;
        t.mono = c.mono;
        c.draw(t.record(target, true));
        EXPECT_EQ(written(target).values, std::set<std::uint32_t>{c.expected});
        EXPECT_GT(target.countWritten(), 1500);
    }
}

// A thin triangle whose truncated slopes carry the blue accumulator just below zero near one
// edge: blue is held at 0 there instead of turning into a bright speck. Every pixel stays near
// the exact blue, which goes from 0 to 255 and back across the triangle.
TEST(ShadedFill, ChannelsCarriedPastTheirRangeAreHeld) {
    test::RasterTarget target(320, 240);
    const ScreenVertex a{261.62996574898909, 59.444782190293544, 1};
    const ScreenVertex b{237.39123095776154, 128.56263637302948, 1};
    const ScreenVertex c{248.1086572154295, 238.84204981336555, 1};
    test::Triangle t = make({a, b, c});
    t.shade = {{{1, 1, 0}, {0, 0, 1}, {1, 0, 0}}};
    fillShadedTriangle(t.record(target, false));
    EXPECT_GT(target.countWritten(), 1000);
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            // 255 x the barycentric weight of b
            const double blue = 255 * ((x - a.x) * (c.y - a.y) - (y - a.y) * (c.x - a.x)) /
                                ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x));
            ASSERT_TRUE(!target.written(x, y) || std::abs((target.pixel(x, y) & 0xFF) - blue) < 12)
                << x << "," << y << ": " << std::hex << target.pixel(x, y);
        }
    }
}

// Two triangles sharing the diagonal of the whole target tile it without a gap or a pixel
// drawn twice, except the last column, which no filler writes, and (shaded) the last row.
TEST(FillRules, TwoTrianglesTileTheTargetUpToTheExcludedEdges) {
    const std::pair<Draw, int> cases[] = {{drawShadedTriangle, 238},
                                          {fillShadedTriangle, 238},
                                          {drawTexturedTriangle, 239},
                                          {fillTexturedTriangle, 239}};
    for (const auto& [draw, lastRow] : cases) {
        test::RasterTarget both(320, 240);
        int separately = 0;
        for (const Corners& corners : {Corners{{{0, 0, 1}, {319, 0, 1}, {319, 239, 1}}},
                                       Corners{{{0, 0, 1}, {319, 239, 1}, {0, 239, 1}}}}) {
            const test::Triangle t = make(corners, lastRow == 239 ? &kWhite : nullptr);
            test::RasterTarget single(320, 240);
            draw(t.record(single, false));
            draw(t.record(both, false));
            separately += single.countWritten();
        }
        EXPECT_EQ(both.countWritten(), 319 * (lastRow + 1));
        EXPECT_EQ(separately, both.countWritten());
        EXPECT_EQ(written(both).lastRow, lastRow);
    }
}

// A single top corner's own row is empty; the bottom corner's row is drawn only by the
// textured fillers. Collinear corners, or corners rounding onto one row, draw nothing.
TEST(FillRules, RowsFromTopToBottomCorner) {
    const Corners peak{{{20, 10, 1}, {30, 20, 1}, {10, 20, 1}}};
    const Corners collinear{{{5, 5, 1}, {15, 10, 1}, {25, 15, 1}}};
    const Corners flat{{{5, 9.6, 1}, {30, 10.4, 1}, {50, 10, 1}}};
    const std::tuple<Corners, Draw, int, int> cases[] = {
        {peak, drawShadedTriangle, 11, 19},      {peak, drawTexturedTriangle, 11, 20},
        {collinear, drawShadedTriangle, -1, -1}, {collinear, drawTexturedTriangle, -1, -1},
        {flat, drawShadedTriangle, -1, -1},      {flat, drawTexturedTriangle, -1, -1}};
    for (const auto& [corners, draw, first, last] : cases) {
        test::RasterTarget target(64, 64);
        draw(make(corners, &kWhite).record(target, false));
        const Written w = written(target);
        EXPECT_EQ(std::make_pair(w.firstRow, w.lastRow), std::make_pair(first, last))
            << corners[0].y;
    }
}

// With equal depth at the corners the texture maps linearly: coordinates equal to the screen
// position show texel (x, y) at pixel (x, y), over spans of several 16-pixel blocks; full
// intensity leaves texels unchanged and none makes them black. Coordinates past the texture
// read its border texels.
TEST(TexturedFill, TexelsLandWhereTheCoordinatesSayAndBordersStretch) {
    const Texture texture = test::coordinateTexture();
    for (double intensity : {1.0, 0.0}) {
        test::RasterTarget target(128, 128);
        test::Triangle t = make({{{3, 2, 4}, {120, 30, 4}, {40, 125, 4}}}, &texture);
        for (int k = 0; k < 3; ++k) {
            t.uv[k] = {t.screen[k].x, t.screen[k].y};
            t.shade[k] = {intensity, intensity, intensity};
        }
        fillTexturedTriangleDepth(t.record(target, true));
        EXPECT_GT(target.countWritten(), 5000);
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x) {
                const std::uint32_t expected = intensity > 0 ? texture.pixels[y * 256 + x] : 0;
                ASSERT_TRUE(!target.written(x, y) || target.pixel(x, y) == expected)
                    << x << "," << y;
            }
        }
    }
    const Texture small = test::coordinateTexture(16);
    test::RasterTarget target(100, 100);
    test::Triangle t = make({{{0, 0, 1}, {99, 0, 1}, {0, 99, 1}}}, &small);
    t.uv = {{{-40, -40}, {56, -40}, {-40, 56}}};
    drawTexturedTriangle(t.record(target, false));
    EXPECT_EQ(target.pixel(2, 50), 0x00000800u);  // column 0 (u < 0), row 8
    EXPECT_EQ(target.pixel(50, 2), 0x00080000u);  // column 8, row 0 (v < 0)
    EXPECT_EQ(target.pixel(95, 2), 0x000F0000u);  // column 15 (u > 16)
    EXPECT_EQ(target.pixel(46, 46), 0x00050500u); // u and v 4.6 texels in
}

// Of two triangles that cross in depth each pixel shows the nearer, whatever the order; at
// equal depth the first drawn stays.
TEST(FillRules, DepthTestKeepsTheNearerSurfaceInEitherOrder) {
    for (Draw draw : {drawShadedTriangle, drawTexturedTriangle}) {
        test::Triangle red = make({{{0, 0, 2}, {63, 0, 2}, {0, 63, 8}}}, &kWhite);
        test::Triangle blue = make({{{63, 63, 2}, {0, 63, 3}, {63, 0, 3}}}, &kWhite);
        red.shade = {{{1, 0, 0}, {1, 0, 0}, {1, 0, 0}}};
        blue.shade = {{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}};
        if (draw == drawShadedTriangle) {
            red.texture = blue.texture = nullptr;
        }
        test::RasterTarget forward(64, 64);
        test::RasterTarget backward(64, 64);
        draw(red.record(forward, true));
        draw(blue.record(forward, true));
        draw(blue.record(backward, true));
        draw(red.record(backward, true));
        EXPECT_EQ(forward.differences(backward), 0);
        EXPECT_EQ(written(forward).values, (std::set<std::uint32_t>{0x00FF0000u, 0x000000FFu}));
        test::Triangle same = blue;
        same.screen = red.screen;
        draw(same.record(backward, true)); // as near as red where red won: red stays
        EXPECT_EQ(forward.differences(backward), 0);
    }
}

} // namespace
} // namespace vardel
