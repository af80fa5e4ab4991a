// Planar texture mapping: coordinates, the fit test, the borrowed pose.

#include <gtest/gtest.h>

#include "TestScene.h"
#include "scene/Texture.h"

namespace vardel {
namespace {

Texture blankTexture(int width, int height) {
    Texture texture;
    texture.width = width;
    texture.height = height;
    texture.pixels.assign(static_cast<std::size_t>(width * height), 0u);
    return texture;
}

TEST(PlanarMapping, WorkedExampleAndThePoseIsRestored) {
    test::TestScene t;
    SceneObject& object = t.addObject({{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}, {{0, 1, 2}});
    object.posX = 50;
    object.heading = 30;
    object.scaleY = 2;
    t.placeCamera({1, 2, 3}, 45);
    const Texture texture = blankTexture(256, 320);
    object.applyPlanarMapping(texture, {0, 0, 0}, {1, 1});
    const Polygon& polygon = object.polygons[0];
    EXPECT_EQ(polygon.texture, &texture);
    EXPECT_DOUBLE_EQ(polygon.texU0, 127.5);
    EXPECT_DOUBLE_EQ(polygon.texV0, 159.5);
    EXPECT_DOUBLE_EQ(polygon.texU1, 137.5);
    EXPECT_DOUBLE_EQ(polygon.texV1, 159.5);
    EXPECT_DOUBLE_EQ(polygon.texU2, 127.5);
    EXPECT_DOUBLE_EQ(polygon.texV2, 149.5);
    EXPECT_EQ(object.posX, 50);
    EXPECT_EQ(object.heading, 30);
    EXPECT_EQ(object.scaleY, 2);
    EXPECT_EQ(t.scene.camera.posZ, 3);
    EXPECT_EQ(t.scene.camera.heading, 45);
}

TEST(PlanarMapping, PolygonsThatDoNotFitKeepTheirTexture) {
    test::TestScene t;
    SceneObject& object = t.addObject({{0, 0, 0}, {10, 0, 0}, {0, 400, 0}, {5, 5, 0}, {5, 5, 9}},
                                      {{0, 1, 2}, {3, 3, 4}, {0, 1}});
    const Texture first = blankTexture(256, 320);
    const Texture second = blankTexture(256, 320);
    object.polygons[0].texture = &first;
    object.applyPlanarMapping(second, {0, 0, 0}, {0.5, 0.5});
    // v of the third corner is 159.5 - 800: out, so the old texture stays; the coordinates
    // written before the failing test stay written.
    EXPECT_EQ(object.polygons[0].texture, &first);
    EXPECT_DOUBLE_EQ(object.polygons[0].texU1, 147.5);
    EXPECT_LT(object.polygons[0].texV2, 0.0);
    // Edge-on (no extent in x and y) and line polygons are left alone.
    EXPECT_EQ(object.polygons[1].texture, nullptr);
    EXPECT_EQ(object.polygons[2].texture, nullptr);
    // A zero scale cannot fit and does not trap.
    object.applyPlanarMapping(second, {0, 0, 0}, {0.0, 0.0});
    EXPECT_EQ(object.polygons[0].texture, &first);
}

TEST(PlanarMapping, HeadingNinetyMapsFacesAlongTheObjectsXAxis) {
    test::TestScene t;
    // One face in the plane x = 10 (normal along x), one in the plane z = 0 (normal along z).
    SceneObject& object = t.addObject({{10, 0, 0}, {10, 0, 10}, {10, 10, 0}, {0, 0, 0}, {10, 0, 0}, {0, 10, 0}},
                                      {{0, 1, 2}, {3, 4, 5}});
    const Texture texture = blankTexture(64, 64);
    object.applyPlanarMapping(texture, {0, 90, 0}, {1, 1});
    EXPECT_EQ(object.polygons[0].texture, &texture);
    EXPECT_EQ(object.polygons[1].texture, nullptr);
}

} // namespace
} // namespace vardel
