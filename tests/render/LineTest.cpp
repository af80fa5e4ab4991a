// Line drawing: clipping to the target, the midpoint stepping, and the pixels it writes.

#include <gtest/gtest.h>

#include <set>

#include "RasterTarget.h"
#include "render/Line.h"

namespace vardel {
namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels drawn(double x0, double y0, double x1, double y1) {
    test::RasterTarget target(320, 240, 3);
    test::Triangle t;
    t.screen = {{{x0, y0, 1}, {x1, y1, 1}, {0, 0, 1}}};
    drawEdge(t.record(target, false), 0, 1);
    EXPECT_TRUE(target.guardsIntact());
    Pixels pixels;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            if (target.written(x, y)) {
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

Pixels line(int x0, int y0, int x1, int y1) { // horizontal or vertical
    Pixels pixels;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            pixels.insert({x, y});
        }
    }
    return pixels;
}

TEST(Line, ClipsToTheTargetAndRoundsEnds) {
    const struct {
        double x0, y0, x1, y1;
        Pixels expected;
    } cases[] = {
        {-10, 5, 20, 5, line(0, 5, 20, 5)},
        {10, -5, 10, 300, line(10, 0, 10, 239)},
        {400, 10, 500, 20, {}},
        {-5, -5, -1, 100, {}},
        {-20, 10, 10, -20, {}}, // passes outside the corner
        {300, 50, 319.4, 50, line(300, 50, 319, 50)},
        {300, 60, 319.6, 60, line(300, 60, 319, 60)},
        {2.5, 7, 5.5, 7, line(2, 7, 6, 7)}, // halves round to even
        {0, 0, 4, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}},
        {7, 7, 7, 7, {{7, 7}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(drawn(c.x0, c.y0, c.x1, c.y1), c.expected) << c.x0 << "," << c.y0;
        EXPECT_EQ(drawn(c.x1, c.y1, c.x0, c.y0), c.expected) << c.x1 << "," << c.y1;
    }
}

// Every direction plots one pixel per step along the longer axis, both ends included, and
// the same pixels whichever end it starts from.
TEST(Line, PlotsOnePixelPerStepInEveryDirection) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> x(0, 319);
    std::uniform_int_distribution<int> y(0, 239);
    for (int i = 0; i < 120; ++i) {
        const int x0 = x(random);
        const int y0 = y(random);
        const int x1 = i % 4 == 1 ? x0 : x(random); // vertical, horizontal, diagonal, any
        const int y1 =
            i % 4 == 2 ? y0 : (i % 4 == 3 ? std::clamp(y0 + x0 - x1, 0, 239) : y(random));
        const Pixels forward = drawn(x0, y0, x1, y1);
        EXPECT_EQ(forward.size(), std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + 1u);
        EXPECT_TRUE(forward.count({x0, y0}) == 1 && forward.count({x1, y1}) == 1);
        EXPECT_EQ(drawn(x1, y1, x0, y0), forward);
    }
}

TEST(Line, PlotLineRefusesEndsOutsideAndEdgesCoverAllThreeSides) {
    test::RasterTarget target(64, 64);
    plotLine(target.record(false), 0, 0, 64, 5, 0xFFFFFF);
    plotLine(target.record(false), 3, -1, 3, 10, 0xFFFFFF);
    EXPECT_EQ(target.countWritten(), 0);
    test::Triangle t;
    t.screen = {{{10, 10, 1}, {50, 10, 1}, {10, 50, 1}}};
    t.color = 0x00123456;
    drawTriangleEdges(t.record(target, true));
    EXPECT_EQ(target.countWritten(), 41 + 40 + 39);
    EXPECT_EQ(target.pixel(30, 30), 0x00123456u);
    EXPECT_EQ(target.depthAt(30, 10), 0.0f); // lines neither test nor write depth
}

} // namespace
} // namespace vardel
