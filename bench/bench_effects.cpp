// Frame-buffer effects on one 320 x 240 frame: the word-parallel members, and the plain
// per-channel versions for comparison. Items are pixels.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "effects/FrameBuffer.h"
#include "effects/ReferenceEffects.h"

namespace {

using namespace vardel;

constexpr int frameWidth = 320;
constexpr int frameHeight = 240;
constexpr std::size_t framePixels = std::size_t{frameWidth} * frameHeight;

// Two frames of varied pixels, with destinations for every blit, set up once.
struct Frames {
    std::vector<std::uint32_t> source = std::vector<std::uint32_t>(framePixels);
    std::vector<std::uint32_t> dest = std::vector<std::uint32_t>(framePixels);
    std::vector<std::uint16_t> dest16 = std::vector<std::uint16_t>(framePixels);
    std::vector<std::uint8_t> dest24 = std::vector<std::uint8_t>(framePixels * 3);
    FrameBuffer buffer;

    Frames() {
        for (std::size_t i = 0; i < framePixels; ++i) {
            source[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0x00FFFFFFu;
            dest[i] = static_cast<std::uint32_t>(i * 40503u) & 0x00FFFFFFu;
            if (i % 5 == 0) {
                source[i] = 0; // key colour
            }
        }
        buffer.pixels = source.data();
        buffer.width = buffer.destWidth = frameWidth;
        buffer.height = buffer.destHeight = frameHeight;
        buffer.destPixels = dest.data();
        buffer.destPixels16 = dest16.data();
    }
};

template <typename Operation> void runEffect(benchmark::State& state, Operation operation) {
    Frames frames;
    for (auto _ : state) {
        operation(frames);
        benchmark::DoNotOptimize(frames.source.data());
        benchmark::DoNotOptimize(frames.dest.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * framePixels);
}

// The operations are branch-free: their speed does not change as repeated fades settle at 0.
void BM_EffectClear(benchmark::State& state) {
    runEffect(state, [](Frames& f) { f.buffer.clearBuffer(); });
}
void BM_EffectFadeToBlack(benchmark::State& state) {
    runEffect(state, [](Frames& f) { f.buffer.fadeToBlack(3); });
}
void BM_EffectBrighten(benchmark::State& state) {
    runEffect(state, [](Frames& f) { f.buffer.brighten(3); });
}
void BM_EffectAverageInto(benchmark::State& state) {
    runEffect(state, [](Frames& f) { f.buffer.averageInto(); });
}
void BM_EffectAddKeyed(benchmark::State& state) {
    runEffect(state, [](Frames& f) { f.buffer.addKeyed(); });
}
void BM_EffectConvertTo16(benchmark::State& state) {
    runEffect(state, [](Frames& f) { f.buffer.convertTo16(); });
}
void BM_EffectConvertTo24(benchmark::State& state) {
    runEffect(state, [](Frames& f) {
        f.buffer.destPixels = f.dest24.data();
        f.buffer.convertTo24();
    });
}

void BM_EffectReferenceFadeToBlack(benchmark::State& state) {
    runEffect(state, [](Frames& f) { reference::fadeToBlack(f.buffer, 3); });
}
void BM_EffectReferenceAddKeyed(benchmark::State& state) {
    runEffect(state, [](Frames& f) { reference::addKeyed(f.buffer); });
}
void BM_EffectReferenceConvertTo24(benchmark::State& state) {
    runEffect(state, [](Frames& f) {
        f.buffer.destPixels = f.dest24.data();
        reference::convertTo24(f.buffer);
    });
}

BENCHMARK(BM_EffectClear);
BENCHMARK(BM_EffectFadeToBlack);
BENCHMARK(BM_EffectBrighten);
BENCHMARK(BM_EffectAverageInto);
BENCHMARK(BM_EffectAddKeyed);
BENCHMARK(BM_EffectConvertTo16);
BENCHMARK(BM_EffectConvertTo24);
BENCHMARK(BM_EffectReferenceFadeToBlack);
BENCHMARK(BM_EffectReferenceAddKeyed);
BENCHMARK(BM_EffectReferenceConvertTo24);

} // namespace
