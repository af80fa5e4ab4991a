// A real window on a virtual X server of the test's own: the presented frame is checked in a
// screenshot taken by xwd. Set VARDEL_SCREENSHOT_DIR to keep the screenshots as PNG files.
#include "TestPattern.h"
#include "XvfbServer.h"
#include "XwdImage.h"
#include "shell/SdlDisplay.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace vardel {
namespace {

// The screen is wider than 4:3, so the picture is scaled by 2 to 640 x 480 and centred
// between black bars of 80 columns.
constexpr int screenWidth = 800;
constexpr int screenHeight = 480;
constexpr int barWidth = 80;

// Empty when the screenshot shows the frame as expected, else the first difference.
std::string differences(const test::XwdImage& shot, int depth) {
    std::ostringstream out;
    if (shot.width != screenWidth || shot.height != screenHeight) {
        out << "window is " << shot.width << "x" << shot.height;
        return out.str();
    }
    for (int y = 0; y < screenHeight; ++y) {
        for (int x = 0; x < screenWidth; ++x) {
            const std::uint32_t shown = shot.at(x, y);
            const bool inBar = x < barWidth || x >= screenWidth - barWidth;
            const int frameX = (x - barWidth) / 2;
            const std::uint32_t expected = inBar ? 0 : test::patternPixel(frameX, y / 2);
            if (inBar ? shown != 0 : !test::shownAs(shown, expected, depth, frameX)) {
                out << std::hex << "screen pixel " << std::dec << x << "," << y << " is "
                    << std::hex << shown << ", expected " << expected;
                return out.str();
            }
        }
    }
    return {};
}

void savePng(const test::XwdImage& shot, int depth) {
    const char* folder = std::getenv("VARDEL_SCREENSHOT_DIR");
    if (folder == nullptr) {
        return;
    }
    std::vector<std::uint8_t> rgb;
    for (const std::uint32_t p : shot.pixels) {
        rgb.insert(rgb.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)});
    }
    const std::string path = std::string(folder) + "/display-" + std::to_string(depth) + ".png";
    EXPECT_NE(stbi_write_png(path.c_str(), shot.width, shot.height, 3, rgb.data(), shot.width * 3),
              0)
        << path;
}

TEST(XvfbWindow, ScreenshotShowsTheFrameScaledUpWithItsAspectKeptAtEachDepth) {
    const auto xvfb = test::findProgram("Xvfb");
    if (!xvfb) {
        GTEST_SKIP() << "Xvfb is not installed (scripts/install-deps.sh installs package xvfb)";
    }
    const auto xwd = test::findProgram("xwd");
    ASSERT_TRUE(xwd) << "xwd is not installed (package x11-apps)";
    test::XvfbServer server(*xvfb, screenWidth, screenHeight);
    ASSERT_FALSE(server.display().empty()) << server.error();
    setenv("DISPLAY", server.display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    test::TempDir folder;
    const std::string dump = (folder.path() / "shot.xwd").string();

    for (const int depth : {32, 24, 16}) {
        SCOPED_TRACE(testing::Message() << depth << " bits");
        DisplayOptions options; // full screen
        options.colorDepth = depth;
        std::string shownError;
        options.showError = [&](SDL_Window*, const std::string& text) { shownError = text; };
        auto display = SdlDisplay::open(options);
        ASSERT_NE(display, nullptr) << shownError;
        FrameBuffer& frame = display->frameBuffer(3);
        test::drawPattern(frame);
        // The X server draws asynchronously: present again until the screenshot shows it.
        test::XwdImage shot;
        std::string mismatch = "no screenshot taken";
        for (int attempt = 0; attempt < 20 && !mismatch.empty(); ++attempt) {
            display->present(frame);
            display->pollInput();
            SDL_Delay(50);
            // Naming the window by its title also checks the title the X server holds.
            const std::string command = xwd->string() + " -display " + server.display() +
                                        " -name 'Orvex Vardel' -silent -out '" + dump + "'";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            std::string error;
            ASSERT_TRUE(test::readXwd(dump, shot, &error)) << error;
            mismatch = differences(shot, depth);
        }
        EXPECT_EQ(mismatch, "");
        savePng(shot, depth);
    }
    unsetenv("DISPLAY");
}

} // namespace
} // namespace vardel
