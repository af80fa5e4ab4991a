// F12 screenshots: names that never overwrite, the picture's size, and the key in the window.
#include "platform/Screenshot.h"
#include "TestPattern.h"
#include "platform/SdlDisplay.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace vardel {
namespace {

// Width and height from a PNG's header chunk; 0 x 0 when it is not a PNG.
std::pair<int, int> pngSize(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char head[24] = {};
    file.read(reinterpret_cast<char*>(head), sizeof head);
    if (!file || head[1] != 'P' || head[12] != 'I') {
        return {0, 0};
    }
    auto word = [&](int at) { return head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3]; };
    return {word(16), word(20)};
}

TEST(Screenshot, ShotsOfOneSecondGetNumberedNamesAndFailuresNameTheFile) {
    test::TempDir dir;
    FrameBufferSet buffers;
    std::tm when{};
    when.tm_year = 126, when.tm_mon = 11, when.tm_mday = 6;
    when.tm_hour = 23, when.tm_min = 4, when.tm_sec = 5;
    std::string reason;
    const auto first = saveScreenshot(buffers[1], dir.path(), when, &reason);
    const auto second = saveScreenshot(buffers[1], dir.path(), when, &reason);
    EXPECT_EQ(first.filename(), "vardel-20261206-230405.png") << reason;
    EXPECT_EQ(second.filename(), "vardel-20261206-230405-2.png") << reason;
    EXPECT_EQ(pngSize(second), std::make_pair(320, 240));

    EXPECT_TRUE(saveScreenshot(buffers[1], dir.path() / "missing", when, &reason).empty());
    EXPECT_NE(reason.find("missing/vardel-20261206-230405.png"), std::string::npos) << reason;
}

// F12 in the window saves the frame last presented into the current folder and says where.
TEST(Screenshot, F12InTheWindowSavesTheShownFrame) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    test::TempDir dir;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    DisplayOptions options;
    options.window = true;
    options.windowScale = 1;
    auto display = SdlDisplay::open(options);
    ASSERT_NE(display, nullptr);
    test::drawPattern(display->frameBuffer(1));
    display->present(display->frameBuffer(1));
    SDL_Event key = test::event(SDL_KEYDOWN, SDLK_F12);
    ASSERT_EQ(SDL_PushEvent(&key), 1);
    testing::internal::CaptureStderr();
    display->pollInput();
    const std::string said = testing::internal::GetCapturedStderr();
    std::filesystem::current_path(before);

    int shots = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++shots;
        EXPECT_EQ(pngSize(entry.path()), std::make_pair(320, 240));
        EXPECT_NE(said.find("screenshot saved to " + entry.path().string()), std::string::npos)
            << said;
    }
    EXPECT_EQ(shots, 1);
}

} // namespace
} // namespace vardel
