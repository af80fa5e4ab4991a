// Paper boats through the clouds. The big boat sails steadily along +x and the camera
// travels with it; the small boat circles the big one the other way round, passing in front
// (where it shows its printed side) and behind the near cloud. Both cloud banks drift more
// slowly than the boats, so they pass by behind and in front. The sky travels with the
// camera.

#include <cmath>

#include "objects/Objects.h"
#include "scenes/SceneParts.h"
#include "scenes/Scenes.h"

namespace vardel::makedata {

namespace {

constexpr double kLast = 600.0; // the demo uses frames 0 to about 460
// Keys every 3 frames follow the quickest sway (about 20 frames a swing); the slow drifts
// of the clouds and lights need fewer.
constexpr double kStep = 3.0;
constexpr double kSlowStep = 10.0;
constexpr double kSpeed = 0.05;   // the big boat's speed along x, units per frame
constexpr double kCircle = 240.0; // frames for one round of the small boat

// The big boat weaves in depth: now in front of the near clouds and low, now behind them
// and high, so that its sail still shows over them.
Vec3 bigBoatAt(double t) {
    const double weave = -std::cos(2.0 * kPi * (t - 40.0) / 260.0);
    return {-12.0 + kSpeed * t, 0.1 + 0.7 * weave + sway(t, 0.15, 46.0), 1.2 + 2.4 * weave};
}

// The small boat's place around the big one: an ellipse, nearest the camera (-z) when it
// heads in -x, so that its printed side faces the camera there. It passes below the big boat
// in front and above it behind, so the two do not hide each other.
Vec3 smallBoatOffset(double t) {
    const double a = 2.0 * kPi * (t + 40.0) / kCircle;
    return {4.2 * std::cos(a), 0.2 - 1.1 * std::sin(a), 1.6 - 3.2 * std::sin(a)};
}

Pose bigBoat(double t) {
    Pose pose;
    pose.position = bigBoatAt(t);
    pose.pitch = sway(t, 5.0, 38.0, 1.0);
    pose.bank = sway(t, 4.0, 52.0, 2.0);
    pose.heading = sway(t, 6.0, 90.0, 0.5);
    return pose;
}

Pose smallBoat(double t) {
    Pose pose;
    pose.position = bigBoatAt(t) + smallBoatOffset(t);
    const Vec3 ahead = bigBoatAt(t + 1.0) + smallBoatOffset(t + 1.0) - pose.position;
    pose.heading = headingAlong(ahead.x, ahead.z);
    pose.pitch = sway(t, 5.0, 33.0, 0.3);
    pose.bank = -8.0 + sway(t, 4.0, 41.0);
    return pose;
}

Vec3 cameraAt(double t) {
    const Vec3 boat = bigBoatAt(t);
    return {boat.x - 0.4 + sway(t, 1.4, 300.0), 0.9 + 0.4 * boat.y + sway(t, 0.6, 170.0, 1.0),
            -5.0 + sway(t, 0.8, 230.0, 2.0)};
}

Pose camera(double t) {
    const Vec3 boat = bigBoatAt(t);
    return lookAt(cameraAt(t), {boat.x + 0.8, 0.2 + 0.6 * boat.y, 2.0}, sway(t, 3.0, 140.0));
}

// A cloud bank moving steadily along x.
std::vector<Key> drifting(Vec3 start, double speed) {
    return sampleTrack(0.0, kLast, kSlowStep, [=](double t) {
        Pose pose;
        pose.position = start + Vec3{speed * t, sway(t, 0.15, 200.0), 0.0};
        return pose;
    });
}

// A light keeping its place relative to the camera.
formats::SceneDescription::Light travellingLight(Vec3 offset, double intensity) {
    return movingLight(
        sampleTrack(0.0, kLast, kSlowStep, [=](double t) { return Pose{cameraAt(t) + offset}; }),
        intensity);
}

} // namespace

formats::SceneDescription cloudScene() {
    formats::SceneDescription scene;
    // The near cloud goes before the far bank: with a depth buffer the polygons are drawn in
    // object order, and what the near cloud hides of the bank is then turned away unlit.
    scene.objects.push_back({objectFile::boat, sampleTrack(0.0, kLast, kStep, bigBoat)});
    scene.objects.push_back({objectFile::cloudPuffs, drifting({-6.5, -0.5, 3.4}, 0.025)});
    scene.objects.push_back({objectFile::smallBoat, sampleTrack(0.0, kLast, kStep, smallBoat)});
    scene.objects.push_back({objectFile::cloudBank, drifting({-6.0, -8.5, 24.0}, 0.04)});
    scene.objects.push_back({objectFile::sky, sampleTrack(0.0, kLast, kStep, [](double t) {
                                 Pose pose;
                                 pose.position = cameraAt(t);
                                 return pose;
                             })});
    scene.ambientColor = {255, 255, 255};
    scene.ambientIntensity = 0.35;
    // The sun high up to the left and in front, travelling with the camera, and a weak fill
    // from behind the camera.
    scene.lights.push_back(travellingLight({-18.0, 24.0, -6.0}, 0.75));
    scene.lights.push_back(travellingLight({4.0, 2.0, -20.0}, 0.25));
    scene.cameraKeys = sampleTrack(0.0, kLast, kStep, camera);
    scene.zoomFactor = kZoom;
    scene.lastFrame = static_cast<int>(kLast);
    return scene;
}

} // namespace vardel::makedata
