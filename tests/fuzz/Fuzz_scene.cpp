// Scene reader on arbitrary text. Object paths resolve under a folder made at start-up that
// holds data/seed.lwo, so inputs can load real objects.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "formats/ObjectWriter.h"
#include "scene/Scene.h"

namespace {

std::filesystem::path& dataRoot() {
    static std::filesystem::path root;
    return root;
}

void removeDataRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(dataRoot(), ignored);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    dataRoot() = std::filesystem::temp_directory_path() /
                 ("vardel-fuzz-scene-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dataRoot() / "data");
    vardel::formats::ObjectDescription object;
    object.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    object.polygons = {{0, 1, 2}, {2, 0}};
    const auto bytes = vardel::formats::writeObject(object);
    std::ofstream(dataRoot() / "data" / "seed.lwo", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::atexit(removeDataRoot);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vardel::Scene scene;
    std::string reason;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const bool loaded = scene.loadSceneText(text, "fuzz.lws", dataRoot(), &reason);
    if (!loaded && reason.empty()) {
        std::abort();
    }
    if (loaded && (scene.lights.empty() ||
                   scene.context.polygonTable.size() != static_cast<std::size_t>(scene.context.polygonTotal))) {
        std::abort();
    }
    return 0;
}
