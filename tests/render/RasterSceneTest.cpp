// A small scene drawn with every drawing call and written as a PNG for people to look at
// (build/test-output/raster.png).

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "RasterTarget.h"
#include "image/PngWriter.h"
#include "render/Line.h"
#include "render/ShadedTriangle.h"
#include "render/TexturedTriangle.h"

namespace vardel {
namespace {

// A checkerboard floor in perspective running off the bottom and right edges, two Gouraud
// triangles cut by the left and top edges (the nearer one wins), and lines.
TEST(RasterScene, DrawsTheTestSceneAndWritesItAsPng) {
    test::RasterTarget target(320, 240);
    for (int i = 0; i < 320 * 240; ++i) {
        target.pixel(i % 320, i / 320) = 0x00202830;
    }
    Texture board{{}, 64, 64, 0};
    for (std::uint32_t i = 0; i < 64 * 64; ++i) {
        const std::uint32_t c = i % 64;
        board.pixels.push_back((i / 512 + c / 8) % 2 == 0 ? 0x00F0E0C0u : 0x00304080u + (c << 17));
    }
    // Camera-space corners projected as the object pipeline does.
    auto project = [](double x, double y, double z) {
        return ScreenVertex{160 + 200 * x / z, 120 - 200 * y / z, z};
    };
    const ScreenVertex floor[4] = {project(0.2, -0.9, 1.2), project(2.5, -0.9, 1.2),
                                   project(2.5, 0.8, 6), project(0.2, 0.8, 6)};
    const TexCoord floorUv[4] = {{0, 64}, {64, 64}, {64, 0}, {0, 0}};
    test::Triangle quad[2];
    for (int half = 0; half < 2; ++half) {
        const int corners[2][3] = {{0, 2, 1}, {0, 3, 2}};
        for (int k = 0; k < 3; ++k) {
            const int c = corners[half][k];
            quad[half].screen[k] = floor[c];
            quad[half].uv[k] = floorUv[c];
            quad[half].shade[k] = c < 2 ? VertexShade{1, 1, 1} : VertexShade{0.35, 0.35, 0.45};
        }
        quad[half].texture = &board;
        drawTexturedTriangle(quad[half].record(target, true));
    }
    test::Triangle gouraud;
    gouraud.screen = {{{-60, 30, 3}, {150, -40, 3}, {90, 200, 3}}};
    gouraud.shade = {{{1, 0.1, 0.1}, {0.1, 1, 0.1}, {0.1, 0.1, 1}}};
    drawShadedTriangle(gouraud.record(target, true));
    test::Triangle nearer;
    nearer.screen = {{{-30, 150, 2}, {60, 60, 4}, {120, 230, 2}}};
    nearer.color = 0x00FFC040;
    nearer.shade = {{{1, 1, 1}, {0.2, 0.2, 0.2}, {0.7, 0.7, 0.7}}};
    drawShadedTriangle(nearer.record(target, true));
    quad[0].color = 0x0000FF00;
    drawTriangleEdges(quad[0].record(target, false));
    test::Triangle line;
    line.screen = {{{5, 235, 1}, {400, -100, 1}, {0, 0, 1}}};
    drawEdge(line.record(target, false), 0, 1);
    ASSERT_TRUE(target.guardsIntact());
    EXPECT_EQ(target.pixel(319, 0), 0x00202830u);
    EXPECT_NE(target.pixel(300, 200), 0x00202830u);         // floor
    EXPECT_EQ(target.pixel(120, 2) & 0x808080u, 0x008000u); // green corner
    EXPECT_EQ(target.pixel(5, 235), 0x00FFFFFFu);           // line

    const std::filesystem::path directory = VARDEL_TEST_OUTPUT_DIR;
    std::filesystem::create_directories(directory);
    const RasterTriangle record = target.record(false);
    std::string reason;
    ASSERT_TRUE(writePng(directory / "raster.png", record.pixels, 320, 240, 0, &reason))
        << reason;
}

} // namespace
} // namespace vardel
