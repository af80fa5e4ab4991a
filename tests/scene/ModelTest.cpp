// The scene model's own operations: multiply table, polygon table, depth buffer, light lists
// and light levels.

#include <gtest/gtest.h>

#include "scene/Scene.h"

namespace vardel {
namespace {

TEST(MultiplyTable, HoldsFlooredProducts) {
    MultiplyTable table;
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(table.at(i, 0), 0);
        EXPECT_EQ(table.at(0, i), 0);
        for (int j = 0; j < 256; j += 17) {
            ASSERT_EQ(table.at(i, j), i * j / 255) << i << " " << j;
        }
    }
    EXPECT_EQ(table.at(255, 255), 255);
    EXPECT_EQ(table.at(255, 127), 127);
    EXPECT_EQ(table.at(128, 127), 63);
    EXPECT_EQ(table.at(16, 16), 1);
    // The block has 1,024 zero bytes beyond the entries.
    EXPECT_EQ(table.entries()[MultiplyTable::kAllocatedBytes - 1], 0);
}

SceneObject* addObject(Scene& scene, int polygons) {
    auto* object = new SceneObject;
    object->polygonCount = polygons;
    object->polygons.resize(static_cast<std::size_t>(polygons));
    scene.context.appendObject(object);
    return object;
}

TEST(Scene, PolygonTableFollowsObjectThenPolygonOrder) {
    Scene scene;
    SceneObject* first = addObject(scene, 3);
    addObject(scene, 0);
    SceneObject* third = addObject(scene, 5);
    scene.buildPolygonTable();
    ASSERT_EQ(scene.context.polygonTotal, 8);
    ASSERT_EQ(scene.context.polygonTable.size(), 8u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(scene.context.polygonTable[static_cast<std::size_t>(i)], &first->polygons[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(scene.context.polygonTable[static_cast<std::size_t>(3 + i)], &third->polygons[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(scene.context.lastObject, third);
}

TEST(Scene, DepthBufferCoversPaddedRows) {
    Scene scene;
    scene.width = 320;
    scene.height = 240;
    scene.rowPadding = 16;
    scene.createDepthBuffer();
    ASSERT_NE(scene.depthBuffer, nullptr);
    EXPECT_EQ(scene.depthBufferSize(), 336 * 240);
    // The last entry of the last padded row is inside the block (ASan checks the access).
    scene.depthBuffer[static_cast<std::size_t>(scene.depthBufferSize() - 1)] = 1.0f;
    EXPECT_EQ(scene.depthBuffer[0], 0.0f);
}

Light* addLight(Scene& scene, double red, double green, double blue, int keys) {
    auto* light = new Light;
    light->colorR = red;
    light->colorG = green;
    light->colorB = blue;
    light->keyCount = keys;
    light->keys = std::make_shared<Key[]>(static_cast<std::size_t>(keys));
    scene.lights.append(light);
    return light;
}

class LightLevel : public ::testing::Test {
protected:
    void SetUp() override {
        firstKeys = addLight(scene, 1.0, 0.5, 0.25, 2)->keys.get();
        secondKeys = addLight(scene, 0.2, 0.4, 0.8, 3)->keys.get();
        scene.ambientR = 0.5;
        scene.ambientG = 0.25;
        scene.ambientB = 0.125;
    }
    Scene scene;
    const Key* firstKeys = nullptr;
    const Key* secondKeys = nullptr;
};

TEST_F(LightLevel, DoesNotCompoundAndRestoresExactly) {
    scene.setLightLevel(0.5);
    scene.setLightLevel(0.5);
    EXPECT_DOUBLE_EQ(scene.lights.head->colorR, 0.5);
    EXPECT_DOUBLE_EQ(scene.lights.head->colorG, 0.25);
    EXPECT_DOUBLE_EQ(scene.lights.tail->colorB, 0.4);
    EXPECT_DOUBLE_EQ(scene.ambientR, 0.25);
    EXPECT_DOUBLE_EQ(scene.ambientB, 0.0625);
    scene.setLightLevel(1.0);
    EXPECT_EQ(scene.lights.head->colorR, 1.0);
    EXPECT_EQ(scene.lights.head->colorG, 0.5);
    EXPECT_EQ(scene.lights.tail->colorB, 0.8);
    EXPECT_EQ(scene.ambientG, 0.25);
    EXPECT_EQ(scene.currentLight, nullptr);
}

TEST_F(LightLevel, KeepsOrderSharesKeysAndReusesNodes) {
    scene.setLightLevel(0.3);
    const Light* first = scene.lights.head;
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->next, scene.lights.tail);
    EXPECT_EQ(first->next->next, nullptr);
    EXPECT_EQ(first->keys.get(), firstKeys);
    EXPECT_EQ(first->next->keys.get(), secondKeys);
    // A fade calls this every frame: the same nodes are refilled, nothing is allocated.
    scene.setLightLevel(0.8);
    EXPECT_EQ(scene.lights.head, first);
    EXPECT_EQ(scene.lights.head->keys.get(), firstKeys);
}

TEST_F(LightLevel, ZeroAndNegativeFactorsAreNotClamped) {
    scene.setLightLevel(0.0);
    EXPECT_EQ(scene.lights.head->colorR, 0.0);
    EXPECT_EQ(scene.ambientG, 0.0);
    scene.setLightLevel(-1.0);
    EXPECT_EQ(scene.lights.head->colorR, -1.0);
    EXPECT_EQ(scene.ambientR, -0.5);
}

TEST(LightList, CopyFromMatchesSourceOfAnyLength) {
    for (int sourceLength : {0, 1, 3}) {
        for (int targetLength : {0, 2, 4}) {
            LightList source;
            LightList target;
            for (int i = 0; i < sourceLength; ++i) {
                auto* light = new Light;
                light->colorR = i;
                source.append(light);
            }
            for (int i = 0; i < targetLength; ++i) {
                target.append(new Light);
            }
            target.copyFrom(source);
            int count = 0;
            const Light* last = nullptr;
            for (const Light* light = target.head; light != nullptr; light = light->next) {
                EXPECT_EQ(light->colorR, count);
                last = light;
                ++count;
            }
            EXPECT_EQ(count, sourceLength);
            EXPECT_EQ(target.tail, last);
        }
    }
}

} // namespace
} // namespace vardel
