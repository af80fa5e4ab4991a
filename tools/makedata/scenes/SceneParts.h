#pragma once

#include <vector>

#include "art/Motion.h"
#include "formats/SceneWriter.h"

namespace vardel::makedata {

// The zoom factor of every scene: a focal length of 320 x 3.2 / 3.23 = 317 pixels.
inline constexpr double kZoom = 3.2;

// A light that stays in one place; only its first colour channel counts in the demo's grey
// lighting, so lights are white and differ in intensity.
inline formats::SceneDescription::Light fixedLight(Vec3 position, double intensity) {
    formats::SceneDescription::Light light;
    light.keys = holdTrack(Pose{position});
    light.intensity = intensity;
    return light;
}

inline formats::SceneDescription::Light movingLight(std::vector<Key> keys, double intensity) {
    formats::SceneDescription::Light light;
    light.keys = std::move(keys);
    light.intensity = intensity;
    return light;
}

// A bobbing motion: a sum of two slow sines, so it never quite repeats.
inline double sway(double t, double amount, double period, double phase = 0.0) {
    return amount * (0.7 * std::sin(2.0 * kPi * t / period + phase) +
                     0.3 * std::sin(2.0 * kPi * t / (period * 0.61) + phase * 1.7));
}

} // namespace vardel::makedata
