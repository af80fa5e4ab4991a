// The sound library's sync value: it follows the rows the player really reaches, at the
// frames where they start, in offline rendering and on the clock-paced silent output.

#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <tuple>

#include "music/OddModules.h"
#include "music/RowHistory.h"
#include "music/SoundLibrary.h"
#include "music/SyncCues.h"
#include "support/TempDir.h"

namespace vardel {
namespace {

using test::framesPerRow;

// What the status says after `frames` frames of the song (looping): sync, order, row, loops.
auto expectedAfter(std::int64_t frames) {
    const test::PlayedRow& row =
        test::cueSongRows[std::size_t((frames - 1) / framesPerRow) % test::cueSongRows.size()];
    return std::tuple(row.sync, std::uint32_t(row.order), std::uint32_t(row.row),
                      frames <= 15 * framesPerRow ? 0u : 1u);
}

// The cue song loaded from a file and playing, looping, on the output.
struct Playing {
    explicit Playing(SoundOutput output = SoundOutput::Offline,
                     SoundClock clock = steadySoundClock(), bool withCues = true)
        : library(output, std::move(clock)) {
        library.MIDASstartup();
        library.MIDASinit();
        library.MIDASstartBackgroundPlay(0);
        const auto path = dir.write("cues.xm", test::cueSongBytes(withCues));
        module = library.MIDASloadModule(path.string().c_str());
        play = library.MIDASplayModule(module, 1);
        EXPECT_NE(play, 0u);
    }
    auto status() {
        MIDASplayStatus s{};
        EXPECT_TRUE(library.MIDASgetPlayStatus(play, &s));
        return std::tuple(s.syncInfo, s.position, s.row, s.songLoopCount);
    }

    test::TempDir dir;
    SoundLibrary library;
    MIDASmodule module = 0;
    MIDASmodulePlayHandle play = 0;
};

// Rendered one frame at a time, each change shows on the frame where its row starts;
// rendered one video frame at a time (16-bit), each step reports the row of its last frame.
// Mixing for timing alone reaches every row at the same frame.
TEST(OfflineSync, FollowsTheRowsThroughBreakLoopAndJumpRoundTheLoop) {
    for (const auto& [step, timingOnly] :
         {std::pair<std::int64_t, bool>{1, false}, {735, false}, {1, true}, {735, true}}) {
        Playing song;
        song.library.mixForTimingOnly(timingOnly);
        std::vector<float> floats(std::size_t(2 * step));
        std::vector<std::int16_t> pcm(floats.size());
        int changes = 0;
        std::int32_t previous = 0;
        for (std::int64_t frames = step; frames <= 17 * framesPerRow; frames += step) {
            ASSERT_TRUE(step == 1 ? song.library.renderOffline(std::span(floats))
                                  : song.library.renderOffline(std::span(pcm)));
            const auto now = song.status();
            ASSERT_EQ(now, expectedAfter(frames))
                << "after " << frames << " frames" << (timingOnly ? ", timing only" : "");
            changes += std::get<0>(now) != previous ? 1 : 0;
            previous = std::get<0>(now);
        }
        EXPECT_EQ(changes, 10); // 0x00 -> 0x01 at the wrap included
    }
}

// The loudest sample of the next 512 frames the song's library mixes.
float nextPeak(Playing& song) {
    std::vector<float> block(2 * 512);
    song.library.renderOffline(std::span(block));
    float peak = 0;
    for (float sample : block)
        peak = std::max(peak, std::abs(sample));
    return peak;
}

// Mixing for timing alone mutes the song (that is its saving); mixing to be heard again
// brings every channel back.
TEST(OfflineSync, TimingOnlyMixesSilenceAndThenTheSongIsHeardAgain) {
    Playing song;
    song.library.mixForTimingOnly(true);
    EXPECT_EQ(nextPeak(song), 0.0f);
    song.library.mixForTimingOnly(false);
    EXPECT_GT(nextPeak(song), 0.05f);
}

TEST(OfflineSync, PlaySoundsAtOnceAndStopSilencesAtOnce) {
    Playing song;
    auto loud = [&] { return nextPeak(song) > 0.05f; };
    EXPECT_TRUE(loud());
    EXPECT_EQ(song.library.MIDASplayModule(song.module, 1), 0u) << "a second play while one runs";
    EXPECT_TRUE(song.library.MIDASstopModule(song.play));
    EXPECT_FALSE(loud());
    MIDASplayStatus ignored;
    EXPECT_FALSE(song.library.MIDASgetPlayStatus(song.play, &ignored)) << "the stopped handle";
    EXPECT_FALSE(song.library.MIDASstopModule(song.play));
}

// A play can start at a later part's cue: the first row in song order whose cue has the
// nibble, with that cue as the sync value from its first frame.
TEST(OfflineSync, JumpToCueMovesThePlayToTheFirstRowWithTheNibble) {
    Playing song;
    std::vector<float> frame(2);
    const struct {
        int nibble;
        std::tuple<std::int32_t, std::uint32_t, std::uint32_t> at;
    } cases[] = {{3, {0x03, 1, 2}}, {4, {0x04, 1, 4}}, {2, {0x02, 0, 2}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(song.library.jumpToCue(song.play, c.nibble)) << c.nibble;
        song.library.renderOffline(std::span(frame));
        const auto [sync, order, row, loops] = song.status();
        EXPECT_EQ(std::tuple(sync, order, row), c.at) << c.nibble;
    }
    EXPECT_FALSE(song.library.jumpToCue(song.play, 9)) << "no such cue";
    EXPECT_FALSE(song.library.jumpToCue(song.play + 1, 3)) << "not the playing handle";
}

TEST(OfflineSync, EffectWIsSilent) {
    std::vector<float> audio[2];
    for (bool withCues : {false, true}) {
        Playing song(SoundOutput::Offline, steadySoundClock(), withCues);
        audio[withCues].resize(2 * 16 * framesPerRow);
        song.library.renderOffline(std::span(audio[withCues]));
    }
    EXPECT_GT(*std::max_element(audio[0].begin(), audio[0].end()), 0.1f);
    EXPECT_TRUE(audio[0] == audio[1]);
}

TEST(SyncCues, EveryRowOfEveryPatternAndNoneOutside) {
    // The cue song with cues on the first rows of its second and third patterns: a row just
    // past a pattern's end must not answer with the next pattern's first row. A fourth
    // pattern, which the order list never plays, has cues that do not count.
    formats::XmModule song = test::cueSong();
    song.patterns[1].at(0, 0) = {0, 0, 0, formats::xmEffect('W'), 0x41};
    song.patterns[2].at(0, 0) = {0, 0, 0, formats::xmEffect('W'), 0x42};
    song.patterns.push_back(song.patterns[0]);
    std::ostringstream log;
    const SyncCues cues(openmpt::module(formats::writeXm(song), log));
    constexpr int none = SyncCues::none;
    const struct {
        int pattern, row, cue;
    } cases[] = {
        {0, 0, 0x01}, {0, 1, none}, {0, 5, 0x77}, {0, 7, none},  {0, 8, none},
        {1, 0, 0x41}, {1, 7, 0x66}, {1, 8, none}, {2, 0, 0x42},  {2, 1, 0x24},
        {2, 3, 0x00}, {2, 4, none}, {3, 0, none}, {0, -1, none}, {-1, 0, none},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cues.at(c.pattern, c.row), c.cue) << c.pattern << "," << c.row;
    }
    EXPECT_EQ(cues.count(), 11);
}

TEST(SoundLibrary, ModulesThatDoNotLoadAreRefusedWithTheFileAndTheReason) {
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
        {dir.write("header.xm", cutAt(200)), "truncated: the header needs 336 bytes"},
        {dir.write("patterns.xm", cutAt(test::patternsEnd(test::cueSong()) - 1)),
         "truncated: the data of pattern 2 needs"},
    };
    SoundLibrary library(SoundOutput::Offline);
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(library.MIDASloadModule(c.path.string().c_str()), 0u) << c.path;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(c.path.string() + ": " + c.reason), std::string::npos) << said;
    }
    // From memory: the reason comes back to the caller, and the module plays once loaded.
    std::string reason;
    testing::internal::CaptureStderr();
    EXPECT_EQ(library.loadModuleFromMemory(cutAt(200), "cut.xm", &reason), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(reason, "cut.xm: truncated: the header needs 336 bytes, the file has 200");
    EXPECT_NE(library.MIDASplayModule(library.loadModuleFromMemory(song, "song.xm", &reason), 0),
              0u);
}

TEST(RowHistory, FindsRowsAcrossItsRingAndBeforeItsOldest) {
    RowHistory history;
    EXPECT_EQ(history.playingAt(0), nullptr);
    for (int i = 0; i < 600; ++i)
        history.push(RowEvent{.frame = 1000 + 10 * i, .row = i});
    ASSERT_EQ(history.oldestKept(), 600u - RowHistory::capacity);
    const std::pair<std::int64_t, int> cases[] = {
        {1000 + 10 * 599, 599}, {1000 + 10 * 599 + 9999, 599}, {1000 + 10 * 500 + 9, 500},
        {1000 + 10 * 344, 344}, {1000 + 10 * 300, 344},        {5, 344}};
    for (const auto& [frame, row] : cases) {
        ASSERT_NE(history.playingAt(frame), nullptr);
        EXPECT_EQ(history.playingAt(frame)->row, row) << frame;
    }
    history.clear();
    history.push(RowEvent{.frame = 50});
    EXPECT_EQ(history.playingAt(49), nullptr) << "before the first row of a play";
}

// The silent outputs, chosen outright and taken instead of SDL's dummy driver, follow a clock
// the test moves by hand.
class RealTimeOutput : public ::testing::TestWithParam<SoundOutput> {};

TEST_P(RealTimeOutput, SyncFollowsTheClockWithoutASoundCard) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::atomic<double> seconds{100.0};
    testing::internal::CaptureStderr();
    Playing song(GetParam(), [&] { return seconds.load(); });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the dummy driver was asked for";
    EXPECT_FALSE(song.library.audible());
    EXPECT_EQ(std::get<0>(song.status()), 0) << "nothing heard while the clock stands still";
    for (double later : {0.5, 1.0, 1.5, 1.8, 2.0}) {
        seconds = 100.0 + later;
        const auto want = expectedAfter(std::int64_t(later * 44100));
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (song.status() != want && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        EXPECT_EQ(song.status(), want) << "at " << later << " s";
    }
}

INSTANTIATE_TEST_SUITE_P(Outputs, RealTimeOutput,
                         ::testing::Values(SoundOutput::Silent, SoundOutput::Device));

} // namespace
} // namespace vardel
