// Window events and what the display makes of them.
#include "platform/InputMapping.h"
#include "TestPattern.h"

#include <gtest/gtest.h>

namespace vardel {
namespace {

using test::event;

TEST(InputMapping, EachEventMeansOneAction) {
    const struct {
        const char* name;
        SDL_Event event;
        InputAction expected;
    } cases[] = {
        {"Escape down", event(SDL_KEYDOWN, SDLK_ESCAPE), InputAction::Quit},
        {"Escape up", event(SDL_KEYUP, SDLK_ESCAPE), InputAction::None},
        {"Escape with Shift", event(SDL_KEYDOWN, SDLK_ESCAPE, KMOD_LSHIFT), InputAction::Quit},
        {"text n", test::text("n"), InputAction::SkipPart},
        {"text N", test::text("N"), InputAction::None},
        {"text nn", test::text("nn"), InputAction::None},
        {"key n without text", event(SDL_KEYDOWN, SDLK_n), InputAction::None},
        {"Alt+Enter", event(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT), InputAction::ToggleFullScreen},
        {"AltGr+keypad Enter", event(SDL_KEYDOWN, SDLK_KP_ENTER, KMOD_RALT),
         InputAction::ToggleFullScreen},
        {"Alt+Enter repeated", event(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT, 1), InputAction::None},
        {"Enter alone", event(SDL_KEYDOWN, SDLK_RETURN), InputAction::None},
        {"window close", test::windowEvent(SDL_WINDOWEVENT_CLOSE), InputAction::Quit},
        {"focus lost", test::windowEvent(SDL_WINDOWEVENT_FOCUS_LOST), InputAction::None},
        {"quit", event(SDL_QUIT), InputAction::Quit},
        {"targets reset", event(SDL_RENDER_TARGETS_RESET), InputAction::RecreateTexture},
        {"device reset", event(SDL_RENDER_DEVICE_RESET), InputAction::RecreateTexture},
        {"F12", event(SDL_KEYDOWN, SDLK_F12), InputAction::Screenshot},
        {"F12 held", event(SDL_KEYDOWN, SDLK_F12, KMOD_NONE, 1), InputAction::None},
        {"mouse motion", event(SDL_MOUSEMOTION), InputAction::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(actionFor(c.event), c.expected) << c.name;
}

} // namespace
} // namespace vardel
