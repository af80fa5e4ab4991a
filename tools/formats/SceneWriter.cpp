#include "formats/SceneWriter.h"

#include <cstdio>

namespace vardel::formats {

namespace {

std::string number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

void writeTrack(std::string& out, const char* motionName, const std::vector<Key>& keys) {
    out += motionName;
    out += " (unnamed)\n  9\n  ";
    out += std::to_string(keys.size());
    out += "\n";
    for (const Key& key : keys) {
        out += writeKey(key);
    }
    out += "EndBehavior 1\n";
}

} // namespace

std::string writeKey(const Key& key) {
    std::string out = " ";
    for (double Key::*channel : Key::channels) {
        out += ' ';
        out += number(key.*channel);
    }
    out += "\n  ";
    out += number(key.frame);
    out += " 0 0.0 0.0 0.0\n";
    return out;
}

std::string writeScene(const SceneDescription& scene) {
    std::string out = "LWSC\n1\n\nFirstFrame 1\nLastFrame " + std::to_string(scene.lastFrame) +
                      "\nFrameStep 1\n\n";
    for (const auto& object : scene.objects) {
        out += "LoadObject " + object.path + "\nShowObject 6 7\n";
        writeTrack(out, "ObjectMotion", object.keys);
        out += "ShadowOptions 7\n\n";
    }
    out += "AmbientColor " + number(scene.ambientColor[0]) + " " + number(scene.ambientColor[1]) +
           " " + number(scene.ambientColor[2]) + "\nAmbIntensity " +
           number(scene.ambientIntensity) + "\n\n";
    for (const auto& light : scene.lights) {
        out += "AddLight\nLightName Light\nShowLight 1 7\n";
        writeTrack(out, "LightMotion", light.keys);
        out += "LightColor " + number(light.color[0]) + " " + number(light.color[1]) + " " +
               number(light.color[2]) + "\nLgtIntensity " + number(light.intensity) +
               "\nLightType 1\nLightFalloff " + number(light.falloff) + "\n";
        if (light.falloff == 1.0) {
            out += "LightRange " + number(light.range) + "\n";
        }
        out += "ShadowType 1\n\n";
    }
    out += "ShowCamera 1 7\n";
    writeTrack(out, "CameraMotion", scene.cameraKeys);
    out += "ZoomFactor " + number(scene.zoomFactor) + "\n\nResolution 1\n";
    return out;
}

} // namespace vardel::formats
