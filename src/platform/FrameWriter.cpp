#include "platform/FrameWriter.h"

#include "effects/BlitArea.h"
#include "platform/FrameBufferSet.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vardel {

int bytesPerScreenPixel(int colorDepth) {
    switch (colorDepth) {
    case 16:
        return 2;
    case 24:
        return 3;
    case 32:
        return 4;
    default:
        return 0;
    }
}

namespace {

// One blit of the frame into screen rows that are a whole number of pixels apart.
void blitFrame(FrameBuffer placed, int colorDepth, void* screen, int pitch) {
    const int bytesPerPixel = bytesPerScreenPixel(colorDepth);
    placed.destPadding = pitch / bytesPerPixel - frameWidth;
    switch (colorDepth) {
    case 16:
        placed.destPixels16 = static_cast<std::uint16_t*>(screen);
        placed.convertTo16();
        break;
    case 24:
        placed.destPixels = screen;
        placed.convertTo24();
        break;
    default:
        forEachBlitRow<std::uint32_t, 1>(
            placed, static_cast<std::uint32_t*>(screen),
            [](const std::uint32_t* source, std::uint32_t* dest, int count) {
                std::memcpy(dest, source, static_cast<std::size_t>(count) * 4);
            });
        break;
    }
}

} // namespace

bool writeFrame(const FrameBuffer& frame, int colorDepth, void* screen, int pitch) {
    const int bytesPerPixel = bytesPerScreenPixel(colorDepth);
    if (bytesPerPixel == 0 || frame.pixels == nullptr || screen == nullptr ||
        pitch < frameWidth * bytesPerPixel) {
        return false;
    }
    // The frame lands at the top-left of the screen, clipped to 320 x 240.
    FrameBuffer placed = frame;
    placed.offsetX = 0;
    placed.offsetY = 0;
    placed.destWidth = frameWidth;
    placed.destHeight = frameHeight;
    if (pitch % bytesPerPixel == 0) {
        blitFrame(placed, colorDepth, screen, pitch);
        return true;
    }
    // Rows that are not a whole number of pixels apart cannot be stepped by destPadding. At
    // 24 bits (byte stores) each row is converted on its own; 16- and 32-bit rows would start
    // off their words' alignment.
    if (colorDepth != 24) {
        return false;
    }
    auto* bytes = static_cast<std::uint8_t*>(screen);
    const std::ptrdiff_t sourceStride = std::ptrdiff_t{frame.width} + frame.rowPadding;
    placed.destHeight = 1;
    for (int y = 0; y < frameHeight && y < frame.height; ++y) {
        placed.pixels = frame.pixels + y * sourceStride;
        placed.height = 1;
        blitFrame(placed, colorDepth, bytes + std::ptrdiff_t{y} * pitch, pitch);
    }
    return true;
}

} // namespace vardel
