// Filling a target in bands of rows, as two threads do: band by band the target gets exactly
// the pixels and depths of the triangles drawn whole, a band's triangles touch no row outside
// it, and the depth cull reads only its band's rows (another thread is writing the others).

#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <vector>

#include "RasterTarget.h"
#include "render/DepthCull.h"
#include "render/TriangleDrawer.h"

namespace vardel {
namespace {

using test::RasterTarget;
using test::Triangle;

// Triangles over and past a 96 x 64 target, half of them textured, some mono, some with a
// level top or bottom edge (a whole first or last row, which a band must not pass over).
std::vector<Triangle> someTriangles(std::mt19937& random, const Texture& texture) {
    std::vector<Triangle> triangles;
    for (int i = 0; i < 60; ++i) {
        Triangle t = test::randomTriangle(random, -40.0, 136.0, -30.0, 94.0);
        if (i % 3 == 1) {
            t.screen[1].y = t.screen[0].y;
        }
        if (i % 2 == 0) {
            t.texture = &texture;
            t.mono = i % 4 == 0;
        }
        triangles.push_back(t);
    }
    return triangles;
}

// The triangles drawn in order on rows firstRow .. endRow - 1 of the target.
void drawBand(const std::vector<Triangle>& triangles, RasterTarget& target, bool withDepth,
              int firstRow, int endRow) {
    for (const Triangle& t : triangles) {
        RasterTriangle record = t.record(target, withDepth);
        record.firstRow = firstRow;
        record.endRow = endRow;
        if (!(withDepth && hiddenByDepth(record))) {
            rasterizers().draw(record);
        }
    }
}

TEST(Bands, FilledBandByBandTheTargetIsTheSameAsFilledWhole) {
    std::mt19937 random(2024);
    const Texture texture = test::coordinateTexture(64);
    for (int round = 0; round < 60; ++round) {
        const bool withDepth = round % 3 != 0;
        const std::vector<Triangle> triangles = someTriangles(random, texture);
        RasterTarget whole(96, 64, 3);
        RasterTarget banded(96, 64, 3);
        RasterTarget oneBand(96, 64, 3);
        for (const Triangle& t : triangles) {
            rasterizers().draw(t.record(whole, withDepth));
        }
        const int split = std::uniform_int_distribution<int>(1, 63)(random);
        // The lower band is drawn on another thread at the same time as the upper one.
        std::thread lower([&] { drawBand(triangles, banded, withDepth, split, 64); });
        drawBand(triangles, banded, withDepth, 0, split);
        lower.join();
        ASSERT_TRUE(banded.same(whole)) << "round " << round << ", split at row " << split;

        const int bottom = std::uniform_int_distribution<int>(split, 64)(random);
        drawBand(triangles, oneBand, withDepth, split, bottom);
        int wrong = 0;
        oneBand.forEach([&](int x, int y) {
            const bool inBand = y >= split && y < bottom;
            if (inBand ? oneBand.pixel(x, y) != whole.pixel(x, y) ||
                             oneBand.depthAt(x, y) != whole.depthAt(x, y)
                       : oneBand.written(x, y) || oneBand.depthAt(x, y) != 0.0f) {
                ++wrong;
            }
        });
        EXPECT_EQ(wrong, 0) << "round " << round << ", rows " << split << " to " << bottom;
        EXPECT_TRUE(oneBand.guardsIntact());
    }
}

TEST(Bands, TheCullReadsOnlyItsBandsRows) {
    // Rows 0 to 23 lie open (far); rows 24 to 47 hold something nearer than the triangle.
    RasterTarget target(64, 48);
    target.forEach([&](int x, int y) { target.depthAt(x, y) = y < 24 ? 0.0f : 0.5f; });
    const Triangle across = test::triangle({{{10, 6, 4}, {50, 8, 4}, {20, 44, 5}}});
    const Triangle below = test::triangle({{{10, 30, 4}, {50, 32, 4}, {20, 44, 5}}});
    const auto hidden = [&](const Triangle& t, int firstRow, int endRow) {
        RasterTriangle record = t.record(target, true);
        record.firstRow = firstRow;
        record.endRow = endRow;
        return hiddenByDepth(record);
    };
    EXPECT_FALSE(hidden(across, 0, 48));
    EXPECT_FALSE(hidden(across, 0, 24));
    EXPECT_TRUE(hidden(across, 24, 48)) << "the open rows above the band were read";
    EXPECT_TRUE(hidden(below, 0, 20)) << "a triangle with no row in the band draws nothing";
    EXPECT_TRUE(hidden(below, 24, 48));
}

} // namespace
} // namespace vardel
