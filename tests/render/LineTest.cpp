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
    drawEdge(test::triangle({{{x0, y0, 1}, {x1, y1, 1}, {0, 0, 1}}}).record(target, false), 0, 1);
    EXPECT_TRUE(target.guardsIntact());
    Pixels pixels;
    target.forEach([&](int x, int y) {
        if (target.written(x, y))
            pixels.insert({x, y});
    });
    return pixels;
}

Pixels row(int x0, int x1, int y) {
    Pixels pixels;
    for (int x = x0; x <= x1; ++x)
        pixels.insert({x, y});
    return pixels;
}

// One pixel per step along the longer axis in each direction, both ends included, the same
// pixels whichever end the line starts from.
TEST(Line, ClipsToTheTargetStepsAndRoundsEnds) {
    Pixels column;
    for (int y = 0; y < 240; ++y)
        column.insert({10, y});
    const struct {
        double x0, y0, x1, y1;
        Pixels expected;
    } cases[] = {
        {-10, 5, 20, 5, row(0, 20, 5)},
        {10, -5, 10, 300, column},
        {400, 10, 500, 20, {}},
        {-5, -5, -1, 100, {}},
        {-20, 10, 10, -20, {}}, // passes outside the corner
        {300, 50, 319.4, 50, row(300, 319, 50)},
        {300, 60, 319.6, 60, row(300, 319, 60)},
        {2.5, 7, 5.5, 7, row(2, 6, 7)}, // halves round to even
        {0, 0, 4, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}},
        {0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}},
        {0, 5, 5, 3, {{0, 5}, {1, 5}, {2, 4}, {3, 4}, {4, 3}, {5, 3}}},
        {0, 5, 2, 0, {{0, 5}, {0, 4}, {1, 3}, {1, 2}, {2, 1}, {2, 0}}},
        {3, 3, 6, 6, {{3, 3}, {4, 4}, {5, 5}, {6, 6}}},
        {7, 7, 7, 7, {{7, 7}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(drawn(c.x0, c.y0, c.x1, c.y1), c.expected) << c.x0 << "," << c.y0;
        EXPECT_EQ(drawn(c.x1, c.y1, c.x0, c.y0), c.expected) << c.x1 << "," << c.y1;
    }
}

TEST(Line, PlotLineRefusesEndsOutsideAndEdgesCoverAllThreeSides) {
    test::RasterTarget target(64, 64);
    plotLine(target.record(false), 0, 0, 64, 5, 0xFFFFFF);
    plotLine(target.record(false), 3, -1, 3, 10, 0xFFFFFF);
    EXPECT_EQ(target.countWritten(), 0);
    test::Triangle t = test::triangle({{{10, 10, 1}, {50, 10, 1}, {10, 50, 1}}});
    t.color = 0x00123456;
    drawTriangleEdges(t.record(target, true));
    EXPECT_EQ(target.countWritten(), 41 + 40 + 39);
    EXPECT_EQ(target.pixel(30, 30), 0x00123456u);
    EXPECT_EQ(target.depthAt(30, 10), 0.0f); // lines neither test nor write depth
}

} // namespace
} // namespace vardel
