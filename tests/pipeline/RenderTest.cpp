// The render driver and the object pipeline on small scenes made here: near-plane clipping,
// painter's order, the depth buffer, the edge pass.

#include <gtest/gtest.h>

#include <random>

#include "TestScene.h"
#include "render/Render.h"

namespace vardel {
namespace {

// A floor quad at y = -100 from z = -2000 to 5000, seen by a camera at the origin: it
// reaches behind the camera, so both its triangles are cut at the near plane.
void addFloor(test::TestScene& t) {
    t.addObject(
        {{-5000, -100, -2000}, {-5000, -100, 5000}, {5000, -100, 5000}, {5000, -100, -2000}},
        {{0, 1, 2}, {0, 2, 3}}, 0x00FFFFFF);
    t.addLight({0, 1000, 0});
    t.finish();
}

TEST(NearPlane, FloorRunningBehindTheCameraCoversExactlyTheLowerScreen) {
    for (bool depth : {false, true}) {
        test::TestScene t;
        addFloor(t);
        if (depth) {
            t.scene.createDepthBuffer();
        }
        render(t.scene, 0.0);
        // Screen y of the floor at depth z is 119 + 320 * 100 / z: the far edge (z = 5000)
        // is at 125.4, and everything below down to the bottom row is floor.
        for (int y = 0; y < test::TestScene::kHeight; ++y) {
            for (int x : {0, 100, 159, 318}) { // the last column is never filled
                const bool floor = t.pixel(x, y) != test::TestScene::kSentinel;
                if (y <= 124) {
                    EXPECT_FALSE(floor) << x << "," << y;
                } else if (y >= 127 && y < test::TestScene::kHeight - 1) { // last row not filled
                    EXPECT_TRUE(floor) << x << "," << y;
                }
            }
        }
        EXPECT_TRUE(t.guardIntact());
    }
}

TEST(NearPlane, CornerJustBehindThePlaneSplitsWithoutChangingThePicture) {
    // A corner exactly on the plane is in front (drawn unclipped); a hair behind it, the
    // triangle is cut in two whose union covers practically the same pixels.
    std::vector<int> coverage;
    for (double z : {0.5, 0.4999}) {
        test::TestScene t;
        t.addObject({{-0.2, -0.2, z}, {0, 0.2, 1.0}, {0.2, -0.2, 1.0}}, {{0, 1, 2}});
        t.addLight({0, 0, -10});
        t.finish();
        render(t.scene, 0.0);
        coverage.push_back(t.coveredPixels());
        EXPECT_TRUE(t.guardIntact());
    }
    EXPECT_GT(coverage[0], 5000);
    EXPECT_NEAR(coverage[1], coverage[0], coverage[0] / 100);
}

TEST(NearPlane, TrianglesAndLinesTouchingThePlaneAreDrawn) {
    // Depth 0.5 is in front: a triangle lying in the plane draws whole (128 x 128 / 2 pixels),
    // and a line draws with either end on it.
    const struct {
        std::vector<Vec3> points;
        std::vector<int> polygon;
        int pixels;
    } cases[] = {
        {{{-0.1, -0.1, 0.5}, {0, 0.1, 0.5}, {0.1, -0.1, 0.5}}, {0, 1, 2}, 8192},
        {{{-0.1, 0.05, 0.5}, {0.1, -0.05, 1.0}}, {0, 1}, 97},
        {{{0.1, -0.05, 1.0}, {-0.1, 0.05, 0.5}}, {0, 1}, 97},
    };
    for (const auto& c : cases) {
        test::TestScene t;
        t.addObject(c.points, {c.polygon});
        t.addLight({0, 0, -10});
        t.finish();
        render(t.scene, 0.0);
        EXPECT_NEAR(t.coveredPixels(), c.pixels, c.pixels / 50 + 2) << c.polygon.size();
        EXPECT_TRUE(t.guardIntact());
    }
}

TEST(NearPlane, TriangleWithOneCornerBehindKeepsItsWinding) {
    // Seen from the front the triangle draws; its mirror image (corners exchanged) must draw
    // nothing, also after the cut into two triangles.
    for (bool mirrored : {false, true}) {
        test::TestScene t;
        std::vector<std::vector<int>> order = {{0, 1, 2}};
        if (mirrored) {
            order = {{0, 2, 1}};
        }
        t.addObject({{0, -50, -100}, {-200, 50, 400}, {200, 50, 400}}, order);
        t.addLight({0, 0, -10});
        t.finish();
        render(t.scene, 0.0);
        if (mirrored) {
            EXPECT_EQ(t.coveredPixels(), 0);
        } else {
            EXPECT_GT(t.coveredPixels(), 2000);
        }
    }
}

TEST(SortPolygons, FarthestFirstAndStable) {
    test::TestScene t;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> depth(1.0, 50.0);
    std::vector<Vec3> points;
    std::vector<std::vector<int>> polygons;
    for (int i = 0; i < 60; ++i) {
        const double z = i % 7 == 0 ? 20.0 : depth(random); // some equal keys
        points.push_back({0, 0, z});
        points.push_back({1, 0, z});
        points.push_back({0, 1, z});
        polygons.push_back({3 * i, 3 * i + 1, 3 * i + 2});
    }
    polygons.push_back({0, 4}); // a line sorts by 3/2 of its two depths
    SceneObject& object = t.addObject(points, polygons);
    object.viewPoints = object.points;
    t.finish();
    sortPolygons(t.scene.context);
    const auto& table = t.scene.context.polygonTable;
    for (std::size_t i = 1; i < table.size(); ++i) {
        EXPECT_GE(polygonDepthKey(*table[i - 1]), polygonDepthKey(*table[i]));
    }

    // Equal keys that nothing else moves keep their order; empty and single tables are fine.
    test::TestScene flat;
    SceneObject& same =
        flat.addObject({{0, 0, 5}, {1, 0, 5}, {0, 1, 5}}, {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}});
    same.viewPoints = same.points;
    flat.finish();
    const std::vector<Polygon*> before = flat.scene.context.polygonTable;
    sortPolygons(flat.scene.context);
    EXPECT_EQ(flat.scene.context.polygonTable, before);
    RenderContext empty;
    sortPolygons(empty);
}

TEST(Render, LeavesUncoveredPixelsAndDepthsAlone) {
    test::TestScene t;
    t.addObject({{-100, -100, 0}, {0, 100, 0}, {100, -100, 0}}, {{0, 1, 2}}, 0x00FFFFFF);
    t.addLight({0, 0, -1000});
    t.placeCamera({0, 0, -1000});
    t.finish();
    t.scene.createDepthBuffer();
    t.pixelAt(5, 5) = 0x00123456;
    render(t.scene, 0.0);
    EXPECT_EQ(t.pixel(5, 5), 0x00123456u);
    EXPECT_EQ(t.pixel(300, 200), test::TestScene::kSentinel);
    const int pitch = t.scene.width + t.scene.rowPadding;
    EXPECT_EQ(t.scene.depthBuffer[static_cast<std::size_t>(5 * pitch + 5)], 0.0f);
    EXPECT_FLOAT_EQ(t.scene.depthBuffer[static_cast<std::size_t>(119 * pitch + 159)],
                    1.0f / 1000.0f);
    EXPECT_NE(t.pixel(159, 119), test::TestScene::kSentinel);
    EXPECT_EQ(t.scene.camera.focal, 320.0);
    EXPECT_EQ(t.scene.currentObject, nullptr);
    EXPECT_EQ(t.scene.currentLight, nullptr);

    // A new target between two calls receives the second picture.
    std::vector<std::uint32_t> other(static_cast<std::size_t>(pitch * t.scene.height), 7u);
    t.scene.target = other.data();
    render(t.scene, 0.0);
    EXPECT_NE(other[static_cast<std::size_t>(119 * pitch + 159)], 7u);
}

TEST(Render, DepthBufferOrderDoesNotDependOnDrawOrder) {
    // Two overlapping squares at different depths, listed near-first and far-first.
    for (bool nearFirst : {true, false}) {
        test::TestScene t;
        const std::vector<Vec3> nearSquare = {
            {-20, -20, 100}, {-20, 20, 100}, {20, 20, 100}, {20, -20, 100}};
        const std::vector<Vec3> farSquare = {
            {-20, -90, 200}, {-20, 90, 200}, {200, 90, 200}, {200, -90, 200}};
        const std::vector<std::vector<int>> quad = {{0, 1, 2}, {0, 2, 3}};
        t.addObject(nearFirst ? nearSquare : farSquare, quad, nearFirst ? 0x000000FF : 0x00FF0000);
        t.addObject(nearFirst ? farSquare : nearSquare, quad, nearFirst ? 0x00FF0000 : 0x000000FF);
        t.addLight({0, 0, -1000});
        t.scene.ambientR = 1.0;
        t.finish();
        t.scene.createDepthBuffer();
        render(t.scene, 0.0);
        EXPECT_EQ(t.pixel(180, 119) & 0x00FF0000, 0u) << nearFirst; // near square (blue) wins
        EXPECT_NE(t.pixel(180, 119) & 0x000000FF, 0u) << nearFirst;
        EXPECT_NE(t.pixel(300, 119) & 0x00FF0000, 0u) << nearFirst; // only the far one there
    }
}

TEST(EdgePass, OutlinesFrontFacesOnlyAndNeverTheNearPlaneCut) {
    // A small front-facing triangle close to the camera whose first corner is behind the near
    // plane (cut) or just in front of it, and a back-facing triangle. The light is behind both,
    // so the fills are black and every white or red pixel is an edge.
    for (bool cut : {false, true}) {
        test::TestScene t;
        t.addObject({{0, -0.05, cut ? 0.3 : 0.6}, {-0.3, 0.05, 1}, {0.3, 0.05, 1}}, {{0, 1, 2}},
                    0x00FFFFFF);
        t.addObject({{-100, -100, 300}, {100, -100, 300}, {0, 100, 300}}, {{0, 1, 2}}, 0x00FF0000);
        t.addLight({0, 0, 1000});
        t.scene.ambientR = 0.0;
        t.scene.wireframe = 1;
        t.finish();
        render(t.scene, 0.0);
        int red = 0;
        for (int y = 0; y < test::TestScene::kHeight; ++y) {
            for (int x = 0; x < test::TestScene::kWidth; ++x) {
                red += t.pixel(x, y) == 0x00FF0000 ? 1 : 0;
            }
        }
        EXPECT_EQ(red, 0) << cut;
        // The far edge runs along row 103 from column 63 to 255.
        for (int x = 70; x <= 250; x += 10) {
            EXPECT_EQ(t.pixel(x, 103), 0x00FFFFFFu) << cut << " " << x;
        }
        if (cut) {
            // The cut lies along row 133 between columns 104 and 214: not outlined.
            for (int x = 120; x <= 200; ++x) {
                EXPECT_NE(t.pixel(x, 133), 0x00FFFFFFu) << x;
            }
        }
        EXPECT_TRUE(t.guardIntact());
    }
}

} // namespace
} // namespace vardel
