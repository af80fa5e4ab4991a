// The demo on its generated data (build/data): loading everything start-up loads, and one
// pass of the frame loop in each part (render, compositing, presentation to a headless display
// that keeps nothing). Items are bytes for loading and frames for the parts. Skipped when the
// data has not been generated; VARDEL_BENCH_DATA names another folder holding data/.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "capture/HeadlessDisplay.h"
#include "demo/DemoClock.h"
#include "demo/DemoData.h"
#include "demo/DemoMusic.h"
#include "demo/Timeline.h"
#include "scene/DataPath.h"

namespace {

using namespace vardel;

#ifndef VARDEL_DATA_ROOT
#define VARDEL_DATA_ROOT "."
#endif

// The folder holding data/: VARDEL_BENCH_DATA when set, else the build folder.
std::filesystem::path dataRoot() {
    const char* chosen = std::getenv("VARDEL_BENCH_DATA");
    return chosen != nullptr ? chosen : VARDEL_DATA_ROOT;
}

// Music that plays nothing and reports the sync value it is given.
class SilentMusic final : public DemoMusic {
public:
    bool play() override { return started = true; }
    bool playing() const override { return started; }
    std::int32_t poll() override { return sync; }
    void stop() override { started = false; }
    std::int32_t sync = 0;

private:
    bool started = false;
};

std::unique_ptr<DemoData> loadData(benchmark::State& state) {
    auto data = std::make_unique<DemoData>();
    std::string reason;
    if (!loadDemoTextures(*data, dataRoot(), &reason) ||
        !loadDemoScenes(*data, dataRoot(), &reason)) {
        state.SkipWithError(("no demo data: " + reason).c_str());
        return nullptr;
    }
    return data;
}

void BM_LoadDemoData(benchmark::State& state) {
    std::int64_t bytes = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dataRoot() / "data", error)) {
        bytes += entry.is_regular_file() ? static_cast<std::int64_t>(entry.file_size()) : 0;
    }
    for (auto _ : state) {
        if (!loadData(state)) {
            break;
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
}

// The frames of part N, from its start on, one tick each.
void BM_RenderDemoPart(benchmark::State& state) {
    const auto part = static_cast<int>(state.range(0));
    const std::unique_ptr<DemoData> data = loadData(state);
    if (!data) {
        return;
    }
    HeadlessDisplay display;
    FixedStepClock clock;
    SilentMusic music;
    Timeline timeline(*data, display, clock, music);
    while (timeline.status().partNumber < part) {
        timeline.skipPart();
        timeline.pass();
    }
    // In part 5 the grids switch every 30 frames.
    const std::int32_t cues[] = {0x24, 0x34, 0x14};
    std::int64_t frames = 0;
    for (auto _ : state) {
        if (part == 5) {
            music.sync = cues[(frames / 30) % 3];
        }
        timeline.pass();
        ++frames;
    }
    state.SetItemsProcessed(frames);
}

BENCHMARK(BM_LoadDemoData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderDemoPart)->DenseRange(1, 6)->Unit(benchmark::kMicrosecond);

} // namespace
