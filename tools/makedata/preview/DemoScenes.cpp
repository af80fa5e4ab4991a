#include "preview/DemoScenes.h"

namespace vardel::makedata {

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kX = 0;
constexpr int kY = 1;
constexpr int kZ = 2;

double extent(const SceneObject& object, int axis) {
    return axis == kX ? object.extentX : axis == kY ? object.extentY : object.extentZ;
}

} // namespace

const std::array<StartupMapping, 11>& startupMappings() {
    static const std::array<StartupMapping, 11> rows = {{
        {1, 1, Novine, {0, 0, 0}, kX, kY, 1.1, 1},
        {1, 2, Novine, {0, 0, 0}, kX, kY, 1.1, 2},
        {2, 2, Prstenovi, {0, 90, 0}, kZ, kY, 1.1, 2},
        {2, 3, Resetke2, {0, 0, 90}, kY, kX, 1.1, 3},
        {2, 1, Novine, {0, 0, 0}, kX, kY, 1.1, 1},
        {3, 1, Novine, {0, 0, 0}, kX, kY, 1.1, 1},
        {3, 3, Novine, {0, 180, 0}, kX, kY, 1.1, 1},
        {3, 2, Clouds, {0, 0, 90}, kY, kX, 1.1, 2},
        {3, 4, Clouds, {0, 0, 90}, kY, kX, 1.1, 4},
        {4, 1, Drostal, {0, 0, 0}, kX, kY, 1.01, 1},
        {5, 1, Velmorane, {0, 0, 0}, kX, kY, 1.01, 1},
    }};
    return rows;
}

SceneObject* DemoScenes::object(int sceneNumber, int number) {
    SceneObject* object = scene(sceneNumber).context.objects;
    for (int n = 1; n < number && object != nullptr; ++n) {
        object = object->next;
    }
    return object;
}

bool DemoScenes::load(const std::filesystem::path& root, std::string& reason) {
    if (!loadTextures(textures, root, &reason)) {
        return false;
    }
    const char* const files[kSceneCount] = {"data/brodic1.lws", "data/brodic2.lws",
                                            "data/brodic3.lws", "data/screen.lws",
                                            "data/screen.lws"};
    for (int i = 0; i < kSceneCount; ++i) {
        auto& scene = scenes[static_cast<std::size_t>(i)];
        scene = std::make_unique<Scene>();
        if (!scene->loadScene(root / files[i], root, &reason)) {
            return false;
        }
        scene->width = kWidth;
        scene->height = kHeight;
        if (i < 3) {
            scene->createDepthBuffer();
        }
    }
    for (const StartupMapping& row : startupMappings()) {
        SceneObject* target = object(row.scene, row.object);
        SceneObject* size = object(row.scene, row.sizeFrom);
        if (target == nullptr || size == nullptr) {
            reason = "scene " + std::to_string(row.scene) + " has no object " +
                     std::to_string(std::max(row.object, row.sizeFrom));
            return false;
        }
        size->computeExtents();
        const Texture& texture = textures[row.texture];
        target->applyPlanarMapping(texture, row.rotation,
                                   {extent(*size, row.axisU) / texture.width * row.margin,
                                    extent(*size, row.axisV) / texture.height * row.margin});
    }
    return true;
}

void DemoScenes::mapGrid(TextureId grid) {
    SceneObject& wall = *object(2, 3);
    // The pair is always computed with the first grid's size; all three are 600 x 600.
    const Texture& first = textures[Resetke2];
    wall.applyPlanarMapping(textures[grid], {0, 0, 90},
                            {wall.extentY / first.width * 1.1, wall.extentX / first.height * 1.1});
}

void DemoScenes::mapCredits() {
    SceneObject& screen = *object(4, 1);
    const Texture& credits = textures[Embora];
    screen.applyPlanarMapping(
        credits, {0, 0, 0},
        {screen.extentX / credits.width * 1.01, screen.extentY / credits.height * 1.01});
}

} // namespace vardel::makedata
