// The finale: the two newspaper boats ride a night sea toward the moon while the camera
// rises and draws back. The sea drifts toward the camera under them, so they seem to make
// way. The sky stays black, where the credits will be added.

#include "objects/Objects.h"
#include "scenes/SceneParts.h"
#include "scenes/Scenes.h"

namespace vardel::makedata {

namespace {

constexpr double kLast = 300.0; // the demo uses frames 0 to about 215
constexpr double kStep = 2.0;   // a tenth of the quickest sway

Pose bigBoat(double t) {
    Pose pose;
    pose.position = {-1.1, 0.5 + sway(t, 0.08, 32.0), 0.4};
    pose.heading = 8.0 + sway(t, 4.0, 90.0);
    pose.pitch = sway(t, 5.0, 30.0, 0.7);
    pose.bank = sway(t, 3.0, 40.0, 2.1);
    return pose;
}

Pose smallBoat(double t) {
    Pose pose;
    pose.position = {1.5, 0.42 + sway(t, 0.07, 27.0, 1.0), 2.6};
    pose.heading = -12.0 + sway(t, 5.0, 72.0, 1.5);
    pose.pitch = sway(t, 6.0, 24.0, 2.0);
    pose.bank = sway(t, 3.0, 35.0, 0.4);
    return pose;
}

Pose seaDrift(double t) {
    Pose pose;
    pose.position = {0.0, 0.0, 4.0 - 0.03 * t};
    return pose;
}

Pose camera(double t) {
    const double s = smoothRamp(0.0, 220.0, t);
    const Vec3 eye = lerp({1.2, 0.85, -4.2}, {-1.4, 2.7, -10.0}, s);
    return lookAt(eye, lerp({0.0, 0.7, 1.0}, {0.3, 0.9, 2.0}, s), sway(t, 2.5, 90.0));
}

} // namespace

formats::SceneDescription finaleScene() {
    formats::SceneDescription scene;
    scene.objects.push_back({objectFile::boat, sampleTrack(0.0, kLast, kStep, bigBoat)});
    scene.objects.push_back({objectFile::smallBoat, sampleTrack(0.0, kLast, kStep, smallBoat)});
    scene.objects.push_back({objectFile::sea, sampleTrack(0.0, kLast, kStep * 10.0, seaDrift)});
    Pose moon;
    moon.position = {20.0, -0.3, 31.0};
    moon.scale = {2.4, 2.4, 2.4};
    scene.objects.push_back({objectFile::moon, holdTrack(moon)});
    scene.objects.push_back({objectFile::stars, holdTrack(Pose{})});
    scene.ambientColor = {255, 255, 255};
    scene.ambientIntensity = 0.22;
    // Moonlight from behind the boats glints on the waves facing it; a lantern-like light
    // near the camera shows the boats' print.
    scene.lights.push_back(fixedLight({19.0, 5.0, 28.0}, 0.75));
    scene.lights.push_back(fixedLight({-2.0, 3.5, -8.0}, 0.8));
    scene.cameraKeys = sampleTrack(0.0, kLast, kStep * 3.0, camera);
    scene.zoomFactor = kZoom;
    scene.lastFrame = static_cast<int>(kLast);
    return scene;
}

} // namespace vardel::makedata
