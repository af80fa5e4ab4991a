#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "scene/Scene.h"
#include "scene/Texture.h"

namespace vardel::makedata {

// The demo's scenes and textures loaded from a data folder the way the demo loads them: the
// nine textures, the five scenes (the fourth and fifth both the screen) at 320 x 240, depth
// buffers for the first three, and the texture mappings the demo applies at start-up. Used to
// check and to preview what makedata writes.
struct DemoScenes {
    static constexpr int kSceneCount = 5;
    TextureSet textures;
    std::array<std::unique_ptr<Scene>, kSceneCount> scenes;

    // `root` is the folder that holds data/. On failure returns false with the reason.
    bool load(const std::filesystem::path& root, std::string& reason);

    Scene& scene(int number) { return *scenes[static_cast<std::size_t>(number - 1)]; }
    // Object `number` (from 1) of scene `sceneNumber`, or null when there is no such object.
    SceneObject* object(int sceneNumber, int number);

    // The grid switch of the beat part: maps one of the three grid textures onto the wall.
    void mapGrid(TextureId grid);
    // The finale's entry: maps the credits onto the screen of scene 4.
    void mapCredits();
};

// One row of the start-up mapping table: the texture, its turn (pitch, heading, bank) and
// the scale pair, extent along axis u / texture width x margin and extent along axis v /
// texture height x margin, taken from the extents of object `sizeFrom`.
struct StartupMapping {
    int scene;
    int object;
    TextureId texture;
    std::array<double, 3> rotation;
    int axisU; // 0: x, 1: y, 2: z
    int axisV;
    double margin;
    int sizeFrom;
};

// The mappings the demo applies at start-up, in its order.
const std::array<StartupMapping, 11>& startupMappings();

} // namespace vardel::makedata
