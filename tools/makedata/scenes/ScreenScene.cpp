// The screen the pictures are shown on. The camera starts far off to one side, swings round
// and comes in until the screen fills the whole picture, then holds: the finale adds the
// credits on this screen over the whole frame.

#include "objects/Objects.h"
#include "scenes/SceneParts.h"
#include "scenes/Scenes.h"

namespace vardel::makedata {

namespace {

constexpr double kArrive = 80.0; // scene frame at which the camera reaches the screen
constexpr double kLast = 300.0;  // keys run this far (the finale reaches about 215)
// The screen is 4 x 3 units; at this distance it spans 2 x 317 x 2 / 3.86 = 328 pixels
// across and 246 down: a little more than the picture, so no edge shows.
constexpr double kClose = 3.86;

Vec3 bezier(Vec3 a, Vec3 b, Vec3 c, Vec3 d, double s) {
    const double r = 1.0 - s;
    return a * (r * r * r) + b * (3.0 * r * r * s) + c * (3.0 * r * s * s) + d * (s * s * s);
}

Pose camera(double t) {
    const double s = smoothRamp(0.0, kArrive, t);
    const Vec3 eye =
        bezier({-7.0, 2.6, -17.0}, {-6.0, 1.0, -10.0}, {-0.8, 0.2, -6.0}, {0.0, 0.0, -kClose}, s);
    const Vec3 target = lerp({0.8, 0.4, 0.0}, {0.0, 0.0, 0.0}, s);
    return lookAt(eye, target, -14.0 * (1.0 - s));
}

} // namespace

formats::SceneDescription screenScene() {
    formats::SceneDescription scene;
    scene.objects.push_back({objectFile::screen, holdTrack(Pose{})});
    scene.ambientColor = {255, 255, 255};
    scene.ambientIntensity = 0.45;
    // One light just above the camera's final place: the screen ends evenly and fully lit.
    scene.lights.push_back(fixedLight({0.0, 1.0, -6.0}, 0.9));
    // Dense keys near the end of the move keep the arrival exact.
    scene.cameraKeys = sampleTrack(0.0, kLast, 5.0, camera);
    scene.zoomFactor = kZoom;
    scene.lastFrame = static_cast<int>(kLast);
    return scene;
}

} // namespace vardel::makedata
