// Music mixing: the sound library's mixer, which looks up the player's row after every slice
// of 42 frames, against libopenmpt mixing whole blocks; and the status call the timeline makes
// every frame. Items are stereo frames (status calls for the last one).

#include <benchmark/benchmark.h>

#include <libopenmpt/libopenmpt.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <sstream>
#include <vector>

#include "formats/XmWriter.h"
#include "music/LoadedModule.h"
#include "music/ModuleMixer.h"
#include "music/SoundLibrary.h"

namespace {

using namespace vardel;

constexpr std::size_t blockFrames = 1024; // one device buffer

// Eight channels, every one playing a looped sine from the first row, a cue every 4 rows.
std::vector<std::uint8_t> busySong() {
    formats::XmModule module;
    module.channels = 8;
    module.orders = {0};
    formats::XmPattern pattern(64, 8);
    for (int row = 0; row < 64; row += 4) {
        for (int channel = 0; channel < 8; ++channel) {
            pattern.at(row, channel).note = formats::xmNote(channel, 3 + row / 16);
            pattern.at(row, channel).instrument = 1;
        }
        pattern.at(row, 7).effect = formats::xmEffect('W');
        pattern.at(row, 7).parameter = static_cast<std::uint8_t>(row);
    }
    module.patterns = {pattern};
    formats::XmInstrument instrument;
    formats::XmSample sample;
    for (int i = 0; i < 256; ++i) {
        sample.pcm.push_back(static_cast<std::int16_t>(8000 * std::sin(i * std::numbers::pi / 16)));
    }
    sample.loopLength = 256;
    instrument.samples = {sample};
    module.instruments = {instrument};
    return formats::writeXm(module);
}

void BM_MusicMixSliced(benchmark::State& state) {
    std::string reason;
    const std::unique_ptr<LoadedModule> song = loadModuleBytes(busySong(), "busy", &reason);
    ModuleMixer mixer;
    mixer.start(*song, true);
    std::vector<float> out(2 * blockFrames);
    for (auto _ : state) {
        mixer.mix(out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t{blockFrames});
}
BENCHMARK(BM_MusicMixSliced);

void BM_MusicMixWholeBlocks(benchmark::State& state) {
    std::ostringstream log;
    openmpt::module player(busySong(), log);
    player.set_repeat_count(-1);
    std::vector<float> out(2 * blockFrames);
    for (auto _ : state) {
        player.read_interleaved_stereo(mixRate, blockFrames, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t{blockFrames});
}
BENCHMARK(BM_MusicMixWholeBlocks);

void BM_MusicStatus(benchmark::State& state) {
    SoundLibrary library(SoundOutput::Offline);
    // The library loads from files: write the song to one and remove it once loaded.
    const std::string path =
        (std::filesystem::temp_directory_path() / "vardel-bench-music.xm").string();
    const std::vector<std::uint8_t> bytes = busySong();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    const MIDASmodulePlayHandle play =
        library.MIDASplayModule(library.MIDASloadModule(path.c_str()), 1);
    std::filesystem::remove(path);
    if (play == 0) {
        state.SkipWithError("the song did not load");
        return;
    }
    std::vector<float> out(2 * 735);
    library.renderOffline(std::span(out));
    MIDASplayStatus status;
    for (auto _ : state) {
        library.MIDASgetPlayStatus(play, &status);
        benchmark::DoNotOptimize(status);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MusicStatus);

} // namespace
