#include "web/WebDisplay.h"

#include <emscripten/html5.h>

#include <cstring>
#include <utility>

#include "platform/FrameBufferSet.h"
#include "web/PageCalls.h"

namespace vardel {

namespace {

EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* event, void* user) {
    auto& input = *static_cast<DisplayInput*>(user);
    return WebDisplay::applyKey(event->key, event->ctrlKey, event->altKey, event->metaKey, input)
               ? EM_TRUE
               : EM_FALSE;
}

} // namespace

WebDisplay::WebDisplay() : Display(32), rgba(std::size_t{frameWidth} * frameHeight) {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, &pending, EM_TRUE,
                                    &onKeyDown);
}

WebDisplay::~WebDisplay() {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, nullptr);
}

bool WebDisplay::applyKey(const char* key, bool ctrl, bool alt, bool meta, DisplayInput& input) {
    if (std::strcmp(key, "Escape") == 0) {
        input.quit = true;
        return true;
    }
    if (std::strcmp(key, "n") == 0 && !ctrl && !alt && !meta) {
        ++input.skips;
        return true;
    }
    return false;
}

void WebDisplay::present(const FrameBuffer& current) {
    // 0x00RRGGBB to the canvas's bytes R, G, B, A (a little-endian 0xAABBGGRR word).
    std::uint32_t* out = rgba.data();
    const std::uint32_t* row = current.pixels;
    for (int y = 0; y < frameHeight; ++y, row += current.width + current.rowPadding) {
        for (int x = 0; x < frameWidth; ++x) {
            const std::uint32_t p = row[x];
            *out++ = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
        }
    }
    page::showFrame(rgba.data(), frameWidth, frameHeight);
}

DisplayInput WebDisplay::pollInput() {
    return std::exchange(pending, DisplayInput{});
}

} // namespace vardel
