// Writes the seed corpus of the fuzz targets: a few small valid scene, object and texture
// files, the demo's song and XM modules laid out as other trackers write them, plus a work
// folder per target where libFuzzer keeps what it finds.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/ObjectWriter.h"
#include "formats/SceneWriter.h"
#include "music/OddModules.h"
#include "music/Song.h"

namespace {

using namespace vardel;

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    writeFile(path, std::string(bytes.begin(), bytes.end()));
}

Key key(double frame, double value) {
    Key k;
    k.x = value;
    k.heading = value * 10;
    k.frame = frame;
    return k;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds CORPUS_DIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const char* reader : {"scene", "object", "texture", "module"}) {
        std::filesystem::create_directories(root / reader);
        std::filesystem::create_directories(root / (std::string(reader) + "-work"));
    }

    formats::ObjectDescription quad;
    quad.points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    quad.polygons = {{0, 1, 2}, {0, 2, 3}, {3, 1}, {0, 1, 2, 3}};
    quad.color = {200, 100, 50};
    writeFile(root / "object" / "quad.lwo", formats::writeObject(quad));
    formats::ObjectDescription line;
    line.points = {{-1.5f, 2, 0.25f}, {3, -4, 5}};
    line.polygons = {{0, 1}};
    writeFile(root / "object" / "line.lwo", formats::writeObject(line));

    formats::SceneDescription scene;
    // The scene fuzz target holds data\seed.lwo in memory.
    scene.objects = {{"data\\seed.lwo", {key(0, 1), key(10, 2), key(20, 3)}},
                     {"data\\seed.lwo", {}}};
    formats::SceneDescription::Light light;
    light.keys = {key(0, 5)};
    light.falloff = 1.0;
    scene.lights = {light, light};
    scene.cameraKeys = {key(0, -1), key(50, -2)};
    writeFile(root / "scene" / "two-objects.lws", formats::writeScene(scene));
    scene.objects.clear();
    scene.lights.resize(1);
    scene.lights[0].falloff = 0.5;
    writeFile(root / "scene" / "no-objects.lws", formats::writeScene(scene));

    writeFile(root / "texture" / "rgb.raw", std::string("\x10\x20\x30\xff\x00\x80\x07", 7));

    // The demo's song as the build writes it; the fuzzer reads its first 64 KiB, the patterns
    // and the first instruments. Then the song with every sample cut to its first 64 frames,
    // which fits whole in those 64 KiB.
    formats::XmModule song = makedata::music::composeSong();
    writeFile(root / "module" / "krs.xm", formats::writeXm(song));
    for (formats::XmInstrument& instrument : song.instruments) {
        for (formats::XmSample& sample : instrument.samples) {
            sample.pcm.resize(std::min<std::size_t>(sample.pcm.size(), 64));
            sample.loopStart = std::min(sample.loopStart, static_cast<int>(sample.pcm.size()));
            sample.loopLength =
                std::min(sample.loopLength, static_cast<int>(sample.pcm.size()) - sample.loopStart);
        }
    }
    writeFile(root / "module" / "krs-short-samples.xm", formats::writeXm(song));
    for (const test::OddModule& module : test::oddModules()) {
        writeFile(root / "module" / module.name, module.bytes);
    }
    return 0;
}
