// Speed of the triangle fillers, the clipping draw calls and the line drawer at 320 x 240.
// Items are pixels written. The fillers draw "frames" of triangles of one size laid edge to
// edge over the screen (large ~10,000, medium ~500, small ~30 pixels each); the depth-tested
// ones clear the depth buffer once per frame, as a render does.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "render/Avx2.h"
#include "render/DepthCull.h"
#include "render/Line.h"
#include "render/RasterTriangle.h"
#include "render/ShadedTriangle.h"
#include "render/TexturedTriangle.h"
#include "scene/MultiplyTable.h"
#include "scene/Texture.h"

namespace vardel {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr std::uint32_t kUnwritten = 0xFF000000u; // no filler writes a top byte here

struct Corner {
    ScreenVertex screen;
    VertexShade shade;
    TexCoord uv;
};

class Frame {
public:
    Frame() : pixels(kWidth * kHeight), depth(kWidth * kHeight) {
        std::mt19937 random(1);
        texture.width = texture.height = 256;
        for (int i = 0; i < 256 * 256; ++i) {
            texture.pixels.push_back(static_cast<std::uint32_t>(random()) & 0x00FFFFFFu);
        }
    }

    // Triangles with legs of `side` pixels, two to a square, squares tiling the screen; flat,
    // all at one depth (so that texel coordinates are linear on the screen).
    void tile(double side, bool flat = false) {
        corners.clear();
        std::mt19937 random(2);
        std::uniform_real_distribution<double> light(0.2, flat ? 0.9 : 1.0); // flat: no level held
        for (double y = 0.3; y + side <= kHeight - 1; y += side) {
            for (double x = 0.4; x + side <= kWidth - 1; x += side) {
                const double square[4][2] = {
                    {x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
                for (const int* half : {kFirstHalf, kSecondHalf}) {
                    for (int k = 0; k < 3; ++k) {
                        const double* p = square[half[k]];
                        const double z = flat ? 2.0 : 2.0 + (p[0] + p[1]) / 400.0;
                        // Flat: texels off the border, so that none needs holding.
                        const double margin = flat ? 8.0 : 0.0;
                        corners.push_back({{p[0], p[1], z},
                                           {light(random), light(random), light(random)},
                                           {p[0] * 0.7 + margin, p[1] * 0.9 + margin}});
                    }
                }
            }
        }
        link();
    }

    // Large triangles with corners anywhere in a band around the screen: most need cutting.
    void scatter(int count) {
        corners.clear();
        std::mt19937 random(3);
        std::uniform_real_distribution<double> x(-200, kWidth + 200);
        std::uniform_real_distribution<double> y(-150, kHeight + 150);
        std::uniform_real_distribution<double> z(1, 10);
        for (int i = 0; i < count * 3; ++i) {
            corners.push_back({{x(random), y(random), z(random)},
                               {0.8, 0.6, 0.4},
                               {x(random) / 2 + 100, y(random) / 2 + 75}});
        }
        link();
    }

    // Draws every triangle once; returns the pixels written, counted on a cleared frame.
    std::int64_t countPixels(void (*draw)(const RasterTriangle&), bool withDepth) {
        std::fill(pixels.begin(), pixels.end(), kUnwritten);
        drawAll(draw, withDepth);
        return std::count_if(pixels.begin(), pixels.end(),
                             [](std::uint32_t p) { return p != kUnwritten; });
    }

    void drawAll(void (*draw)(const RasterTriangle&), bool withDepth) {
        if (withDepth) {
            std::memset(depth.data(), 0, depth.size() * sizeof(float));
        }
        for (RasterTriangle& t : triangles) {
            t.depth = withDepth ? depth.data() : nullptr;
            draw(t);
        }
        benchmark::DoNotOptimize(pixels.data());
    }

    // Every triangle's depth buffer holding `nearness` everywhere.
    void coverDepth(float nearness) {
        std::fill(depth.begin(), depth.end(), nearness);
        for (RasterTriangle& t : triangles) {
            t.depth = depth.data();
        }
    }

    std::vector<RasterTriangle> triangles;
    bool eightWide = avx2Usable(); // as the program's records (see link)

private:
    static constexpr int kFirstHalf[3] = {0, 1, 2};
    static constexpr int kSecondHalf[3] = {0, 2, 3};

    void link() {
        triangles.clear();
        for (std::size_t i = 0; i + 2 < corners.size(); i += 3) {
            RasterTriangle t;
            for (int k = 0; k < 3; ++k) {
                t.screen[k] = &corners[i + k].screen;
                t.shade[k] = &corners[i + k].shade;
                t.uv[k] = &corners[i + k].uv;
            }
            t.color = 0x00C08040;
            t.texture = &texture;
            t.shadeTable = &table;
            t.pixels = pixels.data();
            t.width = kWidth;
            t.height = kHeight;
            t.eightWide = eightWide;
            triangles.push_back(t);
        }
    }

    std::vector<std::uint32_t> pixels;
    std::vector<float> depth;
    std::vector<Corner> corners;
    Texture texture;
    MultiplyTable table;
};

constexpr double kLarge = 141.0; // legs of about 141 pixels: ~10,000 pixels per triangle
constexpr double kMedium = 31.6; // ~500
constexpr double kSmall = 7.8;   // ~30

void runFrames(benchmark::State& state, Frame& frame, void (*draw)(const RasterTriangle&),
               bool withDepth) {
    const std::int64_t perFrame = frame.countPixels(draw, withDepth);
    for (auto _ : state) {
        frame.drawAll(draw, withDepth);
    }
    state.SetItemsProcessed(state.iterations() * perFrame);
    state.counters["px/triangle"] =
        static_cast<double>(perFrame) / static_cast<double>(frame.triangles.size());
}

void fill(benchmark::State& state, void (*draw)(const RasterTriangle&), bool withDepth,
          double side) {
    Frame frame;
    frame.tile(side);
    runFrames(state, frame, draw, withDepth);
}

#define VARDEL_FILL_BENCHMARKS(name, filler, withDepth)                                            \
    void name(benchmark::State& state, double side) {                                              \
        fill(state, filler, withDepth, side);                                                      \
    }                                                                                              \
    BENCHMARK_CAPTURE(name, large, kLarge);                                                        \
    BENCHMARK_CAPTURE(name, medium, kMedium);                                                      \
    BENCHMARK_CAPTURE(name, small, kSmall)

VARDEL_FILL_BENCHMARKS(BM_FillShaded, fillShadedTriangle, false);
VARDEL_FILL_BENCHMARKS(BM_FillShadedDepth, fillShadedTriangleDepth, true);
VARDEL_FILL_BENCHMARKS(BM_FillTextured, fillTexturedTriangle, false);
VARDEL_FILL_BENCHMARKS(BM_FillTexturedMono, fillTexturedTriangleMono, false);
VARDEL_FILL_BENCHMARKS(BM_FillTexturedDepth, fillTexturedTriangleDepth, true);
VARDEL_FILL_BENCHMARKS(BM_FillTexturedMonoDepth, fillTexturedTriangleMonoDepth, true);

// The depth-tested shaded filler held to groups of four pixels, beside BM_FillShadedDepth,
// which takes groups of eight where the processor has AVX2.
void BM_FillShadedDepthFourWide(benchmark::State& state, double side) {
    Frame frame;
    frame.eightWide = false;
    frame.tile(side);
    runFrames(state, frame, fillShadedTriangleDepth, true);
}
BENCHMARK_CAPTURE(BM_FillShadedDepthFourWide, large, kLarge);
BENCHMARK_CAPTURE(BM_FillShadedDepthFourWide, medium, kMedium);

// The mono depth-tested textured filler on flat triangles, whose long spans go in groups of
// four or (with AVX2) eight.
void BM_FillTexturedMonoDepthFlat(benchmark::State& state, double side, bool eightWide) {
    Frame frame;
    frame.eightWide = eightWide && avx2Usable();
    frame.tile(side, true);
    runFrames(state, frame, fillTexturedTriangleMonoDepth, true);
}
BENCHMARK_CAPTURE(BM_FillTexturedMonoDepthFlat, large_fours, kLarge, false);
BENCHMARK_CAPTURE(BM_FillTexturedMonoDepthFlat, large_eights, kLarge, true);
BENCHMARK_CAPTURE(BM_FillTexturedMonoDepthFlat, medium_fours, kMedium, false);
BENCHMARK_CAPTURE(BM_FillTexturedMonoDepthFlat, medium_eights, kMedium, true);

// The depth cull on triangles that all lie behind the buffer, so that each reads its whole
// rectangle, in groups of four or (with AVX2) eight. Items are triangles.
void BM_DepthCullHidden(benchmark::State& state, double side, bool eightWide) {
    Frame frame;
    frame.eightWide = eightWide && avx2Usable();
    frame.tile(side);
    frame.coverDepth(1.0f); // nearer than every corner
    for (auto _ : state) {
        int hidden = 0;
        for (const RasterTriangle& t : frame.triangles) {
            hidden += hiddenByDepth(t) ? 1 : 0;
        }
        benchmark::DoNotOptimize(hidden);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(frame.triangles.size()));
}
BENCHMARK_CAPTURE(BM_DepthCullHidden, small_fours, kSmall, false);
BENCHMARK_CAPTURE(BM_DepthCullHidden, small_eights, kSmall, true);
BENCHMARK_CAPTURE(BM_DepthCullHidden, medium_fours, kMedium, false);
BENCHMARK_CAPTURE(BM_DepthCullHidden, medium_eights, kMedium, true);

// Whole draw calls on triangles running off the screen: clipping plus filling.
void BM_DrawClipped(benchmark::State& state, void (*draw)(const RasterTriangle&)) {
    Frame frame;
    frame.scatter(32);
    runFrames(state, frame, draw, true);
}
BENCHMARK_CAPTURE(BM_DrawClipped, shaded_depth, drawShadedTriangle);
BENCHMARK_CAPTURE(BM_DrawClipped, textured_depth, drawTexturedTriangle);

// Edges of triangles scattered around the screen, clipped and stepped.
void BM_LineTriangleEdges(benchmark::State& state) {
    Frame frame;
    frame.scatter(256);
    runFrames(state, frame, drawTriangleEdges, false);
}
BENCHMARK(BM_LineTriangleEdges);

} // namespace
} // namespace vardel
