// vardel-music: the cue listing of one pass through a song, its WAV rendering and its errors.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "app/MusicTool.h"
#include "music/CueModule.h"
#include "music/PcmConversion.h"
#include "music/SoundLibrary.h"
#include "support/TempDir.h"

namespace vardel {
namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = runMusicTool(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(MusicTool, ListsEachCueAsThePlayerReachesItAndTheLength) {
    test::TempDir dir;
    const std::string song = dir.write("cues.xm", test::cueSongBytes()).string();
    const ToolRun result = run({song});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, song + ": 9 sync cues\n"
                                 "order  row      time  value\n"
                                 "    0    0     0.000  0x01\n"
                                 "    0    2     0.240  0x02\n"
                                 "    1    2     0.480  0x03\n"
                                 "    1    4     0.720  0x04\n"
                                 "    1    5     0.840  0x05\n"
                                 "    1    4     0.960  0x04\n"
                                 "    1    5     1.080  0x05\n"
                                 "    2    1     1.440  0x24\n"
                                 "    2    3     1.680  0x00\n"
                                 "length 1.800 s (0:01.800), 15 rows\n");
}

// The file holds, little-endian, exactly what the library renders offline for one pass.
TEST(MusicTool, WritesTheSongOnceThroughAsSixteenBitStereo) {
    test::TempDir dir;
    const auto song = dir.write("cues.xm", test::cueSongBytes());
    const std::string wav = (dir.path() / "cues.wav").string();
    ASSERT_EQ(run({song.string(), "--wav", wav}).status, 0);
    std::ifstream file(wav, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    const std::uint32_t samples = 15 * test::framesPerRow * 2;
    ASSERT_EQ(bytes.size(), 44 + 2 * samples);
    std::uint32_t u32[11]; // the header's 32-bit words; this machine is little-endian too
    std::memcpy(u32, bytes.data(), 44);
    EXPECT_EQ(bytes.substr(0, 4) + bytes.substr(8, 8) + bytes.substr(36, 4), "RIFFWAVEfmt data");
    const std::uint32_t data = 2 * samples; // PCM, stereo, 44.1 kHz, 4 bytes a frame, 16 bits
    EXPECT_EQ(
        (std::vector{u32[1], u32[4], u32[5], u32[6], u32[7], u32[8], u32[10]}),
        (std::vector<std::uint32_t>{36 + data, 16, 0x00020001, 44100, 176400, 0x00100004, data}));

    SoundLibrary library(SoundOutput::Offline);
    ASSERT_NE(library.MIDASplayModule(library.MIDASloadModule(song.string().c_str()), 0), 0u);
    std::vector<std::int16_t> rendered(samples);
    library.renderOffline(std::span(rendered));
    EXPECT_EQ(std::memcmp(rendered.data(), &bytes[44], 2 * samples), 0);
}

TEST(MusicTool, RefusesFilesThatAreNotModulesAndWrongCommandLines) {
    test::TempDir dir;
    const std::string text = dir.write("readme.xm", "not music\n").string();
    const std::string none = (dir.path() / "none.xm").string();
    const std::string song = dir.write("a.xm", test::cueSongBytes()).string();
    const std::string wav = (dir.path() / "no" / "dir.wav").string();
    const struct {
        std::vector<std::string> args;
        int status;
        std::string says;
    } cases[] = {
        {{text}, 1, text + ": not a module"},
        {{none}, 1, none + ": cannot open"},
        {{}, 2, "no module file given"},
        {{text, "--wav"}, 2, "--wav needs a file name"},
        {{"--loud", text}, 2, "unknown option --loud"},
        {{text, text}, 2, "more than one module file"},
        {{song, "--wav", wav}, 1, wav + ": cannot create"},
    };
    for (const auto& c : cases) {
        const ToolRun result = run(c.args);
        EXPECT_EQ(result.status, c.status) << c.says;
        EXPECT_NE(result.err.find("vardel-music: " + c.says), std::string::npos) << result.err;
    }
    EXPECT_EQ(run({"--help"}).status, 0);
}

TEST(PcmConversion, ClipsRoundsAndKeepsTheScaleSymmetric) {
    const std::vector<float> in = {0.0f, 1.0f, -1.0f, 2.5f, -7.0f, 0.5f, -0.5f, 3e-5f, NAN, -3e-5f};
    std::vector<std::int16_t> out(in.size());
    floatToPcm16(in, out);
    EXPECT_EQ(
        out, (std::vector<std::int16_t>{0, 32767, -32767, 32767, -32767, 16384, -16384, 1, 0, -1}));
}

} // namespace
} // namespace vardel
