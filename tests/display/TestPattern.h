#pragma once

#include "effects/FrameBuffer.h"

#include <cstdint>

namespace vardel::test {

// A 320 x 240 picture with colour bars above and, below, sawtooth ramps over a one-pixel
// checkerboard, so that a pixel shifted by one in either direction shows, at every depth.
std::uint32_t patternPixel(int x, int y);
void drawPattern(FrameBuffer& frame);

// Whether a pixel read back from the screen (0x00RRGGBB) shows the frame pixel at column x as
// the display presents it at this depth: exact at 32 bits; exact at 24 bits except the black
// last column; at 16 bits the top 5, 6 and 5 bits of red, green and blue.
bool shownAs(std::uint32_t shown, std::uint32_t framePixel, int colorDepth, int x);

} // namespace vardel::test
