#pragma once

#include "platform/Display.h"

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vardel {

struct DisplayOptions {
    int colorDepth = 0;  // 16, 24 or 32; anything else tries 32, 24 and 16 in turn
    bool window = false; // a window of windowScale times 320 x 240 instead of the full screen
    int windowScale = 3;
    // Shows a set-up failure once a window exists. Empty: an SDL message box captioned
    // "ERROR" owned by the window.
    std::function<void(SDL_Window* window, const std::string& text)> showError;
};

// The display on an SDL window: full-screen-desktop (or a window), the 320 x 240 picture
// scaled up nearest-neighbour with its aspect kept, shown from a streaming texture of the
// colour depth (XRGB8888, BGR24 or RGB565), presented with vertical sync. The mouse pointer
// is hidden over the window; Alt+Enter switches between full screen and the window.
class SdlDisplay final : public Display {
public:
    // Sets the display up. On failure prints one line on stderr with SDL's reason, shows the
    // same text where a window exists, and returns null. SDL's offscreen and dummy drivers,
    // which it falls back to without a display, are refused unless SDL_VIDEODRIVER names them.
    static std::unique_ptr<SdlDisplay> open(const DisplayOptions& options);
    ~SdlDisplay() override;

    void present(const FrameBuffer& current) override;
    DisplayInput pollInput() override;

    SDL_Window* window() const { return sdlWindow.get(); }
    SDL_Renderer* renderer() const { return sdlRenderer.get(); }
    bool fullScreen() const;

    struct Deleter {
        void operator()(SDL_Window* window) const;
        void operator()(SDL_Renderer* renderer) const;
        void operator()(SDL_Texture* texture) const;
    };
    using WindowPtr = std::unique_ptr<SDL_Window, Deleter>;
    using RendererPtr = std::unique_ptr<SDL_Renderer, Deleter>;
    using TexturePtr = std::unique_ptr<SDL_Texture, Deleter>;

private:
    SdlDisplay(int colorDepth, SDL_Point windowedSize, WindowPtr window, RendererPtr renderer,
               TexturePtr texture);

    // Writes the frame into the texture and draws it, without presenting. False on failure.
    bool drawFrame(const FrameBuffer& frame);
    // A new texture, and a new renderer when the texture cannot be made on the old one.
    void recreateTexture();
    // Full screen, or a centred window of the windowed size.
    void toggleFullScreen();
    // F12: the frame last presented, as a PNG in the current folder; says where on stderr.
    void saveShownFrame();

    SDL_Point windowedSize;
    WindowPtr sdlWindow;
    RendererPtr sdlRenderer;
    TexturePtr texture; // destroyed before the renderer that owns it
    bool textureLost = false;
    const FrameBuffer* shown = nullptr; // one of the display's own buffers, or null
};

} // namespace vardel
