// Motion tracks written into the pose fields of objects, lights and the camera.

#include <gtest/gtest.h>

#include "scene/Motion.h"
#include "scene/Scene.h"

namespace vardel {
namespace {

// Keys whose channel c is (c + 1)(base + 1): a channel in the wrong field, or interpolated
// with another channel's differences, shows.
KeyArray track(std::initializer_list<std::pair<double, double>> frameAndBase) {
    KeyArray keys = std::make_shared<Key[]>(frameAndBase.size());
    std::size_t k = 0;
    for (auto [frame, base] : frameAndBase) {
        keys[k].frame = frame;
        for (std::size_t c = 0; c < Key::channels.size(); ++c) {
            keys[k].*Key::channels[c] = static_cast<double>(c + 1) * (base + 1);
        }
        ++k;
    }
    return keys;
}

// Positions carry the factor 100; angles and scales do not.
template <typename Pose> void expectPose(const Pose& pose, double base, const char* what) {
    const double fields[] = {pose.posX / 100, pose.posY / 100, pose.posZ / 100,
                             pose.heading,    pose.pitch,      pose.bank,
                             pose.scaleX,     pose.scaleY,     pose.scaleZ};
    for (int c = 0; c < 9; ++c) {
        EXPECT_DOUBLE_EQ(fields[c], (c + 1) * (base + 1)) << what << " channel " << c;
    }
}

TEST(Motion, ChannelsReachTheirFieldsInEveryKindOfSegment) {
    // Every channel is linear in time (base = frame / 2), which each interpolant reproduces.
    const KeyArray keys = track({{0, 0}, {20, 10}, {40, 20}, {60, 30}});
    SceneObject object;
    object.keys = keys;
    object.keyCount = 2;
    evaluateMotion(object, 10);
    expectPose(object, 5, "linear");
    object.keyCount = 4;
    for (double t : {10.0, 30.0, 50.0}) {
        evaluateMotion(object, t);
        expectPose(object, t / 2, "quadratic or cubic");
    }
    Light light;
    light.keys = keys;
    light.keyCount = 4;
    evaluateMotion(light, 1000);
    expectPose(light, 30, "light past the last key");
    Scene scene;
    scene.cameraKeys = keys;
    scene.cameraKeyCount = 3;
    scene.camera.focal = 5;
    evaluateCameraMotion(scene, 30);
    expectPose(scene.camera, 15, "camera");
    EXPECT_EQ(scene.camera.focal, 5);
}

TEST(Motion, BeforeTheFirstKeyOnlyASingleKeyWrites) {
    SceneObject object;
    object.keys = track({{10, 0}, {20, 10}});
    object.keyCount = 2;
    object.posX = 42;
    object.bank = 43;
    evaluateMotion(object, 9.5);
    EXPECT_EQ(object.posX, 42);
    EXPECT_EQ(object.bank, 43);
    object.keyCount = 1;
    evaluateMotion(object, -50);
    expectPose(object, 0, "one key before its frame");
}

TEST(Motion, SceneEvaluatesEveryTrackAndLeavesCursorsNull) {
    Scene scene;
    auto* object = new SceneObject; // x = 0, 1, 4, 9 at frames 0, 10, 20, 30: a parabola
    object->keys = std::make_shared<Key[]>(4);
    object->keyCount = 4;
    for (std::size_t k = 0; k < 4; ++k) {
        object->keys[k].frame = 10.0 * static_cast<double>(k);
        object->keys[k].x = static_cast<double>(k * k);
    }
    scene.context.appendObject(object);
    auto* light = new Light;
    light->keys = track({{0, 0}, {20, 10}});
    light->keyCount = 2;
    scene.lights.append(light);
    scene.camera.posX = 7; // no camera keys: the camera stays
    evaluateSceneMotion(scene, 15);
    EXPECT_DOUBLE_EQ(object->posX, 225);
    expectPose(*light, 7.5, "light");
    EXPECT_EQ(scene.camera.posX, 7);
    EXPECT_EQ(scene.currentObject, nullptr);
    EXPECT_EQ(scene.currentLight, nullptr);
}

} // namespace
} // namespace vardel
