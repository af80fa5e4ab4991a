#include "demo/DemoData.h"

#include "scene/DataPath.h"

namespace vardel {

namespace {

constexpr int sceneWidth = 320;
constexpr int sceneHeight = 240;

// One texture mapping made at start-up.
struct StartupMapping {
    int scene;
    int object; // 1 = first in the scene's object list
    TextureId texture;
    std::array<double, 3> rotation; // pitch, heading, bank in degrees
    ScaleAxes axes;
    bool previousScale; // keeps the scale of the row before, without measuring this object
};

constexpr std::array<StartupMapping, 11> startupMappings = {{
    {1, 1, Novine, {0, 0, 0}, ScaleAxes::XY, false},
    {1, 2, Novine, {0, 0, 0}, ScaleAxes::XY, false},
    {2, 2, Prstenovi, {0, 90, 0}, ScaleAxes::ZY, false},
    {2, 3, Resetke2, {0, 0, 90}, ScaleAxes::YX, false},
    {2, 1, Novine, {0, 0, 0}, ScaleAxes::XY, false},
    {3, 1, Novine, {0, 0, 0}, ScaleAxes::XY, false},
    {3, 3, Novine, {0, 180, 0}, ScaleAxes::XY, true},
    {3, 2, Clouds, {0, 0, 90}, ScaleAxes::YX, false},
    {3, 4, Clouds, {0, 0, 90}, ScaleAxes::YX, false},
    {4, 1, Drostal, {0, 0, 0}, ScaleAxes::XY, false},
    {5, 1, Velmorane, {0, 0, 0}, ScaleAxes::XY, false},
}};

// The paper scenes leave a tenth of the texture around the object, the two screens a
// hundredth.
double marginOf(int scene) {
    return scene <= 3 ? 1.1 : 1.01;
}

int objectCount(Scene& scene) {
    int count = 0;
    for (SceneObject* object = scene.context.objects; object != nullptr; object = object->next) {
        ++count;
    }
    return count;
}

bool applyStartupMappings(DemoData& data, int sceneNumber, const std::string& fileName,
                          std::string* reason) {
    std::array<double, 2> scale{};
    for (const StartupMapping& row : startupMappings) {
        if (row.scene != sceneNumber) {
            continue;
        }
        Scene& scene = data.scene(sceneNumber);
        SceneObject* object = objectNumber(scene, row.object);
        if (object == nullptr) {
            return fail(reason, fileName,
                        "has " + std::to_string(objectCount(scene)) +
                            " objects, but the demo maps a texture onto object " +
                            std::to_string(row.object));
        }
        const Texture& texture = data.texture(row.texture);
        if (!row.previousScale) {
            object->computeExtents();
            scale = planarScale(*object, texture, row.axes, marginOf(sceneNumber));
        }
        object->applyPlanarMapping(texture, row.rotation, scale);
    }
    return true;
}

} // namespace

std::array<double, 2> planarScale(const SceneObject& object, const Texture& texture, ScaleAxes axes,
                                  double margin) {
    const double u = axes == ScaleAxes::XY   ? object.extentX
                     : axes == ScaleAxes::ZY ? object.extentZ
                                             : object.extentY;
    const double v = axes == ScaleAxes::YX ? object.extentX : object.extentY;
    return {u / texture.width * margin, v / texture.height * margin};
}

SceneObject* objectNumber(Scene& scene, int number) {
    SceneObject* object = scene.context.objects;
    for (int i = 1; i < number && object != nullptr; ++i) {
        object = object->next;
    }
    return number >= 1 ? object : nullptr;
}

bool loadDemoTextures(DemoData& data, const std::filesystem::path& root, std::string* reason) {
    return loadTextures(data.textures, root, reason);
}

bool loadDemoScenes(DemoData& data, const std::filesystem::path& root, std::string* reason) {
    for (int number = 1; number <= DemoData::sceneCount; ++number) {
        const SceneFile& file = sceneFiles[static_cast<std::size_t>(number - 1)];
        const std::filesystem::path path = hostPath(root, file.name);
        Scene& scene = data.scene(number);
        if (!scene.loadScene(path, root, reason)) {
            return false;
        }
        scene.height = sceneHeight;
        scene.width = sceneWidth;
        if (file.depthBuffer) {
            scene.createDepthBuffer();
        }
        if (!applyStartupMappings(data, number, path.string(), reason)) {
            return false;
        }
    }
    // Start-up has checked that both exist.
    data.gridObject = objectNumber(data.scene(2), 3);
    data.overlayObject = objectNumber(data.scene(4), 1);
    return true;
}

} // namespace vardel
