// The depth cull: a triangle it calls hidden draws nothing, and plainly hidden triangles are
// called hidden.

#include <gtest/gtest.h>

#include <random>

#include "RasterTarget.h"
#include "render/DepthCull.h"
#include "render/ShadedTriangle.h"
#include "render/TexturedTriangle.h"

namespace vardel {
namespace {

using test::Corners;
using test::RasterTarget;
using test::triangle;

TEST(DepthCull, TellsWhatLiesBehindTheBufferFromWhatDoesNot) {
    const Corners far{{{10, 10, 4}, {50, 12, 4}, {20, 40, 5}}};
    const Corners near{{{10, 10, 1}, {50, 12, 1}, {20, 40, 1}}};
    const Corners partlyOff{{{-30, 10, 4}, {50, -20, 4}, {20, 90, 5}}};
    const Corners flat{{{10, 10, 4}, {20, 20, 4}, {30, 30, 4}}};
    const struct {
        const char* what;
        Corners corners;
        bool withDepth;
        bool openPixel; // one pixel of the buffer left far, inside the triangle's rectangle
        bool hidden;
    } cases[] = {{"far behind a nearer buffer", far, true, false, true},
                 {"nearer than the buffer", near, true, false, false},
                 {"behind, but with one open pixel", far, true, true, false},
                 {"behind, partly off the target", partlyOff, true, false, true},
                 {"no depth buffer", far, false, false, false},
                 {"no area, which draws nothing anyway", flat, true, false, true}};
    for (const auto& c : cases) {
        RasterTarget target(64, 48, 3);
        target.forEach([&](int x, int y) { target.depthAt(x, y) = 0.5f; }); // z = 2
        if (c.openPixel) {
            target.depthAt(21, 20) = 0.0f;
        }
        const test::Triangle t = triangle(c.corners);
        EXPECT_EQ(hiddenByDepth(t.record(target, c.withDepth)), c.hidden) << c.what;
    }
    // A target the fillers refuse is not judged either (its sides may not be the buffer's).
    RasterTarget target(64, 48, 3);
    target.forEach([&](int x, int y) { target.depthAt(x, y) = 0.5f; });
    RasterTriangle tooWide = triangle(far).record(target, true);
    tooWide.width = 32768;
    EXPECT_FALSE(hiddenByDepth(tooWide));
}

// The rectangle is read in groups of four or eight pixels, unrolled for narrow ones: whatever
// its width and wherever it lies, down to the target's first and last columns, one open pixel in
// any of its columns keeps a triangle visible, and nothing outside it (the row padding and guards
// hold nearer values) is read.
TEST(DepthCull, EveryColumnOfTheRectangleCounts) {
    for (const bool eightWide : test::groupWidths()) {
        for (int width = 1; width <= 29; ++width) {
            for (int left : {0, 1, 2, 5, 40 - width}) {
                const double right = left + width - 1;
                const Corners corners{
                    {{double(left), 2.2, 4}, {right, 3, 4}, {double(left), 8.7, 4}}};
                RasterTarget target(40, 12, 3);
                target.eightWide = eightWide;
                target.forEach([&](int x, int y) { target.depthAt(x, y) = 0.5f; });
                const test::Triangle t = triangle(corners);
                EXPECT_TRUE(hiddenByDepth(t.record(target, true))) << width << " at " << left;
                for (int column = left; column <= right; ++column) {
                    const int row = 2 + (column * 5) % 7;
                    target.depthAt(column, row) = 0.0f;
                    EXPECT_FALSE(hiddenByDepth(t.record(target, true)))
                        << width << " at " << left << ", open at " << column << ", " << row;
                    target.depthAt(column, row) = 0.5f;
                }
            }
        }
    }
}

// Random triangles behind buffers: one holding a large nearer triangle, and one holding the
// same 1/z everywhere with triangles whose nearest corner lies just behind it, where only the
// rounding of corners and span ends decides. Whenever the cull calls a triangle hidden,
// drawing it changes nothing, textured or shaded.
TEST(DepthCull, AHiddenTriangleDrawsNothing) {
    std::mt19937 random(7);
    auto in = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    const Texture texture = test::coordinateTexture(64);
    int hidden = 0;
    for (int i = 0; i < 600; ++i) {
        const bool flatBuffer = i % 2 == 1;
        const test::Triangle occluder = triangle({{{in(-40, 20), in(-40, 10), in(2, 6)},
                                                   {in(120, 160), in(-30, 20), in(2, 6)},
                                                   {in(20, 80), in(100, 130), in(2, 6)}}});
        const double x = in(0, 90), y = in(0, 66), size = in(1, 12);
        test::Triangle t = triangle({{{x, y, in(2, 60)},
                                      {x + in(0, size), y + in(0, size), in(2, 60)},
                                      {x + in(0, size), y + in(0, size), in(2, 60)}}});
        if (flatBuffer) // the nearest corner a hair behind 1/z = 0.5
            t.screen[std::size_t(i / 2 % 3)].z = 2.0 * (1.0 + in(1e-9, 1e-3));
        t.uv = {{{0, 0}, {40, 5}, {10, 50}}};
        RasterTarget before(96, 72, 5), textured(96, 72, 5), shaded(96, 72, 5);
        before.eightWide = avx2Usable() && i / 2 % 2 == 1; // the cull reads four or eight wide
        for (RasterTarget* target : {&before, &textured, &shaded}) {
            if (flatBuffer)
                target->forEach([&](int px, int py) { target->depthAt(px, py) = 0.5f; });
            else
                drawShadedTriangle(occluder.record(*target, true));
        }
        if (!hiddenByDepth(t.record(before, true)))
            continue;
        ++hidden;
        t.texture = &texture;
        drawTexturedTriangle(t.record(textured, true));
        t.texture = nullptr;
        drawShadedTriangle(t.record(shaded, true));
        ASSERT_TRUE(textured.same(before)) << i;
        ASSERT_TRUE(shaded.same(before)) << i;
    }
    EXPECT_GT(hidden, 100);
}

} // namespace
} // namespace vardel
