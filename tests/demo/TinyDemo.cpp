#include "TinyDemo.h"

#include <gtest/gtest.h>

#include "formats/ObjectWriter.h"
#include "formats/SceneWriter.h"
#include "formats/XmWriter.h"
#include "scene/DataPath.h"

namespace vardel::test {

void writeTinyDemo(const TempDir& dir, bool endCue) {
    for (const TextureFile& file : textureFiles) {
        const std::vector<std::uint8_t> bytes(std::size_t(file.width * file.height * 3),
                                              static_cast<std::uint8_t>(file.width));
        dir.write(hostPath({}, file.name).string(), bytes);
    }
    formats::ObjectDescription cube;
    for (int i = 0; i < 8; ++i) {
        cube.points.push_back({i & 1 ? 1.f : -1.f, i & 2 ? 1.f : -1.f, i & 4 ? 1.f : -1.f});
    }
    cube.polygons = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
                     {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
    dir.write("data/cube.lwo", formats::writeObject(cube));
    const std::pair<const char*, int> scenes[] = {
        {"brodic1", 2}, {"brodic2", 3}, {"brodic3", 4}, {"screen", 1}};
    for (const auto& [name, objects] : scenes) {
        formats::SceneDescription scene;
        scene.objects.assign(objects,
                             {"data\\cube.lwo", {Key{}, Key{.heading = 90, .frame = 600}}});
        scene.lights = {{{Key{.z = -5}}}};
        scene.cameraKeys = {Key{.z = -5}};
        dir.write(std::string("data/") + name + ".lws", formats::writeScene(scene));
    }
    formats::XmModule song;
    song.orders = {0};
    formats::XmPattern pattern(20, song.channels);
    const std::pair<int, int> cues[] = {{2, 1},     {4, 2},     {6, 3},  {8, 4},
                                        {10, 0x24}, {12, 0x34}, {14, 5}, {16, endCue ? 6 : 0}};
    for (const auto& [row, value] : cues) {
        pattern.at(row, 0).effect = formats::xmEffect('W');
        pattern.at(row, 0).parameter = static_cast<std::uint8_t>(value);
    }
    song.patterns = {pattern};
    dir.write("data/krs.xm", formats::writeXm(song));
}

const std::filesystem::path& tinyDemoRoot() {
    static const TempDir dir;
    static const bool written = (writeTinyDemo(dir), true);
    (void)written;
    return dir.path();
}

std::unique_ptr<DemoData> loadTinyDemo() {
    auto data = std::make_unique<DemoData>();
    std::string reason;
    EXPECT_TRUE(loadDemoTextures(*data, tinyDemoRoot(), &reason)) << reason;
    EXPECT_TRUE(loadDemoScenes(*data, tinyDemoRoot(), &reason)) << reason;
    return data;
}

} // namespace vardel::test
