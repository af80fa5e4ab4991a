#pragma once

// The test picture and SDL events for the display tests.

#include "effects/FrameBuffer.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>

namespace vardel::test {

// A 320 x 240 picture with colour bars above and, below, sawtooth ramps over a one-pixel
// checkerboard, so that a pixel shifted by one in either direction shows, at every depth.
inline std::uint32_t patternPixel(int x, int y) {
    static constexpr std::uint32_t bars[8] = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00,
                                              0xFF00FF, 0xFF0000, 0x0000FF, 0x000000};
    if (y < 120)
        return bars[x / 40];
    const std::uint32_t blue = ((x ^ y) & 1) != 0 ? 0xF0u : 0x10u;
    return (std::uint32_t(x * 8) & 0xFFu) << 16 | (std::uint32_t(y * 8) & 0xFFu) << 8 | blue;
}

inline void drawPattern(FrameBuffer& frame) {
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            frame.pixels[y * (frame.width + frame.rowPadding) + x] = patternPixel(x, y);
}

// Whether a pixel read back from the screen (0x00RRGGBB) shows the frame pixel at column x as
// the display presents it at this depth: exact at 32 bits; exact at 24 bits except the black
// last column; at 16 bits the top 5, 6 and 5 bits of red, green and blue.
inline bool shownAs(std::uint32_t shown, std::uint32_t framePixel, int colorDepth, int x) {
    if (colorDepth == 16)
        return ((shown ^ framePixel) & 0xF8FCF8u) == 0;
    return shown == (colorDepth == 24 && x == 319 ? 0u : framePixel);
}

// An event of the type with the key fields given and everything else zero.
inline SDL_Event event(Uint32 type, SDL_Keycode sym = 0, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
        e.key.keysym.sym = sym;
        e.key.keysym.mod = mod;
        e.key.repeat = repeat;
    }
    return e;
}

inline SDL_Event text(const char* typed) {
    SDL_Event e = event(SDL_TEXTINPUT);
    std::strncpy(e.text.text, typed, sizeof e.text.text - 1);
    return e;
}

inline SDL_Event windowEvent(Uint8 what, Uint32 windowId = 0) {
    SDL_Event e = event(SDL_WINDOWEVENT);
    e.window.event = what;
    e.window.windowID = windowId;
    return e;
}

} // namespace vardel::test
