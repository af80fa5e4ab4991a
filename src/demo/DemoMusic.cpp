#include "demo/DemoMusic.h"

#include <algorithm>
#include <cmath>

#include "demo/DemoClock.h"
#include "music/ModuleMixer.h"
#include "music/MusicPlayer.h"
#include "music/SoundLibrary.h"

namespace vardel {

namespace {
constexpr std::size_t blockFrames = 4096;
constexpr double audioFramesPerTick = mixRate / ticksPerSecond; // 735
} // namespace

bool PlayerMusic::play() {
    return player.play();
}

bool PlayerMusic::playFromCue(int nibble) {
    return player.playFromCue(nibble);
}

bool PlayerMusic::playing() const {
    return player.playHandle != 0;
}

std::int32_t PlayerMusic::poll() {
    player.poll();
    return player.syncValue;
}

void PlayerMusic::stop() {
    player.stop();
}

OfflineMusic::OfflineMusic(MusicPlayer& player, SoundLibrary& library, AudioSink sink)
    : PlayerMusic(player), library(library), sink(std::move(sink)), block(2 * blockFrames) {
    // Without a sink the music only keeps the demo's time: its samples go nowhere.
    library.mixForTimingOnly(!this->sink);
}

void OfflineMusic::advance(double ticks) {
    // Whole audio frames only; the fraction is carried to the next frame so that the audio
    // never drifts from demo time. A step that is a whole number of audio frames but not
    // exact in binary (1.2 ticks of a 50 fps capture: 882 frames) counts as that whole number,
    // so that every video frame carries the same number of samples.
    constexpr double slack = 1e-6;
    owed += std::max(ticks, 0.0) * audioFramesPerTick;
    const double whole = std::floor(owed + slack);
    owed -= whole;
    auto frames = static_cast<std::int64_t>(whole);
    mixed += frames;
    while (frames > 0) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(frames, blockFrames));
        const std::span<float> out = std::span(block).first(2 * count);
        library.renderOffline(out);
        if (sink) {
            sink(out);
        }
        frames -= static_cast<std::int64_t>(count);
    }
}

bool OfflineMusic::wrapped() const {
    return player.songLoopCount > 0;
}

} // namespace vardel
