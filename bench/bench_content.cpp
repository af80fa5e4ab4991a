// Whole frames of the demo's own scenes through render(), with the textures mapped as the
// demo maps them: what the generated content costs to draw. The data is generated once into a
// temporary folder.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Makedata.h"
#include "preview/DemoScenes.h"
#include "render/Render.h"

namespace {

using namespace vardel;

// The scenes loaded once for all benchmarks; the folder is removed when the program ends.
struct Content {
    std::filesystem::path root;
    std::unique_ptr<makedata::DemoScenes> demo;

    Content() {
        root = std::filesystem::temp_directory_path() /
               ("vardel-bench-content-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        std::string reason;
        const auto data = root / "data";
        demo = std::make_unique<makedata::DemoScenes>();
        if (!makedata::writeTextures(data, reason) || !makedata::writeObjects(data, reason) ||
            !makedata::writeScenes(data, reason) || !demo->load(root, reason)) {
            std::fprintf(stderr, "bench_content: %s\n", reason.c_str());
            demo.reset();
        }
    }
    ~Content() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};

Content& content() {
    static Content loaded;
    return loaded;
}

// Renders scene `number` at times spread over the part that uses it.
void renderScene(benchmark::State& state, int number, double firstTime, double lastTime) {
    if (!content().demo) {
        state.SkipWithError("the content could not be generated");
        return;
    }
    Scene& scene = content().demo->scene(number);
    std::vector<std::uint32_t> frame(320 * 240, 0);
    scene.target = frame.data();
    constexpr int kTimes = 16;
    int i = 0;
    for (auto _ : state) {
        render(scene, firstTime + (lastTime - firstTime) * (i % kTimes) / (kTimes - 1));
        benchmark::DoNotOptimize(frame.data());
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_RenderFinaleScene(benchmark::State& state) {
    renderScene(state, 1, 0.0, 215.0);
}
void BM_RenderGridScene(benchmark::State& state) {
    renderScene(state, 2, 0.0, 105.0);
}
void BM_RenderCloudScene(benchmark::State& state) {
    renderScene(state, 3, 0.0, 460.0);
}
void BM_RenderScreenScene(benchmark::State& state) {
    renderScene(state, 4, 0.0, 105.0);
}

BENCHMARK(BM_RenderFinaleScene);
BENCHMARK(BM_RenderGridScene);
BENCHMARK(BM_RenderCloudScene);
BENCHMARK(BM_RenderScreenScene);

} // namespace
