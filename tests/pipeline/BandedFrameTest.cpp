// A frame drawn in two bands of rows at the same time, as the two-thread renderer draws it:
// the pixels and depths are those of the frame rendered whole, and the bands write nothing
// that both share.

#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <vector>

#include "TestScene.h"
#include "render/Render.h"

namespace vardel {
namespace {

// Overlapping triangles in front of the camera in several colours, some of them facing away,
// some with a level edge, and a floor reaching behind the camera, which the near plane cuts.
void buildScene(test::TestScene& t, std::mt19937& random) {
    std::uniform_real_distribution<double> x(-420.0, 420.0);
    std::uniform_real_distribution<double> y(-320.0, 320.0);
    std::uniform_real_distribution<double> z(-300.0, 300.0);
    for (std::uint32_t colour : {0x00FF8040u, 0x0040C0FFu, 0x00FFFFFFu}) {
        std::vector<Vec3> points;
        std::vector<std::vector<int>> polygons;
        for (int i = 0; i < 30; ++i) {
            points.push_back({x(random), y(random), z(random)});
            if (i >= 2) {
                polygons.push_back({i - 2, i - 1, i});
            }
        }
        t.addObject(points, polygons, colour);
    }
    // Triangles with a level edge above or below, both windings: whole rows at their ends.
    std::vector<Vec3> level;
    std::vector<std::vector<int>> levelPolygons;
    for (int i = 0; i < 12; ++i) {
        const double left = x(random);
        const double low = y(random);
        const double high = low + (i % 2 == 0 ? 90.0 : -90.0);
        const int first = static_cast<int>(level.size());
        level.insert(level.end(),
                     {{left, low, -100}, {left + 150, low, -100}, {left + 75, high, -100}});
        levelPolygons.push_back({first, first + 1, first + 2});
        levelPolygons.push_back({first, first + 2, first + 1});
    }
    t.addObject(level, levelPolygons, 0x00FFFF40);
    t.addObject(
        {{-5000, -150, -2000}, {-5000, -150, 5000}, {5000, -150, 5000}, {5000, -150, -2000}},
        {{0, 1, 2}, {0, 2, 3}}, 0x0080FF80);
    t.addLight({-400, 600, -900}, 0.8);
    t.addLight({500, -200, -300}, 0.6);
    t.placeCamera({0, 0, -900});
    t.finish();
}

std::vector<std::uint32_t> pixels(const test::TestScene& t) {
    std::vector<std::uint32_t> all;
    for (int y = 0; y < test::TestScene::kHeight; ++y) {
        for (int x = 0; x < test::TestScene::kWidth; ++x) {
            all.push_back(t.pixel(x, y));
        }
    }
    return all;
}

std::vector<float> depths(const Scene& scene) {
    if (scene.depthBuffer == nullptr) {
        return {};
    }
    return {scene.depthBuffer.get(), scene.depthBuffer.get() + scene.depthBufferSize()};
}

std::vector<VertexShade> shades(const Scene& scene) {
    std::vector<VertexShade> all;
    for (const SceneObject* object = scene.context.objects; object != nullptr;
         object = object->next) {
        all.insert(all.end(), object->vertexLight.begin(), object->vertexLight.end());
    }
    return all;
}

bool sameShades(const std::vector<VertexShade>& a, const std::vector<VertexShade>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].r != b[i].r || a[i].g != b[i].g || a[i].b != b[i].b) {
            return false;
        }
    }
    return true;
}

TEST(BandedFrame, TwoBandsAtOnceDrawTheFrameRenderedWhole) {
    std::mt19937 random(77);
    for (int round = 0; round < 12; ++round) {
        const bool withDepth = round % 3 != 2; // the others in painter's order
        const bool faceLit = round % 2 == 0;
        test::TestScene t;
        buildScene(t, random);
        t.scene.faceLighting = faceLit ? 1 : 0;
        t.scene.greyLighting = round % 4 == 1 ? 1 : 0;
        if (withDepth) {
            t.scene.createDepthBuffer();
        }
        render(t.scene, 0.0);
        const std::vector<std::uint32_t> whole = pixels(t);
        const std::vector<float> wholeDepth = depths(t.scene);
        ASSERT_GT(t.coveredPixels(), 20000) << "round " << round;

        t.clearTarget();
        const int split =
            std::uniform_int_distribution<int>(1, test::TestScene::kHeight - 1)(random);
        prepareFrame(t.scene, 0.0);
        // Both bands may light the same points: neither writes the objects' shades.
        const std::vector<VertexShade> before = shades(t.scene);
        std::thread lower([&] { drawFrameRows(t.scene, split, test::TestScene::kHeight); });
        drawFrameRows(t.scene, 0, split);
        lower.join();
        EXPECT_TRUE(pixels(t) == whole) << "round " << round << ", split at row " << split;
        EXPECT_TRUE(depths(t.scene) == wholeDepth) << "round " << round;
        EXPECT_TRUE(sameShades(shades(t.scene), before)) << "round " << round;
        EXPECT_TRUE(t.guardIntact());
    }
}

TEST(BandedFrame, EveryRowCanBeTheBoundary) {
    // Triangles that end on, just above or just below the boundary row, for every row.
    std::mt19937 random(31);
    test::TestScene t;
    buildScene(t, random);
    t.scene.createDepthBuffer();
    render(t.scene, 0.0);
    const std::vector<std::uint32_t> whole = pixels(t);
    int differing = 0;
    for (int split = 1; split < test::TestScene::kHeight; ++split) {
        t.clearTarget();
        prepareFrame(t.scene, 0.0);
        drawFrameRows(t.scene, 0, split);
        drawFrameRows(t.scene, split, test::TestScene::kHeight);
        differing += pixels(t) != whole ? 1 : 0;
    }
    EXPECT_EQ(differing, 0) << "boundaries where the frame differs";
}

TEST(BandedFrame, OneBandDrawsOnlyItsOwnRows) {
    for (const bool withDepth : {true, false}) {
        std::mt19937 random(5);
        test::TestScene t;
        buildScene(t, random);
        if (withDepth) {
            t.scene.createDepthBuffer();
        }
        render(t.scene, 0.0);
        const std::vector<std::uint32_t> whole = pixels(t);
        t.clearTarget();
        // Far everywhere, so that rows drawn outside the band would show.
        clearDepthRows(t.scene, 0, test::TestScene::kHeight);
        prepareFrame(t.scene, 0.0);
        drawFrameRows(t.scene, 80, 150);
        int wrong = 0;
        for (int y = 0; y < test::TestScene::kHeight; ++y) {
            for (int x = 0; x < test::TestScene::kWidth; ++x) {
                const std::uint32_t want =
                    y >= 80 && y < 150
                        ? whole[static_cast<std::size_t>(y * test::TestScene::kWidth + x)]
                        : test::TestScene::kSentinel;
                wrong += t.pixel(x, y) != want ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << (withDepth ? "depth buffer" : "painter's order");
    }
}

} // namespace
} // namespace vardel
