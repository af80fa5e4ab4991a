#include "scene/Motion.h"

#include <array>
#include <span>

#include "math/Track.h"
#include "scene/Scene.h"

namespace vardel {

namespace {

// Key positions are in file units; the pose is in world units, a hundredth of a file unit.
// Angles and scales pass through unchanged.
constexpr double kWorldUnitsPerFileUnit = 100.0;

// Pose is any record with the nine fields posX .. scaleZ (object, light, camera). The key's
// channel order is heading, pitch, bank; each goes to its own field.
template <typename Pose>
void evaluatePose(Pose& pose, const KeyArray& keys, int keyCount, double t) {
    const std::size_t count =
        keys != nullptr && keyCount > 0 ? static_cast<std::size_t>(keyCount) : 0;
    std::array<double, channelCount<Key>> channel;
    if (!evaluateTrack(std::span<const Key>(keys.get(), count), t, channel)) {
        return;
    }
    pose.posX = channel[0] * kWorldUnitsPerFileUnit;
    pose.posY = channel[1] * kWorldUnitsPerFileUnit;
    pose.posZ = channel[2] * kWorldUnitsPerFileUnit;
    pose.heading = channel[3];
    pose.pitch = channel[4];
    pose.bank = channel[5];
    pose.scaleX = channel[6];
    pose.scaleY = channel[7];
    pose.scaleZ = channel[8];
}

} // namespace

void evaluateMotion(SceneObject& object, double t) {
    evaluatePose(object, object.keys, object.keyCount, t);
}

void evaluateMotion(Light& light, double t) {
    evaluatePose(light, light.keys, light.keyCount, t);
}

void evaluateCameraMotion(Scene& scene, double t) {
    evaluatePose(scene.camera, scene.cameraKeys, scene.cameraKeyCount, t);
}

void evaluateSceneMotion(Scene& scene, double t) {
    for (scene.currentObject = scene.context.objects; scene.currentObject != nullptr;
         scene.currentObject = scene.currentObject->next) {
        evaluateMotion(*scene.currentObject, t);
    }
    for (scene.currentLight = scene.lights.head; scene.currentLight != nullptr;
         scene.currentLight = scene.currentLight->next) {
        evaluateMotion(*scene.currentLight, t);
    }
    evaluateCameraMotion(scene, t);
}

} // namespace vardel
