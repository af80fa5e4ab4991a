#pragma once

#include <array>
#include <string>
#include <vector>

#include "scene/Key.h"

namespace vardel::formats {

// A scene as the demo's scene reader takes it. Positions in keys are in file units.
struct SceneDescription {
    struct Object {
        std::string path; // as written in the file, e.g. "data\\boat.lwo"
        std::vector<Key> keys;
    };
    struct Light {
        std::vector<Key> keys;
        std::array<double, 3> color{255, 255, 255}; // 0..255
        double intensity = 1.0;
        double falloff = 0.0;   // written as LightFalloff; 1.0 adds a LightRange
        double range = 10.0;
    };
    std::vector<Object> objects;
    std::array<double, 3> ambientColor{255, 255, 255};
    double ambientIntensity = 0.25;
    std::vector<Light> lights;
    std::vector<Key> cameraKeys;
    double zoomFactor = 3.2;
    int lastFrame = 300;
};

// Writes the scene text with line feeds, in the section order the reader expects.
std::string writeScene(const SceneDescription& scene);

// One key line pair: nine values, then frame, linear flag, tension, continuity and bias.
std::string writeKey(const Key& key);

} // namespace vardel::formats
