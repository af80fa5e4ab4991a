// Start-up loading: depth buffers, the texture mappings of the start-up table, and the
// reasons given for data that cannot be used.

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "TinyDemo.h"
#include "formats/SceneWriter.h"

namespace vardel {
namespace {

TEST(DemoData, PreparesEverySceneAndMapsTheTexturesOfTheTable) {
    const auto data = test::loadTinyDemo();
    for (int number = 1; number <= DemoData::sceneCount; ++number) {
        EXPECT_EQ(data->scene(number).depthBuffer != nullptr, number <= 3) << number;
    }
    const std::tuple<int, int, TextureId> table[] = {
        {1, 1, Novine},   {1, 2, Novine},  {2, 1, Novine},   {2, 2, Prstenovi},
        {2, 3, Resetke2}, {3, 1, Novine},  {3, 2, Clouds},   {3, 3, Novine},
        {3, 4, Clouds},   {4, 1, Drostal}, {5, 1, Velmorane}};
    for (const auto& [scene, object, texture] : table) {
        std::set<const Texture*> found;
        for (const Polygon& polygon : objectNumber(data->scene(scene), object)->polygons) {
            found.insert(polygon.texture);
        }
        EXPECT_EQ(found, (std::set<const Texture*>{nullptr, &data->texture(texture)}))
            << "scene " << scene << " object " << object;
    }
}

TEST(DemoData, NamesTheFileThatCannotBeUsed) {
    test::TempDir dir;
    test::writeTinyDemo(dir);
    formats::SceneDescription twoObjects;
    twoObjects.objects = {{"data\\cube.lwo", {Key{}}}, {"data\\cube.lwo", {Key{}}}};
    twoObjects.lights = {{{Key{}}}};
    twoObjects.cameraKeys = {Key{}};
    dir.write("data/brodic2.lws", formats::writeScene(twoObjects));
    DemoData data;
    std::string reason;
    ASSERT_TRUE(loadDemoTextures(data, dir.path(), &reason)) << reason;
    EXPECT_FALSE(loadDemoScenes(data, dir.path(), &reason));
    EXPECT_NE(reason.find("brodic2.lws: has 2 objects, but the demo maps a texture onto object 3"),
              std::string::npos)
        << reason;

    std::filesystem::resize_file(dir.path() / "data" / "clouds.raw", 319 * 320 * 3 - 3);
    EXPECT_FALSE(loadDemoTextures(data, dir.path(), &reason));
    EXPECT_NE(reason.find("clouds.raw"), std::string::npos) << reason;
}

} // namespace
} // namespace vardel
