// Music played in real time reports each cue when it is heard: the audio offset after its row
// is mixed and buffered.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "TinyDemo.h"
#include "demo/DemoMusic.h"
#include "music/ModuleMixer.h"
#include "music/MusicPlayer.h"
#include "music/SoundLibrary.h"

namespace vardel {
namespace {

// The silent real-time output on a clock the test moves by hand; its thread mixes up to the
// clock a few milliseconds after each move, and the position heard follows the clock back.
TEST(PlayerMusic, CuesReachTheFrameLoopTheAudioOffsetLater) {
    constexpr double cueFrame = 10584; // W01 starts row 2: 2 rows of 7.2 ticks of 735 frames
    for (const int offsetMs : {-1, 40, 1000}) { // -1: none given, the silent output's own 0
        SCOPED_TRACE(testing::Message() << offsetMs << " ms");
        std::atomic<double> seconds{100.0};
        SoundLibrary library(SoundOutput::Silent, [&] { return seconds.load(); });
        if (offsetMs >= 0) {
            library.setAudioOffset(offsetMs / 1000.0);
        }
        MusicPlayer player(library);
        PlayerMusic music(player);
        ASSERT_TRUE(player.load(test::tinyDemoRoot() / "data" / "krs.xm"));
        ASSERT_TRUE(music.play());
        const double heardAt =
            100.0 + (cueFrame + std::max(offsetMs, 0) * mixRate / 1000.0) / mixRate;
        const auto rowHeard = [&] {
            MIDASplayStatus status;
            EXPECT_TRUE(library.MIDASgetPlayStatus(player.playHandle, &status));
            return status.row;
        };
        // A frame and a half after (the silent output's position stops at its last frame
        // mixed), the cue has arrived once the output has mixed up to the clock.
        seconds = heardAt + 1.5 / mixRate;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (rowHeard() < 2 && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        EXPECT_EQ(rowHeard(), 2u);
        EXPECT_EQ(music.poll(), 1);
        // Back to half a frame before: mixed long since, but not heard yet.
        seconds = heardAt - 0.5 / mixRate;
        EXPECT_EQ(rowHeard(), 1u);
        EXPECT_EQ(music.poll(), 0);
    }
}

} // namespace
} // namespace vardel
