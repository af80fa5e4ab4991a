#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "scene/CameraState.h"
#include "scene/Key.h"
#include "scene/Light.h"
#include "scene/MultiplyTable.h"
#include "scene/ObjectSource.h"
#include "scene/RenderContext.h"
#include "scene/SceneObject.h"

namespace vardel {

// One loaded scene file: objects, lights, camera and render settings. Owns everything it
// holds except the textures its polygons point at.
struct Scene {
    SceneObject* currentObject = nullptr; // cursor of loading and evaluation
    Light* currentLight = nullptr;
    RenderContext context;
    LightList lights;      // used for rendering, in file order
    LightList savedLights; // unscaled copies, filled by the first setLightLevel
    int height = 0;        // render target rows; the timeline sets 240
    int width = 0;         // render target pixels per row; the timeline sets 320
    int rowPadding = 0;    // pixels added to width to step one target row
    std::uint32_t* target = nullptr;
    std::shared_ptr<const MultiplyTable> multiplyTable = MultiplyTable::shared();
    std::unique_ptr<float[]> depthBuffer; // 1/z per pixel, larger is nearer; null: painter's order
    std::uint8_t wireframe = 0;
    CameraState camera;
    int cameraKeyCount = 0;
    KeyArray cameraKeys;
    double zoomFactor = 0.0;
    double ambientR = 0.0, ambientG = 0.0, ambientB = 0.0;
    std::array<double, 3> savedAmbient{};
    std::uint8_t faceLighting = 1; // 1: face-lit polygon pass, 0: vertex-lit
    std::uint8_t greyLighting = 1; // light from the first colour channel only
    bool lightsSaved = false;      // savedLights and savedAmbient hold the file's values

    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Reads a scene file and every object it names. Object paths in the file (with either
    // separator) are resolved under dataRoot; empty means the current directory. On failure
    // returns false with a one-line reason naming the file (and line) in *reason.
    bool loadScene(const std::filesystem::path& path, const std::filesystem::path& dataRoot = {},
                   std::string* reason = nullptr);
    bool loadSceneText(std::string_view text, const std::string& fileName,
                       const std::filesystem::path& dataRoot = {}, std::string* reason = nullptr);
    // The same with the objects taken from `objects` (in memory, say) instead of files.
    bool loadSceneText(std::string_view text, const std::string& fileName,
                       const ObjectSource& objects, std::string* reason = nullptr);

    // Allocates (width + rowPadding) x height depth entries, cleared to 0 (far).
    void createDepthBuffer();
    int depthBufferSize() const { return (width + rowPadding) * height; }

    void buildPolygonTable();

    // Scales every light and the ambient colour to factor x the file's values; repeated
    // calls do not compound.
    void setLightLevel(double factor);
};

} // namespace vardel
