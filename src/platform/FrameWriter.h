#pragma once

#include "effects/FrameBuffer.h"

namespace vardel {

// Bytes per screen pixel at a colour depth of 16, 24 or 32 bits.
int bytesPerScreenPixel(int colorDepth);

// Writes the frame's 320 x 240 pixels into screen memory of the given depth whose rows are
// `pitch` bytes apart, as the display shows them: 32 bits copied, 24 bits as blue, green, red
// bytes (convertTo24, whose last column is black), 16 bits as 5-6-5 words (convertTo16).
// Returns false, writing nothing, when the depth is unknown or the pitch too small for a row
// or (at 16 and 32 bits) not a whole number of pixels.
bool writeFrame(const FrameBuffer& frame, int colorDepth, void* screen, int pitch);

} // namespace vardel
