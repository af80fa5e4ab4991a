#include "effects/ScaleUp.h"

#include <algorithm>

namespace vardel {

bool scaleUp(const FrameBuffer& frame, int scale, std::span<std::uint32_t> out) {
    if (scale < 1 || frame.width <= 0 || frame.height <= 0 ||
        out.size() != static_cast<std::size_t>(frame.width) * frame.height * scale * scale) {
        return false;
    }
    const std::size_t outWidth = static_cast<std::size_t>(frame.width) * scale;
    std::uint32_t* row = out.data();
    for (int y = 0; y < frame.height; ++y) {
        // One row widened, then copied down for the other scale - 1 rows.
        const std::uint32_t* in = frame.pixels + static_cast<std::ptrdiff_t>(y) *
                                                     (frame.width + frame.rowPadding);
        std::uint32_t* write = row;
        for (int x = 0; x < frame.width; ++x, write += scale) {
            std::fill_n(write, scale, in[x] & 0x00FFFFFFu);
        }
        for (int copy = 1; copy < scale; ++copy) {
            std::copy_n(row, outWidth, row + copy * outWidth);
        }
        row += scale * outWidth;
    }
    return true;
}

} // namespace vardel
