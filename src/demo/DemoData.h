#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "scene/DataPath.h"
#include "scene/Scene.h"
#include "scene/Texture.h"

namespace vardel {

// Everything the demo loads before its window opens, kept for the whole run: the nine
// textures and the five scenes, mapped and ready to render.
struct DemoData {
    static constexpr int sceneCount = 5;

    TextureSet textures;
    std::array<Scene, sceneCount> scenes;
    SceneObject* gridObject = nullptr;    // object 3 of scene 2: its grid changes with the music
    SceneObject* overlayObject = nullptr; // object 1 of scene 4: carries the credits at the end

    // Scene 1 ... 5.
    Scene& scene(int number) { return scenes[static_cast<std::size_t>(number - 1)]; }
    Texture& texture(TextureId id) { return textures[id]; }
};

struct SceneFile {
    const char* name; // as the program names it, with backslash separators
    bool depthBuffer; // drawn with a depth buffer rather than in painter's order
};

// Scenes 1 ... 5. The last two are independent loads of the same file.
inline constexpr std::array<SceneFile, DemoData::sceneCount> sceneFiles = {{
    {"data\\brodic1.lws", true},
    {"data\\brodic2.lws", true},
    {"data\\brodic3.lws", true},
    {"data\\screen.lws", false},
    {"data\\screen.lws", false},
}};

inline constexpr const char* musicFile = "data\\krs.xm";

// The music file under root, as the host names it.
inline std::string musicPath(const std::filesystem::path& root) {
    return hostPath(root, musicFile).string();
}

// Which extents give the texture's u and v scale: u from the first axis over the texture's
// width, v from the second over its height.
enum class ScaleAxes { XY, ZY, YX };

// World units per texel along u and v that make the object, measured by its extents (see
// SceneObject::computeExtents) on the two axes, span 1 / margin of the texture's width and
// height around its centre.
std::array<double, 2> planarScale(const SceneObject& object, const Texture& texture, ScaleAxes axes,
                                  double margin);

// Object `number` (1 = first) of a scene's object list; null when the list is shorter.
SceneObject* objectNumber(Scene& scene, int number);

// Loads the nine textures from root/data. On failure returns false with a one-line reason
// naming the file.
bool loadDemoTextures(DemoData& data, const std::filesystem::path& root, std::string* reason);

// Loads scenes 1 to 5 from root/data in order, each followed by its depth buffer and its
// texture mappings before the next one loads (the textures must be loaded). On failure
// returns false with a one-line reason naming the file.
bool loadDemoScenes(DemoData& data, const std::filesystem::path& root, std::string* reason);

} // namespace vardel
