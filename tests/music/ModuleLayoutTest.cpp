// XM files as other trackers lay them out: refused only when the pattern data (which carries
// the sync cues) is cut short; short instruments and samples play, with one warning.

#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.hpp>

#include <cstdio>
#include <map>
#include <sstream>

#include "app/MusicTool.h"
#include "music/OddModules.h"
#include "music/XmLayout.h"
#include "support/TempDir.h"

namespace vardel {
namespace {

std::vector<float> render(const std::vector<std::uint8_t>& bytes) {
    std::ostringstream log;
    openmpt::module player(bytes, log);
    std::vector<float> out(2 * 2 * 44100);
    player.read_interleaved_stereo(44100, out.size() / 2, out.data());
    return out;
}

// vardel-music on each shape: the refusal or the one warning line, the same cues as the
// complete song, and the song's length as libopenmpt measures it.
TEST(ModuleLayout, OnlyCutPatternDataIsRefusedAndShortSamplesWarnOnce) {
    const struct {
        const char* name;
        int status;
        std::string err; // after "vardel-music: " and the file's path
        bool soundsComplete;
    } cases[] = {
        {"complete.xm", 0, "", true},
        {"last-sample-cut.xm", 0,
         "warning: FILE: cut short: instrument 3's sample 1 has 2000 of its 3000 bytes; plays "
         "as far as the file goes\n",
         false},
        {"short-headers.xm", 0, "", true},
        {"empty-last-cut.xm", 0,
         "warning: FILE: cut short: instrument 4's header has 24 of its 263 bytes; plays as far "
         "as the file goes\n",
         true},
        {"odd-sizes.xm", 0, "", true},
        {"patterns-cut.xm", 1, "FILE: truncated: the data of pattern 2 needs", false},
    };
    const std::vector<test::OddModule> modules = test::oddModules();
    ASSERT_EQ(modules.size(), std::size(cases));
    test::TempDir dir;
    std::string completeCues;
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const auto& c = cases[i];
        ASSERT_EQ(modules[i].name, c.name);
        const std::string path = dir.write(c.name, modules[i].bytes).string();
        std::ostringstream out, err;
        const std::vector<std::string> args = {path};
        const int status = runMusicTool(args, out, err);
        EXPECT_EQ(status, c.status) << c.name << ": " << err.str();
        std::string said = c.err;
        if (!said.empty()) {
            said = "vardel-music: " + said.replace(said.find("FILE"), 4, path);
        }
        EXPECT_EQ(err.str().substr(0, c.status == 0 ? std::string::npos : said.size()), said)
            << c.name;
        if (status != 0 || c.status != 0) {
            continue;
        }
        // The cue listing without its first line (the file name) and the length line.
        const std::string listing = out.str();
        const std::size_t lengthAt = listing.find("length ");
        const std::size_t cuesAt = listing.find('\n');
        const std::string cues = listing.substr(cuesAt, lengthAt - cuesAt);
        completeCues = completeCues.empty() ? cues : completeCues;
        EXPECT_EQ(cues, completeCues) << c.name;
        double seconds = 0;
        ASSERT_EQ(std::sscanf(listing.c_str() + lengthAt, "length %lf", &seconds), 1) << listing;
        std::ostringstream log;
        EXPECT_NEAR(seconds, openmpt::module(modules[i].bytes, log).get_duration_seconds(), 0.1)
            << c.name;
        if (c.soundsComplete) {
            EXPECT_TRUE(render(modules[i].bytes) == render(modules[0].bytes)) << c.name;
        }
    }
}

// Cut anywhere, the file is refused while the cut is in the header or the patterns, and only
// warned about from the first instrument on; the texts say which part is short.
TEST(ModuleLayout, EveryCutIsFoundAndOnlyThoseInThePatternsRefuse) {
    const std::vector<std::uint8_t> song = test::oddModules()[0].bytes;
    const std::size_t instruments = test::patternsEnd(test::trackerSong());
    std::map<std::size_t, std::string> texts;
    for (std::size_t size = 0; size <= song.size(); ++size) {
        const XmTruncation found = findXmTruncation(std::span(song).first(size));
        const bool xm = size >= 60;
        ASSERT_EQ(found.patterns.empty(), !xm || size >= instruments) << size;
        ASSERT_EQ(found.instruments.empty(), !xm || size < instruments || size == song.size())
            << size;
        texts[size] = found.patterns + found.instruments;
    }
    const std::size_t saw = song.size() - 3000 - 40 - 263; // the third instrument's header
    const std::pair<std::size_t, std::string> cases[] = {
        {200, "the header needs 336 bytes, the file has 200"},
        {340, "the header of pattern 0 needs 345 bytes, the file has 340"},
        {instruments - 1, "the data of pattern 2 needs " + std::to_string(instruments) +
                              " bytes, the file has " + std::to_string(instruments - 1)},
        {instruments, "instruments 1 to 3 are missing"},
        {saw - 263, "instruments 2 to 3 are missing"},
        {saw - 1, "instrument 2's header has 262 of its 263 bytes"},
        {saw, "instrument 3 is missing"},
        {saw + 100, "instrument 3's header has 100 of its 263 bytes"},
        {saw + 263 + 39, "instrument 3's sample 1 header has 39 of its 40 bytes"},
        {song.size() - 1, "instrument 3's sample 1 has 2999 of its 3000 bytes"},
    };
    for (const auto& [size, text] : cases) {
        EXPECT_EQ(texts[size], text) << size;
    }
}

} // namespace
} // namespace vardel
