// Window events and what the display makes of them.
#include "shell/InputMapping.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vardel {
namespace {

SDL_Event ofType(Uint32 type) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    return event;
}

SDL_Event key(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
    SDL_Event event = ofType(type);
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    event.key.repeat = repeat;
    return event;
}

SDL_Event text(const char* typed) {
    SDL_Event event = ofType(SDL_TEXTINPUT);
    std::strncpy(event.text.text, typed, sizeof event.text.text - 1);
    return event;
}

SDL_Event windowEvent(Uint8 what) {
    SDL_Event event = ofType(SDL_WINDOWEVENT);
    event.window.event = what;
    return event;
}

TEST(InputMapping, EachEventMeansOneAction) {
    const struct {
        const char* name;
        SDL_Event event;
        InputAction expected;
    } cases[] = {
        {"Escape down", key(SDL_KEYDOWN, SDLK_ESCAPE), InputAction::Quit},
        {"Escape up", key(SDL_KEYUP, SDLK_ESCAPE), InputAction::None},
        {"Escape with Shift", key(SDL_KEYDOWN, SDLK_ESCAPE, KMOD_LSHIFT), InputAction::Quit},
        {"text n", text("n"), InputAction::SkipPart},
        {"text N", text("N"), InputAction::None},
        {"text nn", text("nn"), InputAction::None},
        {"key n without text", key(SDL_KEYDOWN, SDLK_n), InputAction::None},
        {"Alt+Enter", key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT), InputAction::ToggleFullScreen},
        {"AltGr+keypad Enter", key(SDL_KEYDOWN, SDLK_KP_ENTER, KMOD_RALT),
         InputAction::ToggleFullScreen},
        {"Alt+Enter repeated", key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT, 1), InputAction::None},
        {"Enter alone", key(SDL_KEYDOWN, SDLK_RETURN), InputAction::None},
        {"window close", windowEvent(SDL_WINDOWEVENT_CLOSE), InputAction::Quit},
        {"focus lost", windowEvent(SDL_WINDOWEVENT_FOCUS_LOST), InputAction::None},
        {"quit", ofType(SDL_QUIT), InputAction::Quit},
        {"targets reset", ofType(SDL_RENDER_TARGETS_RESET), InputAction::RecreateTexture},
        {"device reset", ofType(SDL_RENDER_DEVICE_RESET), InputAction::RecreateTexture},
        {"mouse motion", ofType(SDL_MOUSEMOTION), InputAction::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(actionFor(c.event), c.expected) << c.name;
    }
}

} // namespace
} // namespace vardel
