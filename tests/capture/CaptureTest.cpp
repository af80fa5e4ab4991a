// Capture to a folder, the ffmpeg jobs of a video capture, and the child processes that run it.
#include "capture/Capture.h"
#include "capture/ChildProcess.h"
#include "capture/PngWriterPool.h"
#include "platform/FrameBufferSet.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace vardel {
namespace {

std::string slurp(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

TEST(Capture, AFolderGetsNumberedFramesAtTheScaleAndTheAudioAsWav) {
    test::TempDir dir;
    Capture capture;
    std::string reason;
    ASSERT_TRUE(capture.open({dir.path() / "shots", 30, 2, nullptr}, &reason)) << reason;
    FrameBufferSet buffers;
    const std::vector<float> audio(2 * 1470, 0.5f);
    for (int frame = 0; frame < 3; ++frame) {
        capture.addFrame(buffers[1]);
        capture.addAudio(audio);
    }
    ASSERT_TRUE(capture.finish(&reason)) << reason;
    EXPECT_EQ(capture.width(), 640);
    for (const char* name : {"000000.png", "000002.png"})
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "shots" / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "shots" / "000003.png"));
    // 44-byte header, then 3 frames x 1470 stereo samples of 16 bits.
    const std::string wav = slurp(dir.path() / "shots" / "audio.wav");
    EXPECT_EQ(wav.size(), 44u + 3 * 1470 * 4);
    EXPECT_EQ(capture.audioFrames(), 3 * 1470);
}

// The first pixel of a PNG file as 0xRRGGBB, or 1 when it cannot be read as width x height.
std::uint32_t firstPixel(const std::filesystem::path& path, int width, int height) {
    int w = 0, h = 0, channels = 0;
    unsigned char* data = stbi_load(path.string().c_str(), &w, &h, &channels, 3);
    const std::uint32_t pixel =
        data == nullptr || w != width || h != height
            ? 1u
            : std::uint32_t(data[0]) << 16 | std::uint32_t(data[1]) << 8 | data[2];
    stbi_image_free(data);
    return pixel;
}

// More frames than slots, so that add() waits for workers and slots are reused: every file
// holds its own frame, whatever order the workers finish in.
TEST(PngWriterPool, WritesEveryFrameFromItsOwnCopy) {
    test::TempDir dir;
    std::vector<std::uint32_t> frame(16 * 8);
    {
        PngWriterPool pool(16, 8, 2);
        for (std::uint32_t i = 0; i < 20; ++i) {
            std::fill(frame.begin(), frame.end(), 0x010203u * i);
            ASSERT_TRUE(pool.add(dir.path() / (std::to_string(i) + ".png"), frame.data()));
        }
        std::fill(frame.begin(), frame.end(), 0u); // the pool holds copies
        std::string reason;
        ASSERT_TRUE(pool.finish(true, &reason)) << reason;
    }
    for (std::uint32_t i = 0; i < 20; ++i)
        EXPECT_EQ(firstPixel(dir.path() / (std::to_string(i) + ".png"), 16, 8), 0x010203u * i) << i;
}

// A frame that cannot be written fails the capture with the file's name, though it is
// written after addFrame has returned.
TEST(Capture, AFrameThatCannotBeWrittenFailsTheCaptureAndNamesIt) {
    test::TempDir dir;
    Capture capture;
    std::string reason;
    ASSERT_TRUE(capture.open({dir.path() / "shots", 60, 1, nullptr}, &reason)) << reason;
    std::filesystem::remove_all(dir.path() / "shots");
    FrameBufferSet buffers;
    for (int frame = 0; frame < 6; ++frame)
        capture.addFrame(buffers[1]);
    EXPECT_FALSE(capture.finish(&reason));
    EXPECT_NE(reason.find("shots/00000"), std::string::npos) << reason;
}

TEST(Capture, RefusesWhatItCannotMakeAndNamesIt) {
    test::TempDir dir;
    std::string reason;
    {
        Capture capture; // a video without ffmpeg on the search path
        EXPECT_FALSE(capture.open({dir.path() / "demo.mp4", 60, 0, "/nonexistent:"}, &reason));
        EXPECT_NE(reason.find("ffmpeg was not found on PATH"), std::string::npos) << reason;
    }
    {
        Capture capture; // a folder where a file is
        const auto file = dir.write("taken", "x");
        EXPECT_FALSE(capture.open({file, 60, 0, nullptr}, &reason));
        EXPECT_NE(reason.find(file.string()), std::string::npos) << reason;
    }
}

TEST(VideoArguments, ChooseCodecsByExtensionAndFeedRawFramesAtTheRate) {
    EXPECT_EQ(videoFormatOf("a/b.MP4"), VideoFormat::Mp4);
    EXPECT_EQ(videoFormatOf("b.mkv"), VideoFormat::Mkv);
    EXPECT_EQ(videoFormatOf("b.webm"), VideoFormat::Webm);
    EXPECT_EQ(videoFormatOf("frames"), VideoFormat::None);
    EXPECT_EQ(videoFormatOf("frames.mp4/"), VideoFormat::None);

    const struct {
        VideoFormat format;
        const char* video;
        const char* audio;
        const char* muxer;
    } cases[] = {
        {VideoFormat::Mp4, "libx264", "aac", "mp4"},
        {VideoFormat::Mkv, "libx264", "libopus", "matroska"},
        {VideoFormat::Webm, "libvpx-vp9", "libopus", "webm"},
    };
    for (const auto& c : cases) {
        VideoJob job{"out", c.format, 640, 480, 50, "pictures", "sound.wav"};
        const auto encode = encodeArguments(job);
        const auto mux = muxArguments(job);
        auto after = [](const std::vector<std::string>& args, const std::string& option) {
            const auto at = std::find(args.begin(), args.end(), option);
            return at != args.end() && at + 1 != args.end() ? *(at + 1) : std::string();
        };
        EXPECT_EQ(after(encode, "-video_size"), "640x480");
        EXPECT_EQ(after(encode, "-framerate"), "50");
        EXPECT_EQ(after(encode, "-pixel_format"), "bgr0");
        EXPECT_EQ(after(encode, "-c:v"), c.video);
        EXPECT_EQ(encode.back(), "pictures");
        EXPECT_EQ(after(mux, "-c:v"), "copy");
        EXPECT_EQ(after(mux, "-c:a"), c.audio);
        EXPECT_EQ(after(mux, "-f"), c.muxer); // the output's name ends in .partial
        EXPECT_EQ(mux.back(), "out");
    }
}

TEST(ChildProcess, FeedsTheChildAndReportsHowItEnded) {
    test::TempDir dir;
    const auto sh = findOnPath("sh", "/nonexistent:/bin:/usr/bin");
    ASSERT_FALSE(sh.empty());
    EXPECT_TRUE(findOnPath("no-such-program-here", "/bin:/usr/bin").empty());
    EXPECT_TRUE(findOnPath("sh", "").empty());

    std::string reason;
    const auto copy = dir.path() / "copy";
    ChildProcess cat;
    ASSERT_TRUE(cat.start(sh, {"-c", "cat > " + copy.string()}, true, &reason)) << reason;
    const std::string text(100000, 'v'); // more than a pipe holds at once
    EXPECT_TRUE(cat.write(text.data(), text.size()));
    EXPECT_TRUE(cat.finish(&reason)) << reason;
    EXPECT_EQ(slurp(copy), text);

    EXPECT_FALSE(runProgram(sh, {"-c", "exit 3"}, &reason));
    EXPECT_EQ(reason, "sh failed with exit status 3");

    // A child that stops reading: the write fails instead of ending this program.
    ChildProcess quitter;
    ASSERT_TRUE(quitter.start(sh, {"-c", "exit 0"}, true, &reason));
    bool wrote = true;
    for (int i = 0; i < 100 && wrote; ++i)
        wrote = quitter.write(text.data(), text.size());
    EXPECT_FALSE(wrote);
    EXPECT_TRUE(quitter.finish(&reason));
}

} // namespace
} // namespace vardel
