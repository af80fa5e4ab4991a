#pragma once

namespace vardel {

struct Light;
struct Scene;
struct SceneObject;

// Sets the pose fields (position in world units, angles, scale) from the record's key track
// at scene time t. Where the track writes nothing (no keys, or a time before the first of
// two or more keys) the fields keep their values.
void evaluateMotion(SceneObject& object, double t);
void evaluateMotion(Light& light, double t);

// The scene's camera block from its camera track; `focal` is left alone.
void evaluateCameraMotion(Scene& scene, double t);

// Every track of a scene at one time: the objects, then the lights, each in list order
// through the scene's cursors (which end null), then the camera.
void evaluateSceneMotion(Scene& scene, double t);

} // namespace vardel
