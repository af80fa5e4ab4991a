// Music mixed in step with demo time reports each cue at the tick at which it is heard.

#include <gtest/gtest.h>

#include <algorithm>

#include "TinyDemo.h"
#include "demo/DemoMusic.h"
#include "music/CueModule.h"
#include "music/MusicPlayer.h"
#include "music/SoundLibrary.h"
#include "support/TempDir.h"

namespace vardel {
namespace {

TEST(OfflineMusic, CuesArriveAtTheTickTheyAreHeard) {
    SoundLibrary library(SoundOutput::Offline);
    MusicPlayer player(library);
    std::int64_t sunk = 0;
    OfflineMusic music(player, library,
                       [&](std::span<const float> out) { sunk += std::ssize(out); });
    ASSERT_TRUE(player.load(test::tinyDemoRoot() / "data" / "krs.xm"));
    ASSERT_TRUE(music.play());
    // Quarter ticks of 183.75 audio frames add up without loss.
    for (const std::int64_t mixed : {183, 367, 551, 735}) {
        music.advance(0.25);
        EXPECT_EQ(music.framesMixed(), mixed);
    }
    // Row r starts 7.2 r ticks in; W01 ... W04 are on rows 2, 4, 6 and 8.
    std::vector<int> firstTick(5, -1);
    for (int tick = 2; tick <= 70; ++tick) {
        music.advance(1.0);
        const int cue = music.poll();
        if (cue >= 1 && cue <= 4 && firstTick[cue] < 0) {
            firstTick[cue] = tick;
        }
    }
    EXPECT_EQ(firstTick, (std::vector<int>{-1, 15, 29, 44, 58}));
    EXPECT_EQ(sunk, 2 * 70 * 735);
    EXPECT_FALSE(music.wrapped());
    music.advance(100.0); // past the end of the 20-row song
    music.poll();
    EXPECT_TRUE(music.wrapped());
}

// A capture's music is mixed to be heard: what its sink receives is not the rough mix that
// keeps time for runs without a sink.
TEST(OfflineMusic, ASinkGetsMusicMixedToBeHeard) {
    test::TempDir dir;
    const auto song = dir.write("cues.xm", test::cueSongBytes());
    const auto mix = [&](bool timingOnly) {
        SoundLibrary library(SoundOutput::Offline);
        MusicPlayer player(library);
        std::vector<float> samples;
        OfflineMusic music(player, library, [&](std::span<const float> out) {
            samples.insert(samples.end(), out.begin(), out.end());
        });
        if (timingOnly) {
            library.mixForTimingOnly(true);
        }
        EXPECT_TRUE(player.load(song));
        EXPECT_TRUE(music.play());
        music.advance(30.0);
        return samples;
    };
    const std::vector<float> heard = mix(false);
    ASSERT_EQ(heard.size(), 2u * 30 * 735);
    EXPECT_GT(*std::max_element(heard.begin(), heard.end()), 0.05f);
    EXPECT_NE(heard, mix(true));
}

// A capture's frame at 50 or 30 frames/s is 1.2 or 2 ticks: every one carries exactly
// 882 or 1470 audio frames, however long the capture.
TEST(OfflineMusic, EachCaptureFrameCarriesTheSameNumberOfSamples) {
    for (const int fps : {50, 30}) {
        SoundLibrary library(SoundOutput::Offline);
        MusicPlayer player(library);
        OfflineMusic music(player, library);
        const std::int64_t perFrame = 44100 / fps;
        for (std::int64_t frame = 1; frame <= 20000; ++frame) {
            music.advance(60.0 / fps);
            ASSERT_EQ(music.framesMixed(), frame * perFrame) << fps << " fps, frame " << frame;
        }
    }
}

} // namespace
} // namespace vardel
