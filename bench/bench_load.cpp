// Loading speed: the nine-texture set from raw files, and object parsing.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "formats/ObjectWriter.h"
#include "scene/DataPath.h"
#include "scene/SceneObject.h"
#include "scene/Texture.h"

namespace {

using namespace vardel;

// A folder holding data/*.raw of the texture set's sizes, written once per process.
class TextureFolder {
public:
    TextureFolder() {
        root = std::filesystem::temp_directory_path() / ("vardel-bench-" + std::to_string(::getpid()));
        for (const TextureFile& file : textureFiles) {
            const std::filesystem::path path = hostPath(root, file.name);
            std::filesystem::create_directories(path.parent_path());
            std::string bytes(static_cast<std::size_t>(file.width * file.height * 3), '\0');
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                bytes[i] = static_cast<char>(i * 7);
            }
            std::ofstream(path, std::ios::binary) << bytes;
            totalBytes += static_cast<std::int64_t>(bytes.size());
        }
    }
    ~TextureFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    std::filesystem::path root;
    std::int64_t totalBytes = 0;
};

void BM_LoadTextures(benchmark::State& state) {
    static TextureFolder folder;
    for (auto _ : state) {
        TextureSet textures;
        std::string reason;
        if (!loadTextures(textures, folder.root, &reason)) {
            state.SkipWithError(reason.c_str());
            break;
        }
        benchmark::DoNotOptimize(textures[Embora].pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * folder.totalBytes);
    state.SetBytesProcessed(state.iterations() * folder.totalBytes);
}
BENCHMARK(BM_LoadTextures)->Unit(benchmark::kMillisecond);

// A 64 x 64 grid of points, two triangles per cell: 4,096 points, 7,938 triangles.
void BM_LoadObjectBytes(benchmark::State& state) {
    formats::ObjectDescription grid;
    constexpr int kSide = 64;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            grid.points.push_back({static_cast<float>(x), static_cast<float>(y),
                                   static_cast<float>(std::sin(x * 0.3) * std::cos(y * 0.2))});
        }
    }
    for (int y = 0; y + 1 < kSide; ++y) {
        for (int x = 0; x + 1 < kSide; ++x) {
            const auto i = static_cast<std::uint16_t>(y * kSide + x);
            grid.polygons.push_back({i, static_cast<std::uint16_t>(i + 1), static_cast<std::uint16_t>(i + kSide)});
            grid.polygons.push_back({static_cast<std::uint16_t>(i + 1), static_cast<std::uint16_t>(i + kSide + 1),
                                     static_cast<std::uint16_t>(i + kSide)});
        }
    }
    const std::vector<std::uint8_t> bytes = formats::writeObject(grid);
    for (auto _ : state) {
        SceneObject object;
        if (!object.loadObjectBytes(bytes, "grid.lwo")) {
            state.SkipWithError("grid object did not load");
            break;
        }
        benchmark::DoNotOptimize(object.points.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadObjectBytes);

} // namespace
