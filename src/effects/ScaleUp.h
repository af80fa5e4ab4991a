#pragma once

#include <cstdint>
#include <span>

#include "effects/FrameBuffer.h"

namespace vardel {

// Copies the frame scaled up `scale` times in both directions, nearest neighbour, into `out`
// (width x scale by height x scale pixels, rows packed, top byte cleared). Returns false,
// writing nothing, when the scale is below 1 or `out` has the wrong size.
bool scaleUp(const FrameBuffer& frame, int scale, std::span<std::uint32_t> out);

} // namespace vardel
