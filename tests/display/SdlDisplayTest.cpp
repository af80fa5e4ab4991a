// The SDL display on SDL's dummy video driver (no screen needed): set-up, presentation at
// each depth read back from the renderer, the keys, full screen and failure reports.
#include "shell/SdlDisplay.h"
#include "TestPattern.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
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

// The renderer's picture, as 0x00RRGGBB pixels of the 320 x 240 window.
std::vector<std::uint32_t> readBack(SdlDisplay& display) {
    std::vector<std::uint32_t> shown(320 * 240);
    EXPECT_EQ(SDL_RenderReadPixels(display.renderer(), nullptr, SDL_PIXELFORMAT_XRGB8888,
                                   shown.data(), 320 * 4),
              0)
        << SDL_GetError();
    for (auto& pixel : shown) {
        pixel &= 0x00FFFFFF;
    }
    return shown;
}

void expectPattern(SdlDisplay& display) {
    const std::vector<std::uint32_t> shown = readBack(display);
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            const std::uint32_t pixel = shown[std::size_t(y) * 320 + x];
            ASSERT_TRUE(test::shownAs(pixel, test::patternPixel(x, y), display.colorDepth(), x))
                << "pixel " << x << "," << y << " shows " << std::hex << pixel << " for "
                << test::patternPixel(x, y) << " at " << std::dec << display.colorDepth();
        }
    }
}

TEST_F(DummyVideo, PresentsTheFrameAtEachDepthAndPicks32WhenNoneIsAsked) {
    const struct {
        int requested;
        int expected;
    } cases[] = {{32, 32}, {24, 24}, {16, 16}, {0, 32}};
    for (const auto& c : cases) {
        auto display = open(c.requested);
        ASSERT_NE(display, nullptr);
        EXPECT_EQ(display->colorDepth(), c.expected);
        EXPECT_STREQ(SDL_GetWindowTitle(display->window()), "Orvex Vardel");
        FrameBuffer& frame = display->frameBuffer(2);
        test::drawPattern(frame);
        display->present(frame);
        expectPattern(*display);
    }
    EXPECT_TRUE(shownErrors.empty());
}

TEST_F(DummyVideo, KeysReachTheCallerAndUppercaseNDoesNothing) {
    auto display = open(32);
    ASSERT_NE(display, nullptr);
    auto push = [](Uint32 type, auto fill) {
        SDL_Event event;
        std::memset(&event, 0, sizeof event);
        event.type = type;
        fill(event);
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    };
    auto typed = [&](const char* text) {
        push(SDL_TEXTINPUT, [text](SDL_Event& e) { std::strcpy(e.text.text, text); });
    };
    display->pollInput(); // whatever the window's creation queued

    typed("n");
    typed("N");
    typed("n");
    DisplayInput input = display->pollInput();
    EXPECT_EQ(input.skips, 2);
    EXPECT_FALSE(input.quit);

    push(SDL_KEYDOWN, [](SDL_Event& e) { e.key.keysym.sym = SDLK_ESCAPE; });
    EXPECT_TRUE(display->pollInput().quit);
    push(SDL_WINDOWEVENT, [&](SDL_Event& e) {
        e.window.event = SDL_WINDOWEVENT_CLOSE;
        e.window.windowID = SDL_GetWindowID(display->window());
    });
    EXPECT_TRUE(display->pollInput().quit);
    push(SDL_QUIT, [](SDL_Event&) {});
    EXPECT_TRUE(display->pollInput().quit);
    EXPECT_FALSE(display->pollInput().quit);
}

TEST_F(DummyVideo, FullScreenByDefaultWithTheCursorHiddenAndAltEnterToggling) {
    auto display = open(0, false);
    ASSERT_NE(display, nullptr);
    EXPECT_TRUE(display->fullScreen());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    auto altEnter = [] {
        SDL_Event event;
        std::memset(&event, 0, sizeof event);
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = SDLK_RETURN;
        event.key.keysym.mod = KMOD_LALT;
        SDL_PushEvent(&event);
    };
    altEnter();
    display->pollInput();
    EXPECT_FALSE(display->fullScreen());
    altEnter();
    display->pollInput();
    EXPECT_TRUE(display->fullScreen());
}

TEST_F(DummyVideo, TheFrameStillArrivesAfterTheRendererLosesItsTextures) {
    auto display = open(24);
    ASSERT_NE(display, nullptr);
    SDL_Event reset;
    std::memset(&reset, 0, sizeof reset);
    reset.type = SDL_RENDER_DEVICE_RESET;
    SDL_PushEvent(&reset);
    display->pollInput();
    test::drawPattern(display->frameBuffer(1));
    display->present(display->frameBuffer(1));
    expectPattern(*display);
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

} // namespace
} // namespace vardel
