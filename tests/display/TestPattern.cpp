#include "TestPattern.h"

#include <cstddef>

namespace vardel::test {

std::uint32_t patternPixel(int x, int y) {
    static constexpr std::uint32_t bars[8] = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00,
                                              0xFF00FF, 0xFF0000, 0x0000FF, 0x000000};
    if (y < 120) {
        return bars[x / 40];
    }
    const auto red = static_cast<std::uint32_t>(x * 8) & 0xFFu;
    const auto green = static_cast<std::uint32_t>(y * 8) & 0xFFu;
    const std::uint32_t blue = ((x ^ y) & 1) != 0 ? 0xF0u : 0x10u;
    return red << 16 | green << 8 | blue;
}

void drawPattern(FrameBuffer& frame) {
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            frame.pixels[static_cast<std::ptrdiff_t>(y) * (frame.width + frame.rowPadding) + x] =
                patternPixel(x, y);
        }
    }
}

bool shownAs(std::uint32_t shown, std::uint32_t framePixel, int colorDepth, int x) {
    switch (colorDepth) {
    case 16:
        return ((shown ^ framePixel) & 0xF8FCF8u) == 0;
    case 24:
        return shown == (x == 319 ? 0u : framePixel);
    default:
        return shown == framePixel;
    }
}

} // namespace vardel::test
