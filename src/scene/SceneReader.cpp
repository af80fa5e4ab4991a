// The scene file reader: a keyword scanner over whitespace-separated text. Sections come in a
// fixed order (objects, ambient colour, lights, camera, zoom factor); everything between the
// places it reads is skipped by the keyword searches.

#include <cmath>
#include <memory>

#include "scene/DataPath.h"
#include "scene/Scene.h"
#include "scene/TextScanner.h"

namespace vardel {

namespace {

// Scene files are small text files; this bounds the memory an absurd input can claim.
constexpr std::size_t kMaxSceneBytes = 16u << 20;

// A key is ten numbers and four further tokens: at least 14 one-character words with a
// separator between each, so a count above remaining / 27 cannot be satisfied by the file.
constexpr std::size_t kMinKeyBytes = 27;

// File colour 0..255 and intensity to a light colour: intensity x value x (1/255).
constexpr double kOneOver255 = 0.00392156862745098;

class SceneFileReader {
public:
    SceneFileReader(Scene& scene, std::string_view text, const std::string& fileName,
                    const ObjectSource& objects, std::string* reason)
        : scene(scene), scanner(text), fileName(fileName), objects(objects), reason(reason) {}

    bool read() {
        if (!readObjects() || !readAmbient() || !readLights() || !readCamera()) {
            return report();
        }
        if (!scanner.searchFor("ZoomFactor") ||
            !scanner.readNumber(scene.zoomFactor, "zoom factor")) {
            return report();
        }
        return true;
    }

private:
    bool report() {
        return fail(reason, fileName + ":" + std::to_string(scanner.problemLine()),
                    scanner.problem());
    }

    bool readCount(int& count, std::string_view what) {
        double value = 0.0;
        if (!scanner.readNumber(value, what)) {
            return false;
        }
        const double limit = static_cast<double>(scanner.remaining() / kMinKeyBytes + 1);
        if (value < 0.0 || std::trunc(value) > limit) {
            return scanner.setProblem("the " + std::string(what) + " " + std::to_string(value) +
                                      " is negative or more than the file can hold");
        }
        count = static_cast<int>(value);
        return true;
    }

    // Reads a track: the key count has been read; keys must have strictly increasing frames.
    bool readKeys(int count, KeyArray& keys) {
        keys = KeyArray(new Key[static_cast<std::size_t>(count)]());
        for (int k = 0; k < count; ++k) {
            Key& key = keys[static_cast<std::size_t>(k)];
            for (double Key::*channel : Key::channels) {
                if (!scanner.readNumber(key.*channel, "key value")) {
                    return false;
                }
            }
            if (!scanner.readNumber(key.frame, "key frame") || !scanner.skipTokens(4)) {
                return false;
            }
            if (k > 0 && !(key.frame > keys[static_cast<std::size_t>(k - 1)].frame)) {
                return scanner.setProblem(
                    "key frames must increase, but key " + std::to_string(k + 1) + " has frame " +
                    std::to_string(key.frame) + " after frame " +
                    std::to_string(keys[static_cast<std::size_t>(k - 1)].frame));
            }
        }
        return true;
    }

    bool readColor(double& red, double& green, double& blue, std::string_view what) {
        double intensity = 0.0;
        if (!scanner.readNumber(red, what) || !scanner.readNumber(green, what) ||
            !scanner.readNumber(blue, what) || !scanner.skipTokens(1) ||
            !scanner.readNumber(intensity, "colour intensity")) {
            return false;
        }
        red = intensity * red * kOneOver255;
        green = intensity * green * kOneOver255;
        blue = intensity * blue * kOneOver255;
        return true;
    }

    bool readObjects() {
        for (;;) {
            std::string_view keyword;
            if (!scanner.searchFor("LoadObject", "AmbientColor", keyword)) {
                return false;
            }
            if (keyword == "AmbientColor") {
                return true;
            }
            std::string path;
            if (!scanner.readLine(path, "object path")) {
                return false;
            }
            auto object = std::make_unique<SceneObject>();
            std::string problem;
            if (!objects(path, objectFile, &problem) ||
                !object->loadObjectBytes(objectFile.bytes, objectFile.fileName, &problem)) {
                return scanner.setProblem("cannot load object: " + problem);
            }
            int count = 0;
            if (!scanner.skipTokens(6) || !readCount(count, "object key count")) {
                return false;
            }
            object->computeExtents();
            object->camera = &scene.camera;
            object->keyCount = count;
            if (!readKeys(count, object->keys)) {
                return false;
            }
            scene.currentObject = object.get();
            scene.context.appendObject(object.release());
        }
    }

    bool readAmbient() {
        scene.buildPolygonTable();
        return readColor(scene.ambientR, scene.ambientG, scene.ambientB, "ambient colour");
    }

    bool readLights() {
        if (!scanner.searchFor("AddLight")) {
            return false;
        }
        for (;;) {
            auto light = std::make_unique<Light>();
            int count = 0;
            if (!scanner.skipTokens(8) || !readCount(count, "light key count")) {
                return false;
            }
            light->keyCount = count;
            if (!readKeys(count, light->keys)) {
                return false;
            }
            if (!scanner.searchFor("LightColor") ||
                !readColor(light->colorR, light->colorG, light->colorB, "light colour")) {
                return false;
            }
            std::string_view keyword;
            if (!scanner.searchFor("LightFalloff", "ShadowType", keyword)) {
                return false;
            }
            if (keyword == "LightFalloff") {
                double falloff = 0.0;
                double range = 0.0;
                if (!scanner.readNumber(falloff, "light falloff")) {
                    return false;
                }
                if (falloff == 1.0 && (!scanner.searchFor("LightRange") ||
                                       !scanner.readNumber(range, "light range"))) {
                    return false;
                }
            }
            light->camera = &scene.camera;
            scene.currentLight = light.get();
            scene.lights.append(light.release());
            if (!scanner.searchFor("AddLight", "ShowCamera", keyword)) {
                return false;
            }
            if (keyword == "ShowCamera") {
                return true;
            }
        }
    }

    bool readCamera() {
        int count = 0;
        if (!scanner.skipTokens(5) || !readCount(count, "camera key count")) {
            return false;
        }
        scene.cameraKeyCount = count;
        return readKeys(count, scene.cameraKeys);
    }

    Scene& scene;
    TextScanner scanner;
    const std::string& fileName;
    const ObjectSource& objects;
    ObjectFile objectFile; // each object's bytes in turn
    std::string* reason;
};

} // namespace

bool Scene::loadScene(const std::filesystem::path& path, const std::filesystem::path& dataRoot,
                      std::string* reason) {
    std::vector<std::uint8_t> bytes;
    if (!readFileBytes(path, kMaxSceneBytes, bytes, reason)) {
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return loadSceneText(text, path.string(), dataRoot, reason);
}

bool Scene::loadSceneText(std::string_view text, const std::string& fileName,
                          const std::filesystem::path& dataRoot, std::string* reason) {
    return loadSceneText(text, fileName, objectFilesUnder(dataRoot), reason);
}

bool Scene::loadSceneText(std::string_view text, const std::string& fileName,
                          const ObjectSource& objects, std::string* reason) {
    SceneFileReader reader(*this, text, fileName, objects, reason);
    return reader.read();
}

} // namespace vardel
