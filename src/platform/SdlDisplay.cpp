#include "platform/SdlDisplay.h"

#include "platform/FrameWriter.h"
#include "platform/InputMapping.h"
#include "platform/Screenshot.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string_view>

namespace vardel {

namespace {

// The failing call of the set-up and its result: an int result as 32 bits, 0 for a null
// pointer.
struct Failure {
    const char* call = nullptr;
    std::uint32_t result = 0;
};

constexpr Uint32 fullScreenDesktop = SDL_WINDOW_FULLSCREEN_DESKTOP;

Failure failed(const char* call, int result) {
    return {call, static_cast<std::uint32_t>(result)};
}

std::uint32_t textureFormat(int colorDepth) {
    switch (colorDepth) {
    case 16:
        return SDL_PIXELFORMAT_RGB565;
    case 24:
        return SDL_PIXELFORMAT_BGR24;
    default:
        return SDL_PIXELFORMAT_XRGB8888;
    }
}

SdlDisplay::RendererPtr createRenderer(SDL_Window* window, Failure& failure) {
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (renderer == nullptr) {
        renderer = SDL_CreateRenderer(window, -1, 0); // a renderer without vsync still shows
    }
    if (renderer == nullptr) {
        failure = failed("SDL_CreateRenderer", 0);
        return nullptr;
    }
    SdlDisplay::RendererPtr result(renderer);
    // A logical size scales the picture up with its aspect kept; bars are black.
    if (const int rc = SDL_RenderSetLogicalSize(renderer, frameWidth, frameHeight); rc < 0) {
        failure = failed("SDL_RenderSetLogicalSize", rc);
        return nullptr;
    }
    if (const int rc = SDL_SetRenderDrawColor(renderer, 0, 0, 0, SDL_ALPHA_OPAQUE); rc < 0) {
        failure = failed("SDL_SetRenderDrawColor", rc);
        return nullptr;
    }
    return result;
}

SdlDisplay::TexturePtr createTexture(SDL_Renderer* renderer, int colorDepth, Failure& failure) {
    SdlDisplay::TexturePtr texture(SDL_CreateTexture(
        renderer, textureFormat(colorDepth), SDL_TEXTUREACCESS_STREAMING, frameWidth, frameHeight));
    if (!texture) {
        failure = failed("SDL_CreateTexture", 0);
        return nullptr;
    }
    if (const int rc = SDL_SetTextureScaleMode(texture.get(), SDL_ScaleModeNearest); rc < 0) {
        failure = failed("SDL_SetTextureScaleMode", rc);
        return nullptr;
    }
    return texture;
}

// Keeps SDL's video subsystem started until released to the display, which stops it last.
class VideoSubsystem {
public:
    VideoSubsystem() : result(SDL_InitSubSystem(SDL_INIT_VIDEO)) {}
    ~VideoSubsystem() {
        if (result == 0 && !released) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
    }
    VideoSubsystem(const VideoSubsystem&) = delete;
    VideoSubsystem& operator=(const VideoSubsystem&) = delete;
    void release() { released = true; }

    const int result;

private:
    bool released = false;
};

// SDL's video drivers that show nothing. SDL falls back to them when it finds no display, so
// they count only when SDL_VIDEODRIVER (a comma-separated list, any case) names them.
bool unaskedInvisibleDriver(const char* driver) {
    if (driver == nullptr ||
        (SDL_strcasecmp(driver, "offscreen") != 0 && SDL_strcasecmp(driver, "dummy") != 0)) {
        return false;
    }
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    for (std::string_view rest = asked != nullptr ? asked : "";;) {
        const std::size_t comma = rest.find(',');
        const std::string_view name = rest.substr(0, comma);
        if (name.size() == std::strlen(driver) &&
            SDL_strncasecmp(name.data(), driver, name.size()) == 0) {
            return false;
        }
        if (comma == std::string_view::npos) {
            return true;
        }
        rest.remove_prefix(comma + 1);
    }
}

void reportFailure(const Failure& failure, SDL_Window* window, const DisplayOptions& options) {
    const std::string text = initFailedText(failure.result);
    std::fprintf(stderr, "%.*s: %s: %s\n", static_cast<int>(text.size() - 1), text.c_str(),
                 failure.call, SDL_GetError());
    if (window == nullptr) {
        return;
    }
    if (options.showError) {
        options.showError(window, text);
    } else {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "ERROR", text.c_str(), window);
    }
}

} // namespace

void SdlDisplay::Deleter::operator()(SDL_Window* window) const {
    SDL_DestroyWindow(window);
}
void SdlDisplay::Deleter::operator()(SDL_Renderer* renderer) const {
    SDL_DestroyRenderer(renderer);
}
void SdlDisplay::Deleter::operator()(SDL_Texture* texture) const {
    SDL_DestroyTexture(texture);
}

std::unique_ptr<SdlDisplay> SdlDisplay::open(const DisplayOptions& options) {
    VideoSubsystem video;
    if (video.result < 0) {
        reportFailure(failed("SDL_InitSubSystem", video.result), nullptr, options);
        return nullptr;
    }
    if (const char* driver = SDL_GetCurrentVideoDriver(); unaskedInvisibleDriver(driver)) {
        std::fprintf(stderr,
                     "vardel: no display to show the demo on (SDL found only its %s video "
                     "driver); vardel --headless plays it without one\n",
                     driver);
        return nullptr;
    }
    const int scale = std::clamp(options.windowScale, 1, 16);
    const SDL_Point windowed{frameWidth * scale, frameHeight * scale};
    SDL_Point size = windowed;
    // Full screen covers the desktop: making the window that size at once spares the resize
    // that some X servers without a window manager do not pass on to the renderer.
    SDL_DisplayMode desktop;
    if (!options.window && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        size = {desktop.w, desktop.h};
    }
    WindowPtr window(SDL_CreateWindow("Orvex Vardel", SDL_WINDOWPOS_CENTERED,
                                      SDL_WINDOWPOS_CENTERED, size.x, size.y,
                                      options.window ? 0u : fullScreenDesktop));
    if (!window) {
        reportFailure(failed("SDL_CreateWindow", 0), nullptr, options);
        return nullptr;
    }
    Failure failure;
    RendererPtr renderer = createRenderer(window.get(), failure);
    TexturePtr texture;
    const DepthChoice depth =
        renderer ? chooseDepth(options.colorDepth,
                               [&](int tried) {
                                   texture = createTexture(renderer.get(), tried, failure);
                                   return texture != nullptr;
                               })
                 : DepthChoice{};
    if (!depth.ok) {
        reportFailure(failure, window.get(), options);
        return nullptr;
    }
    SDL_ShowCursor(SDL_DISABLE);
    SDL_StartTextInput();
    video.release();
    return std::unique_ptr<SdlDisplay>(new SdlDisplay(depth.depth, windowed, std::move(window),
                                                      std::move(renderer), std::move(texture)));
}

SdlDisplay::SdlDisplay(int colorDepth, SDL_Point windowedSize, WindowPtr window,
                       RendererPtr renderer, TexturePtr texture)
    : Display(colorDepth), windowedSize(windowedSize), sdlWindow(std::move(window)),
      sdlRenderer(std::move(renderer)), texture(std::move(texture)) {}

SdlDisplay::~SdlDisplay() {
    texture.reset();
    sdlRenderer.reset();
    sdlWindow.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlDisplay::fullScreen() const {
    return (SDL_GetWindowFlags(sdlWindow.get()) & SDL_WINDOW_FULLSCREEN) != 0;
}

bool SdlDisplay::drawFrame(const FrameBuffer& frame) {
    if (!texture) {
        return false;
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture.get(), nullptr, &pixels, &pitch) < 0) {
        return false;
    }
    const bool written = writeFrame(frame, colorDepth(), pixels, pitch);
    SDL_UnlockTexture(texture.get());
    return written && SDL_RenderClear(sdlRenderer.get()) == 0 &&
           SDL_RenderCopy(sdlRenderer.get(), texture.get(), nullptr, nullptr) == 0;
}

void SdlDisplay::recreateTexture() {
    texture.reset();
    Failure ignored;
    if (sdlRenderer) {
        texture = createTexture(sdlRenderer.get(), colorDepth(), ignored);
    }
    if (!texture) {
        sdlRenderer.reset(); // a window holds one renderer at a time
        sdlRenderer = createRenderer(sdlWindow.get(), ignored);
        if (sdlRenderer) {
            texture = createTexture(sdlRenderer.get(), colorDepth(), ignored);
        }
    }
}

void SdlDisplay::toggleFullScreen() {
    SDL_Window* window = sdlWindow.get();
    if (!fullScreen()) {
        SDL_SetWindowFullscreen(window, fullScreenDesktop);
        return;
    }
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowSize(window, windowedSize.x, windowedSize.y);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void SdlDisplay::present(const FrameBuffer& current) {
    if (textureLost) {
        textureLost = false;
        recreateTexture();
    }
    // A lost texture or renderer is made again and the frame tried once more; the next frame
    // redraws everything anyway.
    if (!drawFrame(current)) {
        recreateTexture();
        drawFrame(current);
    }
    if (sdlRenderer) {
        SDL_RenderPresent(sdlRenderer.get());
    }
    shown = &current;
}

void SdlDisplay::saveShownFrame() {
    if (shown == nullptr) {
        return;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::string reason;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    const std::filesystem::path path = saveScreenshot(*shown, error ? "." : folder, local, &reason);
    if (path.empty()) {
        std::fprintf(stderr, "vardel: screenshot not saved: %s\n", reason.c_str());
    } else {
        std::fprintf(stderr, "vardel: screenshot saved to %s\n", path.string().c_str());
    }
}

DisplayInput SdlDisplay::pollInput() {
    DisplayInput input;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        switch (actionFor(event)) {
        case InputAction::Quit:
            input.quit = true;
            break;
        case InputAction::SkipPart:
            ++input.skips;
            break;
        case InputAction::ToggleFullScreen:
            toggleFullScreen();
            break;
        case InputAction::RecreateTexture:
            textureLost = true;
            break;
        case InputAction::Screenshot:
            saveShownFrame();
            break;
        case InputAction::None:
            break;
        }
    }
    return input;
}

} // namespace vardel
