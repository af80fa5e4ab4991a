#pragma once

#include <array>
#include <cstdint>

namespace vardel {

// An image of 32-bit pixels 0x00RRGGBB (blue in the low byte, top byte 0) with the placement
// and destination fields of the blit operations. Pixel (x, y) lies at
// pixels + y * (width + rowPadding) + x, row 0 at the top.
//
// Whole-buffer operations (clearBuffer, fadeToBlack, brighten) change this buffer in place.
// Blit operations (averageInto, addKeyed, convertTo16, convertTo24) read this buffer and write
// a destination of destWidth x destHeight pixels whose rows are (destWidth + destPadding)
// destination pixels apart; the source's top-left pixel lands at (offsetX, offsetY) of the
// destination and everything outside the destination is clipped away.
struct FrameBuffer {
    std::uint32_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
    std::int32_t rowPadding = 0;
    std::uint32_t keyColor = 0; // source pixel value that addKeyed skips
    std::array<std::int32_t, 7> reserved{};
    void* destPixels = nullptr; // 32-bit pixels (averageInto, addKeyed) or bytes (convertTo24)
    std::uint16_t* destPixels16 = nullptr; // convertTo16
    std::int32_t destWidth = 0;
    std::int32_t destHeight = 0;
    std::int32_t destPadding = 0;
    std::int32_t reserved2 = 0;

    // Every pixel becomes 0.
    void clearBuffer();
    // Blue, green and red each move down by the amount's low 8 bits, stopping at 0.
    void fadeToBlack(int amount);
    // Blue, green and red each move up by the amount's low 8 bits, stopping at 255.
    void brighten(int amount);
    // Each destination pixel becomes the per-channel mean of itself and the source, rounded down.
    void averageInto();
    // Source pixels other than keyColor are added per channel onto the destination, saturating
    // at 255; the result takes the source's top byte.
    void addKeyed();
    // Writes 5-6-5 words (red in bits 15..11) to destPixels16, one per pixel in pixel order.
    void convertTo16();
    // Writes blue, green, red bytes to destPixels, in whole groups of four pixels per row; the
    // last pixel converted in each row is then set to black.
    void convertTo24();
};

// Rows firstRow .. endRow - 1 of the buffer (held to 0 .. height) as a buffer of their own,
// placed where they lie in the destination: an in-place operation or a 32-bit blit
// (averageInto, addKeyed) run on each band of a split does what it does on the whole buffer,
// so that threads can share it. The conversions write the destination in pixel order and are
// not for bands.
FrameBuffer rowsOf(const FrameBuffer& buffer, int firstRow, int endRow);

} // namespace vardel
