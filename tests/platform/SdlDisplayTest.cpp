// The SDL display on SDL's dummy video driver (no screen needed): set-up, presentation at
// each depth read back from the renderer, the keys, full screen and failure reports.
#include "platform/SdlDisplay.h"
#include "TestPattern.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace vardel {
namespace {

class DummyVideo : public testing::Test {
protected:
    void SetUp() override { setenv("SDL_VIDEODRIVER", "dummy", 1); }

    std::unique_ptr<SdlDisplay> open(int depth, bool window = true) {
        DisplayOptions options;
        options.colorDepth = depth;
        options.window = window;
        options.windowScale = 1;
        options.showError = [this](SDL_Window*, const std::string& text) {
            shownErrors.push_back(text);
        };
        return SdlDisplay::open(options);
    }

    std::vector<std::string> shownErrors;
};

void push(SDL_Event event) {
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

// A renderer that lost its textures (pushed before the 24-bit frame) still shows the frame.
TEST_F(DummyVideo, PresentsTheFrameAtEachDepthAndPicks32WhenNoneIsAsked) {
    const struct { int requested, expected; } cases[] = {{32, 32}, {24, 24}, {16, 16}, {0, 32}};
    for (const auto& c : cases) {
        auto display = open(c.requested);
        ASSERT_NE(display, nullptr);
        EXPECT_EQ(display->colorDepth(), c.expected);
        EXPECT_STREQ(SDL_GetWindowTitle(display->window()), "Orvex Vardel");
        if (c.requested == 24) {
            push(test::event(SDL_RENDER_DEVICE_RESET));
            display->pollInput();
        }
        FrameBuffer& frame = display->frameBuffer(2);
        test::drawPattern(frame);
        display->present(frame);
        std::vector<std::uint32_t> shown(320 * 240);
        ASSERT_EQ(SDL_RenderReadPixels(display->renderer(), nullptr, SDL_PIXELFORMAT_XRGB8888,
                                       shown.data(), 320 * 4),
                  0)
            << SDL_GetError();
        for (int i = 0; i < 320 * 240; ++i) {
            const std::uint32_t pixel = shown[i] & 0x00FFFFFF,
                                expected = test::patternPixel(i % 320, i / 320);
            ASSERT_TRUE(test::shownAs(pixel, expected, c.expected, i % 320))
                << "pixel " << i % 320 << "," << i / 320 << " shows " << std::hex << pixel
                << " for " << expected << " at " << std::dec << c.expected;
        }
    }
    EXPECT_TRUE(shownErrors.empty());
}

// Full screen by default with the pointer hidden; Alt+Enter toggles; only lowercase n skips.
TEST_F(DummyVideo, KeysAndWindowEventsReachTheCaller) {
    auto display = open(0, false);
    ASSERT_NE(display, nullptr);
    EXPECT_TRUE(display->fullScreen());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    display->pollInput(); // whatever the window's creation queued
    for (bool fullScreen : {false, true}) {
        push(test::event(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT));
        display->pollInput();
        EXPECT_EQ(display->fullScreen(), fullScreen);
    }
    for (const char* typed : {"n", "N", "n"})
        push(test::text(typed));
    DisplayInput input = display->pollInput();
    EXPECT_EQ(input.skips, 2);
    EXPECT_FALSE(input.quit);
    for (const SDL_Event& quit :
         {test::event(SDL_KEYDOWN, SDLK_ESCAPE), test::event(SDL_QUIT),
          test::windowEvent(SDL_WINDOWEVENT_CLOSE, SDL_GetWindowID(display->window()))}) {
        push(quit);
        EXPECT_TRUE(display->pollInput().quit);
    }
    EXPECT_FALSE(display->pollInput().quit);
}

TEST_F(DummyVideo, AFailedSetUpSaysWhichCallFailedAndReturnsNull) {
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    auto display = open(32);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(display, nullptr);
    EXPECT_EQ(printed.rfind("Direct Draw Init Failed (ffffffff): SDL_InitSubSystem: ", 0), 0u)
        << printed;
    EXPECT_EQ(printed.back(), '\n');
    EXPECT_TRUE(shownErrors.empty()) << "no window, so no message box";
}

// Sets an environment variable (null: unsets it) for the scope, then puts it back as it was.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name(name) {
        if (const char* was = std::getenv(name)) {
            old = was;
        }
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old ? setenv(name, old->c_str(), 1) : unsetenv(name); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name;
    std::optional<std::string> old;
};

// Without a display SDL falls back to its offscreen driver, which shows nothing: that is no
// display unless SDL_VIDEODRIVER asks for it.
TEST(NoDisplay, SdlsFallbackDriverIsRefusedUnlessAskedFor) {
    const ScopedEnv noX("DISPLAY", nullptr), noWayland("WAYLAND_DISPLAY", nullptr);
    for (const char* asked : {static_cast<const char*>(nullptr), "x11,OffScreen"}) {
        SCOPED_TRACE(asked != nullptr ? asked : "SDL_VIDEODRIVER unset");
        const ScopedEnv driver("SDL_VIDEODRIVER", asked);
        DisplayOptions options;
        options.window = true;
        testing::internal::CaptureStderr();
        const auto display = SdlDisplay::open(options);
        const std::string printed = testing::internal::GetCapturedStderr();
        const char* chosen = SDL_GetCurrentVideoDriver();
        if (display != nullptr && chosen != nullptr && std::string(chosen) != "offscreen") {
            GTEST_SKIP() << "SDL reaches a display here without DISPLAY: " << chosen;
        }
        if (asked != nullptr) {
            EXPECT_TRUE(display != nullptr) << printed;
            continue;
        }
        EXPECT_TRUE(display == nullptr);
        EXPECT_NE(printed.find("vardel: no display to show the demo on (SDL found only its "
                               "offscreen video driver); vardel --headless plays it without "
                               "one\n"),
                  std::string::npos)
            << printed;
    }
}

} // namespace
} // namespace vardel
