// makedata: writes every file the demo loads (textures, objects, scenes, music) into a data
// folder. Deterministic: the same program writes the same bytes every time.

#include <cstdio>
#include <cstring>
#include <string>

#include "Makedata.h"

namespace {

const char* const kUsage =
    "usage: makedata [--help] OUTPUT_DIR\n"
    "Writes the demo's data (textures, objects, scenes and music) into OUTPUT_DIR/data.\n";

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::filesystem::path data = std::filesystem::path(argv[1]) / "data";
    std::string reason;
    using namespace vardel::makedata;
    if (!writeTextures(data, reason) || !writeObjects(data, reason) || !writeScenes(data, reason) ||
        !writeMusic(data, reason)) {
        std::fprintf(stderr, "makedata: %s\n", reason.c_str());
        return 1;
    }
    return 0;
}
