// Key tracks: the keys chosen at a time, the Newton interpolants, and the motion they write
// into the pose fields of objects, lights and the camera.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "math/Track.h"
#include "scene/Motion.h"
#include "scene/Scene.h"

namespace vardel {
namespace {

TEST(Track, SegmentChoiceAtAndAroundKeys) {
    const std::vector<double> five = {0, 10, 20, 30, 40};
    const struct {
        std::vector<double> frames;
        double t;
        TrackForm form;
        int first;
    } cases[] = {
        {five, -5, TrackForm::none, 0},
        {five, 0, TrackForm::exact, 0},
        {five, std::nextafter(10.0, 0.0), TrackForm::quadratic, 0},
        {five, 10, TrackForm::exact, 1},
        {five, std::nextafter(10.0, 11.0), TrackForm::cubic, 0},
        {five, 25, TrackForm::cubic, 1},
        {five, std::nextafter(30.0, 31.0), TrackForm::quadratic, 2},
        {five, 40, TrackForm::exact, 4},
        {five, std::numeric_limits<double>::quiet_NaN(), TrackForm::exact, 4},
        {{0, 10}, 5, TrackForm::linear, 0},
        {{0, 10}, -1, TrackForm::none, 0},
        {{7}, -100, TrackForm::exact, 0},
        {{}, 3, TrackForm::none, 0},
    };
    for (const auto& c : cases) {
        const TrackSegment segment =
            findTrackSegment(int(c.frames.size()), c.t, [&](int k) { return c.frames[k]; });
        EXPECT_EQ(segment.form, c.form) << "n=" << c.frames.size() << " t=" << c.t;
        EXPECT_EQ(segment.form == TrackForm::none ? 0 : segment.first, c.first) << c.t;
    }
}

TEST(Track, NewtonFormsMatchHandComputedValues) {
    // Line through (0, 1), (10, 3); parabola 1 + t^2 through t = 0, 1, 3; cubic t^3 through
    // t = 0, 1, 2, 4 (unevenly spaced, so a wrong divided difference shows).
    const double lineT[] = {0, 10}, lineY[] = {1, 3};
    EXPECT_DOUBLE_EQ(newtonValue(TrackForm::linear, lineT, lineY, 2.5), 1.5);
    const double quadT[] = {0, 1, 3}, quadY[] = {1, 2, 10};
    EXPECT_DOUBLE_EQ(newtonValue(TrackForm::quadratic, quadT, quadY, 2.0), 5.0);
    const double cubeT[] = {0, 1, 2, 4}, cubeY[] = {0, 1, 8, 64};
    EXPECT_DOUBLE_EQ(newtonValue(TrackForm::cubic, cubeT, cubeY, 3.0), 27.0);
    EXPECT_DOUBLE_EQ(newtonValue(TrackForm::cubic, cubeT, cubeY, 0.5), 0.125);
}

// Keys at the given frames whose channel c is (c + 1)(frame / 2 + 1): a channel in the wrong
// field, or interpolated with another channel's differences, shows. Every channel is linear
// in time, which each interpolant reproduces.
KeyArray track(std::initializer_list<double> frames) {
    KeyArray keys = std::make_shared<Key[]>(frames.size());
    std::size_t k = 0;
    for (double frame : frames) {
        keys[k].frame = frame;
        for (std::size_t c = 0; c < Key::channels.size(); ++c)
            keys[k].*Key::channels[c] = double(c + 1) * (frame / 2 + 1);
        ++k;
    }
    return keys;
}

// Positions carry the factor 100; angles and scales do not.
template <typename Pose> void expectPose(const Pose& pose, double t, const char* what) {
    const double fields[] = {pose.posX / 100, pose.posY / 100, pose.posZ / 100,
                             pose.heading,    pose.pitch,      pose.bank,
                             pose.scaleX,     pose.scaleY,     pose.scaleZ};
    for (int c = 0; c < 9; ++c)
        EXPECT_DOUBLE_EQ(fields[c], (c + 1) * (t / 2 + 1)) << what << " channel " << c;
}

// Every track of a scene at one time, in each kind of segment: objects and lights through the
// scene's cursors (which end null), then the camera, whose focal length stays. Before the
// first of two keys nothing is written; a single key holds at every time.
TEST(Motion, TracksWriteThePosesOfObjectsLightsAndTheCamera) {
    Scene scene;
    auto add = [&](std::initializer_list<double> frames) {
        auto* object = new SceneObject;
        object->keys = track(frames);
        object->keyCount = int(frames.size());
        object->posX = 42;
        scene.context.appendObject(object);
        return object;
    };
    const SceneObject* cubic = add({0, 20, 40, 60});
    const SceneObject* quadratic = add({20, 40, 60});
    const SceneObject* linear = add({20, 40});
    const SceneObject* pastTheLast = add({0, 20});
    const SceneObject* single = add({50});
    const SceneObject* before = add({40, 60});
    auto* light = new Light;
    light->keys = track({0, 20, 40, 60});
    light->keyCount = 4;
    scene.lights.append(light);
    scene.cameraKeys = track({0, 20, 40});
    scene.cameraKeyCount = 3;
    scene.camera.focal = 5;
    evaluateSceneMotion(scene, 30);
    expectPose(*cubic, 30, "cubic");
    expectPose(*quadratic, 30, "quadratic");
    expectPose(*linear, 30, "linear");
    expectPose(*pastTheLast, 20, "past the last key");
    expectPose(*single, 50, "single key");
    EXPECT_EQ(before->posX, 42);
    expectPose(*light, 30, "light");
    expectPose(scene.camera, 30, "camera");
    EXPECT_EQ(scene.camera.focal, 5);
    EXPECT_EQ(scene.currentObject, nullptr);
    EXPECT_EQ(scene.currentLight, nullptr);
}

} // namespace
} // namespace vardel
