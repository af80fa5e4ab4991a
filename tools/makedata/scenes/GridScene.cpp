// The grid wall: a newspaper boat rocks in the middle of three brass rings that spin around
// it, before a wall whose grid the demo switches on the beat. The camera draws slowly back
// and round.

#include "objects/Objects.h"
#include "scenes/SceneParts.h"
#include "scenes/Scenes.h"

namespace vardel::makedata {

namespace {

constexpr double kLast = 160.0;     // the demo uses frames 0 to about 105
constexpr double kStep = 2.0;       // a tenth of the quickest sway
constexpr double kRingScale = 1.75; // the rings' outer radius 1 grows to clear the boat

Pose boat(double t) {
    Pose pose;
    pose.position = {0.0, sway(t, 0.12, 34.0), 0.0};
    pose.heading = -18.0 + 0.3 * t + sway(t, 5.0, 40.0);
    pose.pitch = sway(t, 6.0, 30.0, 0.4);
    pose.bank = sway(t, 4.0, 40.0, 1.3);
    return pose;
}

Pose ringSpin(double t) {
    Pose pose;
    pose.position = {0.0, 0.05, 0.0};
    pose.heading = 40.0 + 4.2 * t;
    pose.pitch = 20.0 + sway(t, 18.0, 60.0);
    pose.bank = 10.0 + 1.3 * t;
    pose.scale = {kRingScale, kRingScale, kRingScale};
    return pose;
}

Pose camera(double t) {
    const double s = smoothRamp(0.0, 120.0, t);
    const Vec3 eye =
        lerp({0.9, 0.6, -5.6}, {-2.2, 1.3, -8.0}, s) + Vec3{0.0, sway(t, 0.15, 37.0), 0.0};
    return lookAt(eye, {0.0, 0.15, 0.5}, sway(t, 4.0, 70.0));
}

} // namespace

formats::SceneDescription gridScene() {
    formats::SceneDescription scene;
    scene.objects.push_back({objectFile::boat, sampleTrack(0.0, kLast, kStep, boat)});
    scene.objects.push_back({objectFile::rings, sampleTrack(0.0, kLast, kStep, ringSpin)});
    Pose wall;
    wall.position = {0.0, 0.0, 7.0};
    wall.scale = {1.6, 1.6, 1.0};
    scene.objects.push_back({objectFile::gridWall, holdTrack(wall)});
    scene.ambientColor = {255, 255, 255};
    scene.ambientIntensity = 0.35;
    scene.lights.push_back(fixedLight({-3.0, 5.0, -7.0}, 0.95));
    scene.lights.push_back(fixedLight({4.0, -2.0, -3.0}, 0.35));
    scene.cameraKeys = sampleTrack(0.0, kLast, kStep, camera);
    scene.zoomFactor = kZoom;
    scene.lastFrame = static_cast<int>(kLast);
    return scene;
}

} // namespace vardel::makedata
