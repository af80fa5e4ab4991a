#include "platform/InputMapping.h"

#include <cstring>

namespace vardel {

InputAction actionFor(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        return InputAction::Quit;
    case SDL_WINDOWEVENT:
        return event.window.event == SDL_WINDOWEVENT_CLOSE ? InputAction::Quit : InputAction::None;
    case SDL_KEYDOWN: {
        const SDL_Keysym& key = event.key.keysym;
        if (key.sym == SDLK_ESCAPE) {
            return InputAction::Quit;
        }
        if (key.sym == SDLK_F12 && event.key.repeat == 0) {
            return InputAction::Screenshot;
        }
        const bool enter = key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER;
        if (enter && (key.mod & KMOD_ALT) != 0 && event.key.repeat == 0) {
            return InputAction::ToggleFullScreen;
        }
        return InputAction::None;
    }
    case SDL_TEXTINPUT:
        // Typed text, so that an uppercase N (Shift or Caps Lock) does not count.
        return std::strcmp(event.text.text, "n") == 0 ? InputAction::SkipPart : InputAction::None;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        return InputAction::RecreateTexture;
    default:
        return InputAction::None;
    }
}

} // namespace vardel
