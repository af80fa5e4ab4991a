// Which pixels the fillers write, with which values, and what the depth test keeps.

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "RasterTarget.h"
#include "render/ShadedTriangle.h"
#include "render/TexturedTriangle.h"

namespace vardel {
namespace {

using test::Corners;
using test::Draw;
using test::RasterTarget;
using test::triangle;

const Texture kWhite{std::vector<std::uint32_t>(16, 0x00FFFFFFu), 4, 4, 0};

// The values the written pixels hold, and the first and last row written (-1: none).
struct Written {
    std::set<std::uint32_t> values;
    int firstRow = -1, lastRow = -1;
};

Written written(RasterTarget& target) {
    Written w;
    target.forEach([&](int x, int y) {
        if (target.written(x, y)) {
            w.values.insert(target.pixel(x, y));
            w.firstRow = w.firstRow < 0 ? y : w.firstRow;
            w.lastRow = y;
        }
    });
    return w;
}

// A target record with a side out of 1..32767, a row padding out of 0..32767 or no pixels
// is left alone by every drawing call, with or without depth (the one real target here is
// what any wrong write would land in).
TEST(FillRules, AnUnusableTargetIsLeftAlone) {
    const test::Triangle t = triangle({{{2, 1, 2}, {60, 3, 2}, {20, 7, 2}}}, &kWhite);
    const struct {
        const char* what;
        void (*spoil)(RasterTriangle&);
    } spoilt[] = {{"no width", [](RasterTriangle& r) { r.width = 0; }},
                  {"negative width", [](RasterTriangle& r) { r.width = -64; }},
                  {"too wide", [](RasterTriangle& r) { r.width = 32768; }},
                  {"no height", [](RasterTriangle& r) { r.height = 0; }},
                  {"too tall", [](RasterTriangle& r) { r.height = 1 << 30; }},
                  {"negative padding", [](RasterTriangle& r) { r.rowPadding = -1; }},
                  {"huge padding", [](RasterTriangle& r) { r.rowPadding = 32768; }},
                  {"no pixels", [](RasterTriangle& r) { r.pixels = nullptr; }}};
    for (const auto& s : spoilt) {
        for (const Draw draw : {drawShadedTriangle, drawTexturedTriangle}) {
            for (const bool withDepth : {false, true}) {
                RasterTarget target(64, 8);
                RasterTriangle r = t.record(target, withDepth);
                s.spoil(r);
                draw(r);
                EXPECT_EQ(target.countWritten(), 0) << s.what;
                EXPECT_TRUE(target.guardsIntact()) << s.what;
            }
        }
    }
}

// Mono takes the red intensity for all channels; intensities beyond 0..1 are held there, so
// no channel spills into its neighbour and no table row lies outside the multiply table.
TEST(FillRules, IntensitiesScaleTheColourWithinZeroAndOne) {
    const VertexShade half{0.5, 0.9, 0.1}, beyond{1.6, -0.4, 0.5};
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
        RasterTarget target(64, 64);
        test::Triangle t = triangle({{{2, 2, 1}, {60, 8, 2}, {9, 61, 3}}},
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
    RasterTarget target(320, 240);
    const ScreenVertex a{261.62996574898909, 59.444782190293544, 1};
    const ScreenVertex b{237.39123095776154, 128.56263637302948, 1};
    const ScreenVertex c{248.1086572154295, 238.84204981336555, 1};
    test::Triangle t = triangle({a, b, c});
    t.shade = {{{1, 1, 0}, {0, 0, 1}, {1, 0, 0}}};
    fillShadedTriangle(t.record(target, false));
    EXPECT_GT(target.countWritten(), 1000);
    int wrong = 0;
    target.forEach([&](int x, int y) {
        const double blue = 255 * ((x - a.x) * (c.y - a.y) - (y - a.y) * (c.x - a.x)) /
                            ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x));
        wrong += target.written(x, y) && std::abs((target.pixel(x, y) & 0xFF) - blue) >= 12;
    });
    EXPECT_EQ(wrong, 0);
}

// Two triangles sharing a diagonal tile the whole target, last column and row included,
// without a gap or a pixel drawn twice: whether the quad they make ends at the target's far
// edges or reaches past every edge. A single top corner's own row is empty; the bottom
// corner's row is drawn only by the textured fillers. Collinear corners, corners rounding onto
// one row and corners that are not numbers draw nothing.
TEST(FillRules, TrianglesTileTheWholeTarget) {
    for (Draw draw :
         {drawShadedTriangle, fillShadedTriangle, drawTexturedTriangle, fillTexturedTriangle}) {
        for (const auto& [x0, y0, x1, y1] : {std::array<double, 4>{0, 0, 320, 240},
                                             std::array<double, 4>{-70.3, -41.6, 1000, 333.3}}) {
            RasterTarget both(320, 240);
            int separately = 0;
            for (const Corners& corners : {Corners{{{x0, y0, 1}, {x1, y0, 1}, {x1, y1, 1}}},
                                           Corners{{{x0, y0, 1}, {x1, y1, 1}, {x0, y1, 1}}}}) {
                RasterTarget single(320, 240);
                draw(triangle(corners, &kWhite).record(single, false));
                draw(triangle(corners, &kWhite).record(both, false));
                separately += single.countWritten();
            }
            EXPECT_EQ(both.countWritten(), 320 * 240) << x1;
            EXPECT_EQ(separately, both.countWritten()) << x1;
            EXPECT_TRUE(both.guardsIntact());
        }
    }
    const Corners peak{{{20, 10, 1}, {30, 20, 1}, {10, 20, 1}}};
    const Corners collinear{{{5, 5, 1}, {15, 10, 1}, {25, 15, 1}}};
    const Corners flat{{{5, 9.6, 1}, {30, 10.4, 1}, {50, 10, 1}}};
    const Corners nan{{{20, 10, 1}, {30, std::nan(""), 1}, {10, 20, 1}}};
    for (const auto& [draw, lastRow] : {std::pair<Draw, int>{drawShadedTriangle, 19},
                                        std::pair<Draw, int>{drawTexturedTriangle, 20}}) {
        RasterTarget target(64, 64);
        draw(triangle(peak, &kWhite).record(target, false));
        EXPECT_EQ(std::pair(written(target).firstRow, written(target).lastRow),
                  std::pair(11, lastRow));
        for (const Corners& nothing : {collinear, flat, nan}) {
            RasterTarget empty(64, 64);
            draw(triangle(nothing, &kWhite).record(empty, false));
            EXPECT_EQ(empty.countWritten(), 0);
        }
    }
}

// With equal depth at the corners the texture maps linearly: coordinates equal to the screen
// position show texel (x, y) at pixel (x, y), over spans of several 16-pixel blocks; full
// intensity leaves texels unchanged and none makes them black. Coordinates past the texture
// read its border texels.
TEST(TexturedFill, TexelsLandWhereTheCoordinatesSayAndBordersStretch) {
    const Texture texture = test::coordinateTexture();
    for (double intensity : {1.0, 0.0}) {
        RasterTarget target(128, 128);
        test::Triangle t = triangle({{{3, 2, 4}, {120, 30, 4}, {40, 125, 4}}}, &texture);
        for (std::size_t k = 0; k < 3; ++k) {
            t.uv[k] = {t.screen[k].x, t.screen[k].y};
            t.shade[k] = {intensity, intensity, intensity};
        }
        fillTexturedTriangleDepth(t.record(target, true));
        EXPECT_GT(target.countWritten(), 5000);
        int wrong = 0;
        target.forEach([&](int x, int y) {
            const std::uint32_t texel = intensity > 0 ? texture.pixels[y * 256 + x] : 0;
            wrong += target.written(x, y) && target.pixel(x, y) != texel;
        });
        EXPECT_EQ(wrong, 0) << intensity;
    }
    const Texture small = test::coordinateTexture(16);
    RasterTarget target(100, 100);
    test::Triangle t = triangle({{{0, 0, 1}, {99, 0, 1}, {0, 99, 1}}}, &small);
    t.uv = {{{-40, -40}, {56, -40}, {-40, 56}}};
    drawTexturedTriangle(t.record(target, false));
    EXPECT_EQ(target.pixel(2, 50), 0x00000800u);  // column 0 (u < 0), row 8
    EXPECT_EQ(target.pixel(50, 2), 0x00080000u);  // column 8, row 0 (v < 0)
    EXPECT_EQ(target.pixel(95, 2), 0x000F0000u);  // column 15 (u > 16)
    EXPECT_EQ(target.pixel(46, 46), 0x00050400u); // at (46.5, 46): u 5.1, v 4.6 texels in
}

// Of two triangles that cross in depth each pixel shows the nearer, whatever the order; at
// equal depth the first drawn stays.
TEST(FillRules, DepthTestKeepsTheNearerSurfaceInEitherOrder) {
    for (Draw draw : {drawShadedTriangle, drawTexturedTriangle}) {
        const Texture* texture = draw == drawTexturedTriangle ? &kWhite : nullptr;
        test::Triangle red = triangle({{{0, 0, 2}, {63, 0, 2}, {0, 63, 8}}}, texture);
        test::Triangle blue = triangle({{{63, 63, 2}, {0, 63, 3}, {63, 0, 3}}}, texture);
        red.shade = {{{1, 0, 0}, {1, 0, 0}, {1, 0, 0}}};
        blue.shade = {{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}};
        RasterTarget forward(64, 64), backward(64, 64);
        draw(red.record(forward, true));
        draw(blue.record(forward, true));
        draw(blue.record(backward, true));
        draw(red.record(backward, true));
        EXPECT_TRUE(forward.same(backward));
        EXPECT_EQ(written(forward).values, (std::set<std::uint32_t>{0x00FF0000u, 0x000000FFu}));
        test::Triangle same = blue;
        same.screen = red.screen;
        draw(same.record(backward, true)); // as near as red where red won: red stays
        EXPECT_TRUE(forward.same(backward));
    }
}

} // namespace
} // namespace vardel
