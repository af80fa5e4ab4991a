#pragma once

#include <functional>
#include <vector>

#include "art/Vector.h"
#include "scene/Key.h"

namespace vardel::makedata {

// Where something is and how it is turned at one moment, in file units and degrees.
struct Pose {
    Vec3 position;
    double heading = 0.0;
    double pitch = 0.0;
    double bank = 0.0;
    Vec3 scale{1.0, 1.0, 1.0};
};

// Samples a smooth motion into keys every `step` frames from `first` to `last` (the last
// frame is always a key). The demo's key interpolation passes through every key with
// polynomials through up to four neighbours, so keys sampled densely from a smooth motion
// follow it without overshoot. Angles are unwrapped: consecutive keys never differ by more
// than 180 degrees, so a turn through 360 does not spin back.
std::vector<Key> sampleTrack(double first, double last, double step,
                             const std::function<Pose(double frame)>& motion);

// A track that stays at one pose.
std::vector<Key> holdTrack(const Pose& pose);

// Turns a camera (or an object's +z axis) at `from` to look at `to`: heading about y, then
// pitch (positive looks down).
Pose lookAt(Vec3 from, Vec3 to, double bank = 0.0);

// The heading that turns an object's +x axis along a horizontal direction (dx, dz).
double headingAlong(double dx, double dz);

// 0 before edge0, 1 after edge1, and a smooth S-curve with zero slope and zero curvature at
// both ends in between.
double smoothRamp(double edge0, double edge1, double x);

} // namespace vardel::makedata
