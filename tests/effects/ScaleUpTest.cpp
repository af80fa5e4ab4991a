// Nearest-neighbour upscaling of captured frames.
#include "effects/ScaleUp.h"

#include <gtest/gtest.h>

#include <vector>

namespace vardel {
namespace {

TEST(ScaleUp, EachPixelBecomesASquareAndPaddingAndTopBytesAreDropped) {
    // 3 x 2 pixels in rows of 4 (one pixel of padding, which must not show).
    std::vector<std::uint32_t> pixels = {0xFF000001, 2, 3, 0xDEAD, 4, 5, 6, 0xDEAD};
    FrameBuffer frame;
    frame.pixels = pixels.data();
    frame.width = 3;
    frame.height = 2;
    frame.rowPadding = 1;
    for (const int scale : {1, 3}) {
        std::vector<std::uint32_t> out(std::size_t(6 * scale * scale));
        ASSERT_TRUE(scaleUp(frame, scale, out));
        for (int y = 0; y < 2 * scale; ++y)
            for (int x = 0; x < 3 * scale; ++x)
                ASSERT_EQ(out[std::size_t(y * 3 * scale + x)], std::uint32_t(1 + x / scale + 3 * (y / scale)))
                    << x << "," << y << " at scale " << scale;
    }
    std::vector<std::uint32_t> wrong(10, 7);
    EXPECT_FALSE(scaleUp(frame, 2, wrong));
    EXPECT_FALSE(scaleUp(frame, 0, std::span(wrong).first(0)));
    EXPECT_EQ(wrong, std::vector<std::uint32_t>(10, 7));
}

} // namespace
} // namespace vardel
