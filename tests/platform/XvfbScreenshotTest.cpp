// A real window on a virtual X server of the test's own: the presented frame is checked in a
// screenshot of the screen. Set VARDEL_SCREENSHOT_DIR to keep the screenshots as PNG files.
#include "TestPattern.h"
#include "platform/SdlDisplay.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <X11/Xlib.h> // last: its macros (None, Status, ...) would clash with the headers above
#include <X11/Xutil.h>

extern char** environ;

namespace vardel {
namespace {

// The screen is wider than 4:3, so the picture is scaled by 2 to 640 x 480 and centred
// between black bars of 80 columns.
constexpr int screenWidth = 800, screenHeight = 480, barWidth = 80;

// An X server on the first free display number, stopped with the object. Xvfb picks the
// number itself and writes it to descriptor 3 once it accepts connections. -noreset: by
// default the server resets when its last client leaves, and a window opened during the
// reset finds no server.
class XvfbServer {
public:
    XvfbServer() {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        std::string words[] = {"Xvfb",       "-displayfd", "3",   "-screen", "0",
                               "800x480x24", "-nolisten",  "tcp", "-noreset"};
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]); // may be descriptor 3 itself
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&pid, "Xvfb", &actions, nullptr, argv.data(), environ) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        pollfd ready{fds[0], POLLIN, 0};
        char c = 0;
        while (pid > 0 && ::poll(&ready, 1, 20000) == 1 && ::read(fds[0], &c, 1) == 1 && c != '\n')
            name += c;
        name = name.empty() ? "" : ":" + name;
        ::close(fds[0]);
    }
    ~XvfbServer() {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
    }
    std::string name; // ":N", empty when the server did not start

private:
    pid_t pid = -1;
};

// The screen's pixels as 0x00RRGGBB (a 24-bit true-colour screen), empty on failure.
std::vector<std::uint32_t> screenshot(const std::string& display) {
    std::vector<std::uint32_t> pixels;
    ::Display* x = XOpenDisplay(display.c_str());
    XImage* image = x == nullptr ? nullptr
                                 : XGetImage(x, DefaultRootWindow(x), 0, 0, screenWidth,
                                             screenHeight, AllPlanes, ZPixmap);
    for (int i = 0; image != nullptr && i < screenWidth * screenHeight; ++i)
        pixels.push_back(std::uint32_t(XGetPixel(image, i % screenWidth, i / screenWidth)) &
                         0xFFFFFFu);
    if (image != nullptr)
        XDestroyImage(image);
    if (x != nullptr)
        XCloseDisplay(x);
    return pixels;
}

// Empty when the screenshot shows the frame as expected, else the first difference.
std::string differences(const std::vector<std::uint32_t>& shot, int depth) {
    if (shot.size() != std::size_t(screenWidth * screenHeight))
        return "no screenshot";
    for (int i = 0; i < screenWidth * screenHeight; ++i) {
        const int x = i % screenWidth, y = i / screenWidth, frameX = (x - barWidth) / 2;
        const bool inBar = x < barWidth || x >= screenWidth - barWidth;
        const std::uint32_t expected = inBar ? 0 : test::patternPixel(frameX, y / 2);
        if (inBar ? shot[i] != 0 : !test::shownAs(shot[i], expected, depth, frameX))
            return "screen pixel " + std::to_string(x) + "," + std::to_string(y) + " is " +
                   std::to_string(shot[i]) + ", expected " + std::to_string(expected);
    }
    return {};
}

TEST(XvfbWindow, ScreenshotShowsTheFrameScaledUpWithItsAspectKeptAtEachDepth) {
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "Xvfb is not installed (scripts/install-deps.sh installs package xvfb)";
    XvfbServer server;
    ASSERT_NE(server.name, "") << "Xvfb did not report a display number within 20 seconds";
    setenv("DISPLAY", server.name.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
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
        std::vector<std::uint32_t> shot;
        std::string mismatch = "no screenshot taken";
        for (int attempt = 0; attempt < 20 && !mismatch.empty(); ++attempt) {
            display->present(frame);
            display->pollInput();
            SDL_Delay(50);
            shot = screenshot(server.name);
            mismatch = differences(shot, depth);
        }
        EXPECT_EQ(mismatch, "");
        if (const char* keep = std::getenv("VARDEL_SCREENSHOT_DIR"); keep && !shot.empty()) {
            std::vector<std::uint8_t> rgb;
            for (const std::uint32_t p : shot)
                rgb.insert(rgb.end(),
                           {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)});
            const std::string png =
                std::string(keep) + "/display-" + std::to_string(depth) + ".png";
            EXPECT_NE(stbi_write_png(png.c_str(), screenWidth, screenHeight, 3, rgb.data(),
                                     3 * screenWidth),
                      0)
                << png;
        }
    }
    unsetenv("DISPLAY");
}

} // namespace
} // namespace vardel
