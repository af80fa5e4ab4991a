// The sound library's sync value: it follows the rows the player really reaches, at the
// frames where they start, in offline rendering and on the clock-paced silent output.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "music/CueModule.h"
#include "shell/RowHistory.h"
#include "shell/SoundLibrary.h"
#include "support/TempDir.h"

namespace vardel {
namespace {

using test::cueSongRows;
using test::framesPerRow;

// The row of the song (looping) that plays at a frame counted from the start of the play.
test::PlayedRow expectedAt(std::int64_t frame) {
    const std::size_t index = static_cast<std::size_t>(frame / framesPerRow);
    return cueSongRows[index % cueSongRows.size()];
}

class OfflineSong : public ::testing::Test {
protected:
    void SetUp() override {
        const auto path = dir.write("cues.xm", test::cueSongBytes());
        library.MIDASstartup();
        library.MIDASinit();
        library.MIDASstartBackgroundPlay(0);
        module = library.MIDASloadModule(path.string().c_str());
        ASSERT_NE(module, 0u);
        play = library.MIDASplayModule(module, 1);
        ASSERT_NE(play, 0u);
    }
    MIDASplayStatus status() {
        MIDASplayStatus result;
        EXPECT_TRUE(library.MIDASgetPlayStatus(play, &result));
        return result;
    }

    test::TempDir dir;
    SoundLibrary library{SoundOutput::Offline};
    MIDASmodule module = 0;
    MIDASmodulePlayHandle play = 0;
};

TEST_F(OfflineSong, SyncChangesOnTheFrameWhereItsRowStartsThroughBreakLoopAndJump) {
    // One frame at a time: after rendering frame f the status is that of f's row.
    std::vector<float> frame(2);
    const std::int64_t frames = std::int64_t{framesPerRow} * 17; // round the loop and on
    std::int64_t changes = 0;
    std::int32_t previous = 0;
    for (std::int64_t f = 0; f < frames; ++f) {
        ASSERT_TRUE(library.renderOffline(std::span(frame)));
        const MIDASplayStatus now = status();
        const test::PlayedRow want = expectedAt(f);
        ASSERT_EQ(now.syncInfo, want.sync) << "frame " << f;
        ASSERT_EQ(now.position, std::uint32_t(want.order)) << "frame " << f;
        ASSERT_EQ(now.row, std::uint32_t(want.row)) << "frame " << f;
        ASSERT_EQ(now.songLoopCount, f < 15 * framesPerRow ? 0u : 1u) << "frame " << f;
        changes += now.syncInfo != previous ? 1 : 0;
        previous = now.syncInfo;
    }
    EXPECT_EQ(changes, 10); // 0x00 -> 0x01 at the wrap included
}

TEST_F(OfflineSong, StepsOfOneVideoFrameReportTheRowOfTheirLastFrame) {
    std::vector<std::int16_t> step(2 * 735);
    for (std::int64_t rendered = 735; rendered <= 20 * framesPerRow; rendered += 735) {
        ASSERT_TRUE(library.renderOffline(std::span(step)));
        const test::PlayedRow want = expectedAt(rendered - 1);
        const MIDASplayStatus now = status();
        ASSERT_EQ(now.syncInfo, want.sync) << "after " << rendered << " frames";
        ASSERT_EQ(now.row, std::uint32_t(want.row)) << "after " << rendered << " frames";
    }
}

TEST_F(OfflineSong, PlaySoundsAtOnceAndStopSilencesAtOnce) {
    std::vector<float> block(2 * 512);
    auto loud = [&] {
        float peak = 0;
        for (float sample : block) {
            peak = std::max(peak, std::abs(sample));
        }
        return peak > 0.05f;
    };
    library.renderOffline(std::span(block));
    EXPECT_TRUE(loud());
    EXPECT_EQ(library.MIDASplayModule(module, 1), 0u) << "a second play while one runs";
    EXPECT_TRUE(library.MIDASstopModule(play));
    library.renderOffline(std::span(block));
    EXPECT_FALSE(loud());
    MIDASplayStatus ignored;
    EXPECT_FALSE(library.MIDASgetPlayStatus(play, &ignored)) << "the stopped handle";
    EXPECT_FALSE(library.MIDASstopModule(play));
}

TEST(SyncCue, EffectWIsSilent) {
    std::vector<float> audio[2];
    for (bool withCues : {false, true}) {
        test::TempDir dir;
        SoundLibrary library(SoundOutput::Offline);
        const auto path = dir.write("song.xm", test::cueSongBytes(withCues));
        const MIDASmodule module = library.MIDASloadModule(path.string().c_str());
        ASSERT_NE(library.MIDASplayModule(module, 0), 0u);
        std::vector<float>& out = audio[withCues ? 1 : 0];
        out.resize(2 * 16 * framesPerRow);
        library.renderOffline(std::span(out));
    }
    EXPECT_GT(*std::max_element(audio[0].begin(), audio[0].end()), 0.1f);
    EXPECT_TRUE(audio[0] == audio[1]);
}

TEST(SyncCue, ModulesThatDoNotLoadAreRefusedWithTheFileAndTheReason) {
    test::TempDir dir;
    const std::vector<std::uint8_t> song = test::cueSongBytes();
    auto cutAt = [&](std::size_t size) {
        return std::vector<std::uint8_t>(song.begin(), song.begin() + std::ptrdiff_t(size));
    };
    const struct {
        std::filesystem::path path;
        const char* reason;
    } cases[] = {
        {dir.path() / "missing.xm", "cannot open"},
        {dir.write("empty.xm", ""), "empty file"},
        {dir.write("notes.txt", "These are not the droids you are looking for.\n"), "not a module"},
        {dir.write("patterns.xm", cutAt(200)), "truncated: a pattern header"},
        {dir.write("instrument.xm", cutAt(450)), "truncated: an instrument header"},
        {dir.write("samples.xm", cutAt(720)), "truncated: a sample header"},
        {dir.write("sample.xm", cutAt(song.size() - 1)), "truncated: the sample data"},
    };
    SoundLibrary library(SoundOutput::Offline);
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(library.MIDASloadModule(c.path.string().c_str()), 0u) << c.path;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(c.path.string()), std::string::npos) << said;
        EXPECT_NE(said.find(c.reason), std::string::npos) << said;
    }
}

TEST(SyncCue, TheRowHistoryFindsRowsAcrossItsRingAndBeforeItsOldest) {
    RowHistory history;
    EXPECT_EQ(history.playingAt(0), nullptr);
    for (int i = 0; i < 600; ++i) {
        RowEvent event;
        event.frame = 1000 + 10 * i;
        event.row = i;
        history.push(event);
    }
    ASSERT_EQ(history.oldestKept(), 600u - RowHistory::capacity);
    const struct {
        std::int64_t frame;
        int row;
    } cases[] = {{1000 + 10 * 599, 599}, {1000 + 10 * 599 + 9999, 599}, {1000 + 10 * 500 + 9, 500},
                 {1000 + 10 * 344, 344}, {1000 + 10 * 300, 344},        {5, 344}};
    for (const auto& c : cases) {
        ASSERT_NE(history.playingAt(c.frame), nullptr);
        EXPECT_EQ(history.playingAt(c.frame)->row, c.row) << c.frame;
    }
    history.clear();
    history.push(RowEvent{.frame = 50});
    EXPECT_EQ(history.playingAt(49), nullptr) << "before the first row of a play";
}

// A clock the test moves by hand, read by the output thread.
struct HandClock {
    std::atomic<double> seconds{100.0};
    SoundClock clock() {
        return [this] { return seconds.load(); };
    }
};

// The silent outputs: chosen outright, and taken instead of SDL's dummy driver.
class RealTimeOutput : public ::testing::TestWithParam<SoundOutput> {};

TEST_P(RealTimeOutput, SyncFollowsTheClockWithoutASoundCard) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    HandClock hand;
    test::TempDir dir;
    const auto path = dir.write("cues.xm", test::cueSongBytes());
    SoundLibrary library(GetParam(), hand.clock());
    library.MIDASstartup();
    library.MIDASinit();
    testing::internal::CaptureStderr();
    library.MIDASstartBackgroundPlay(0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the dummy driver was asked for";
    EXPECT_FALSE(library.audible());
    const MIDASmodulePlayHandle play =
        library.MIDASplayModule(library.MIDASloadModule(path.string().c_str()), 1);
    ASSERT_NE(play, 0u);
    // The clock stands still until moved: nothing has been heard yet.
    MIDASplayStatus now{};
    ASSERT_TRUE(library.MIDASgetPlayStatus(play, &now));
    EXPECT_EQ(now.syncInfo, 0);
    for (double later : {0.5, 1.0, 1.5, 1.8, 2.0}) {
        hand.seconds = 100.0 + later;
        const std::int64_t heard = static_cast<std::int64_t>(later * 44100) - 1;
        const test::PlayedRow want = expectedAt(heard);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < giveUp) {
            ASSERT_TRUE(library.MIDASgetPlayStatus(play, &now));
            if (now.syncInfo == want.sync && now.row == std::uint32_t(want.row)) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        EXPECT_EQ(now.syncInfo, want.sync) << "at " << later << " s";
        EXPECT_EQ(now.row, std::uint32_t(want.row)) << "at " << later << " s";
        EXPECT_EQ(now.position, std::uint32_t(want.order)) << "at " << later << " s";
        EXPECT_EQ(now.songLoopCount, heard < 15 * framesPerRow ? 0u : 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(Outputs, RealTimeOutput,
                         ::testing::Values(SoundOutput::Silent, SoundOutput::Device));

} // namespace
} // namespace vardel
