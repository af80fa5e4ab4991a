// The demo's music as the demo plays it: the module written by makedata, loaded and played
// once through by the sound library (vardel-music), against the plan of the demo's parts.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "Makedata.h"
#include "app/MusicTool.h"
#include "music/Song.h"
#include "music/SoundLibrary.h"
#include "support/TempDir.h"

namespace vardel::makedata::music {
namespace {

constexpr double rowSeconds = 0.12; // speed 6 at 125 BPM
constexpr double patternSeconds = 64 * rowSeconds;
constexpr int samplesPerSecond = 44100;

struct HeardCue {
    int order, row;
    double seconds;
    int value;
};

// One pass through the song by vardel-music: the cues as the player reached them, the length
// and, when asked for, the left channel of the sound.
struct Playback {
    std::vector<HeardCue> cues;
    double length = 0;
    std::vector<float> left;
};

Playback play(bool withSound) {
    test::TempDir dir;
    std::string reason;
    EXPECT_TRUE(writeMusic(dir.path() / "data", reason)) << reason;
    const std::string module = (dir.path() / "data" / "krs.xm").string();
    const std::string wav = (dir.path() / "krs.wav").string();
    std::vector<std::string> args{module};
    if (withSound) {
        args.insert(args.end(), {"--wav", wav});
    }
    std::ostringstream out, err;
    EXPECT_EQ(runMusicTool(args, out, err), 0) << err.str();

    Playback result;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        HeardCue cue{};
        unsigned value = 0;
        if (std::sscanf(line.c_str(), "%d %d %lf 0x%x", &cue.order, &cue.row, &cue.seconds,
                        &value) == 4) {
            cue.value = static_cast<int>(value);
            result.cues.push_back(cue);
        }
        std::sscanf(line.c_str(), "length %lf", &result.length);
    }
    if (withSound) {
        // After the 44-byte header, frames of two little-endian 16-bit samples, as on this
        // machine.
        std::ifstream file(wav, std::ios::binary | std::ios::ate);
        const auto frames = (static_cast<std::size_t>(file.tellg()) - 44) / 4;
        std::vector<std::int16_t> pcm(2 * frames);
        file.seekg(44);
        file.read(reinterpret_cast<char*>(pcm.data()), static_cast<std::streamsize>(4 * frames));
        result.left.resize(frames);
        for (std::size_t i = 0; i < frames; ++i) {
            result.left[i] = static_cast<float>(pcm[2 * i]) / 32768.0f;
        }
    }
    return result;
}

// Peak and RMS (dB of full scale) of the sound from `from` to `to` seconds.
struct Level {
    double peak, rmsDb;
};
Level level(const std::vector<float>& sound, double from, double to) {
    const auto first = static_cast<std::size_t>(from * samplesPerSecond);
    const auto last = std::min(sound.size(), static_cast<std::size_t>(to * samplesPerSecond));
    double peak = 0, sum = 0;
    for (std::size_t i = first; i < last; ++i) {
        peak = std::max(peak, double(std::abs(sound[i])));
        sum += double(sound[i]) * sound[i];
    }
    return {peak, 10 * std::log10(sum / double(last - first) + 1e-30)};
}

TEST(Song, LoadsThroughTheSoundLibraryTheSameEveryTime) {
    test::TempDir dir;
    std::string reason;
    ASSERT_TRUE(writeMusic(dir.path() / "one", reason)) << reason;
    ASSERT_TRUE(writeMusic(dir.path() / "two", reason)) << reason;
    std::ifstream one(dir.path() / "one" / "krs.xm", std::ios::binary);
    std::ifstream two(dir.path() / "two" / "krs.xm", std::ios::binary);
    const std::string a((std::istreambuf_iterator<char>(one)), {});
    const std::string b((std::istreambuf_iterator<char>(two)), {});
    EXPECT_GT(a.size(), 1000u);
    EXPECT_TRUE(a == b);

    SoundLibrary library(SoundOutput::Offline);
    const std::string path = (dir.path() / "one" / "krs.xm").string();
    const MIDASmodule module = library.MIDASloadModule(path.c_str());
    ASSERT_NE(module, 0u);
    EXPECT_NE(library.MIDASplayModule(module, 1), 0u);
}

// The demo's plan: 2 patterns of title, 4 of boats, 2 of the second picture, 4 of boats, 4 of
// grids, then the finale. Each part's change lands on the first row of its music.
TEST(Song, PartCuesComeInOrderAtThePlannedRowsAndTimes) {
    const Playback song = play(false);
    const HeardCue planned[] = {{2, 0, 2 * patternSeconds, 0x01},
                                {6, 0, 6 * patternSeconds, 0x02},
                                {8, 0, 8 * patternSeconds, 0x03},
                                {12, 0, 12 * patternSeconds, 0x04},
                                {16, 0, 16 * patternSeconds, 0x05}};
    std::vector<HeardCue> parts;
    std::copy_if(song.cues.begin(), song.cues.end(), std::back_inserter(parts),
                 [](const HeardCue& cue) { return (cue.value & 0xF0) == 0 && cue.value != 0; });
    ASSERT_EQ(parts.size(), std::size(planned) + 1);
    for (std::size_t i = 0; i < std::size(planned); ++i) {
        EXPECT_EQ(parts[i].order, planned[i].order) << i;
        EXPECT_EQ(parts[i].row, planned[i].row) << i;
        EXPECT_NEAR(parts[i].seconds, planned[i].seconds, 0.001) << i;
        EXPECT_EQ(parts[i].value, planned[i].value) << i;
    }
    // The end cue comes in the last pattern, on the row it sits on, last of all.
    const HeardCue& end = parts.back();
    EXPECT_EQ(end.value, 0x06);
    EXPECT_EQ(end.order, 19);
    EXPECT_NEAR(end.seconds, 19 * patternSeconds + end.row * rowSeconds, 0.001);
    EXPECT_EQ(song.cues.back().value, 0x06);
    // Twenty patterns: 2 min 33.6 s.
    EXPECT_NEAR(song.length, 20 * patternSeconds, 0.001);
}

// Runs the demo's rules on the cues: the music starts with part 1 and a sync value of 0; a
// low digit equal to the running part (1 ... 5) moves to the next part; 6 stops the music;
// in part 5 a new high digit switches the grid texture (16, 32, 48 name the three grids).
TEST(Song, DemoPassesThroughItsPartsOnCueAndSwitchesGridsOnTheBeat) {
    const Playback song = play(false);
    int part = 1, lastSwitch = 0;
    std::vector<double> partStarts;
    std::vector<int> grids;
    double stopped = -1;
    int stops = 0;
    for (const HeardCue& cue : song.cues) {
        const int nibble = cue.value & 15;
        if (part <= 5 && nibble == part) {
            partStarts.push_back(cue.seconds);
            lastSwitch = ++part == 5 ? 1 : lastSwitch;
        }
        if (nibble == 6) {
            stopped = cue.seconds;
            ++stops;
        }
        const int high = cue.value >> 4;
        if (part == 5 && high != lastSwitch && (cue.value & ~15) != 0) {
            grids.push_back(cue.value & ~15);
            lastSwitch = high;
            EXPECT_EQ(cue.row % 4, 0) << "off the beat at order " << cue.order;
        }
    }
    const std::vector<double> planned{2 * patternSeconds, 6 * patternSeconds, 8 * patternSeconds,
                                      12 * patternSeconds, 16 * patternSeconds};
    ASSERT_EQ(partStarts.size(), planned.size());
    for (std::size_t i = 0; i < planned.size(); ++i) {
        EXPECT_NEAR(partStarts[i], planned[i], 0.001) << "part " << i + 2;
    }
    EXPECT_EQ(part, 6);
    EXPECT_EQ(stops, 1);
    EXPECT_GT(stopped, partStarts.back());

    // Part 5 starts with the first grid (16) shown; each switch must show another one.
    ASSERT_GE(grids.size(), 8u);
    EXPECT_NE(grids.front(), 16);
    for (std::size_t i = 0; i < grids.size(); ++i) {
        EXPECT_TRUE(grids[i] == 16 || grids[i] == 32 || grids[i] == 48) << grids[i];
        if (i > 0) {
            EXPECT_NE(grids[i], grids[i - 1]);
        }
    }
}

// Loud enough all through, never at full scale, and silent before the end cue stops it.
TEST(Song, LevelsStayBelowFullScaleAndTheFinalChordDiesBeforeTheEndCue) {
    const Playback song = play(true);
    ASSERT_NEAR(double(song.left.size()) / samplesPerSecond, song.length, 0.01);
    const Level whole = level(song.left, 0, song.length);
    EXPECT_LT(whole.peak, 0.9);
    EXPECT_GT(whole.rmsDb, -24);
    EXPECT_LT(whole.rmsDb, -14);

    std::vector<double> starts{0};
    for (const HeardCue& cue : song.cues) {
        if ((cue.value & 0xF0) == 0 && cue.value != 0) {
            starts.push_back(cue.seconds);
        }
    }
    ASSERT_EQ(starts.size(), 7u);
    for (std::size_t part = 0; part + 2 < starts.size(); ++part) {
        EXPECT_GT(level(song.left, starts[part], starts[part + 1]).rmsDb, -30) << part + 1;
    }
    const double finalChord = 19 * patternSeconds, end = starts.back();
    EXPECT_GT(level(song.left, finalChord, finalChord + 2).rmsDb, -35);
    EXPECT_LT(level(song.left, end - 0.25, end).peak, 0.001);
}

} // namespace
} // namespace vardel::makedata::music
