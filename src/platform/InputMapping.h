#pragma once

#include <SDL.h>

namespace vardel {

// What one window event means to the display.
enum class InputAction {
    None,
    Quit,             // Escape key down, window close, application quit
    SkipPart,         // text input of exactly lowercase "n"
    ToggleFullScreen, // Alt+Enter
    RecreateTexture,  // the renderer lost its textures or render targets
    Screenshot,       // F12: the frame on screen saved as a PNG
};

InputAction actionFor(const SDL_Event& event);

} // namespace vardel
