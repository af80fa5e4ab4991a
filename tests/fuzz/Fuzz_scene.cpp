// Scene reader on arbitrary text. Objects come from memory, not from files: the path
// data\seed.lwo (with either separator) names a small object, every other path none.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "formats/ObjectWriter.h"
#include "scene/DataPath.h"
#include "scene/Scene.h"

namespace {

const std::vector<std::uint8_t>& seedObject() {
    static const std::vector<std::uint8_t> bytes = [] {
        vardel::formats::ObjectDescription object;
        object.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        object.polygons = {{0, 1, 2}, {2, 0}};
        return vardel::formats::writeObject(object);
    }();
    return bytes;
}

bool seedOnly(std::string_view name, vardel::ObjectFile& file, std::string* reason) {
    file.fileName = name;
    if (name != "data\\seed.lwo" && name != "data/seed.lwo") {
        return vardel::fail(reason, file.fileName, "cannot open: no such object");
    }
    file.bytes = seedObject();
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vardel::ObjectSource objects = seedOnly;
    vardel::Scene scene;
    std::string reason;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const bool loaded = scene.loadSceneText(text, "fuzz.lws", objects, &reason);
    if (!loaded && reason.empty()) {
        std::abort();
    }
    if (loaded &&
        (scene.lights.empty() || scene.context.polygonTable.size() !=
                                     static_cast<std::size_t>(scene.context.polygonTotal))) {
        std::abort();
    }
    return 0;
}
