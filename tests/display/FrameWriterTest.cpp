// Screen memory written at each depth and pitch, the frame buffers, the depth order and the
// set-up failure text: everything of the display that needs no window.
#include "shell/FrameWriter.h"
#include "TestPattern.h"
#include "shell/Display.h"
#include "shell/FrameBufferSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace vardel {
namespace {

// The bytes one frame pixel becomes on screen, written out channel by channel.
std::vector<std::uint8_t> screenBytes(std::uint32_t p, int depth, int x) {
    const std::uint8_t b = p & 0xFF, g = (p >> 8) & 0xFF, r = (p >> 16) & 0xFF;
    switch (depth) {
    case 16: {
        const unsigned word = (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
        return {static_cast<std::uint8_t>(word & 0xFF), static_cast<std::uint8_t>(word >> 8)};
    }
    case 24:
        return x == 319 ? std::vector<std::uint8_t>{0, 0, 0} : std::vector<std::uint8_t>{b, g, r};
    default:
        return {b, g, r, 0};
    }
}

TEST(WriteFrame, EveryDepthAndPitchPlacesEachRowAtItsPitch) {
    FrameBufferSet buffers;
    FrameBuffer& frame = buffers[1];
    test::drawPattern(frame);
    const struct {
        int depth;
        int pitch;
    } cases[] = {{32, 1280}, {32, 1536}, {24, 960}, {24, 1024}, {24, 1000}, {16, 640}, {16, 1024}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.depth << " bits, pitch " << c.pitch);
        std::vector<std::uint8_t> screen(std::size_t(c.pitch) * 240 + 8, 0xEE);
        ASSERT_TRUE(writeFrame(frame, c.depth, screen.data(), c.pitch));
        const int rowBytes = 320 * bytesPerScreenPixel(c.depth);
        for (int y = 0; y < 240; ++y) {
            const std::uint8_t* row = screen.data() + std::size_t(y) * c.pitch;
            for (int x = 0; x < 320; ++x) {
                const auto expected = screenBytes(test::patternPixel(x, y), c.depth, x);
                ASSERT_EQ(0,
                          std::memcmp(row + x * expected.size(), expected.data(), expected.size()))
                    << "pixel " << x << "," << y;
            }
            for (int i = rowBytes; i < c.pitch; ++i) {
                ASSERT_EQ(row[i], 0xEE) << "byte " << i << " after row " << y;
            }
        }
        EXPECT_EQ(screen.back(), 0xEE);
    }
}

TEST(WriteFrame, RefusesMemoryItCannotFillAndWritesNothing) {
    FrameBufferSet buffers;
    const struct {
        int depth;
        int pitch;
    } cases[] = {{16, 638}, {24, 959}, {32, 1276}, {32, 1282}, {16, 641}, {8, 1280}, {0, 1280}};
    for (const auto& c : cases) {
        std::vector<std::uint8_t> screen(2000 * 240, 0xEE);
        EXPECT_FALSE(writeFrame(buffers[1], c.depth, screen.data(), c.pitch))
            << c.depth << " bits, pitch " << c.pitch;
        EXPECT_EQ(screen, std::vector<std::uint8_t>(2000 * 240, 0xEE));
    }
}

TEST(FrameBufferSet, ThreeSeparateZeroFramesOf320By240) {
    FrameBufferSet buffers;
    for (int n = 1; n <= 3; ++n) {
        const FrameBuffer& b = buffers[n];
        EXPECT_EQ(b.width, 320);
        EXPECT_EQ(b.height, 240);
        EXPECT_EQ(b.rowPadding, 0);
        EXPECT_EQ(b.destWidth, 320);
        EXPECT_EQ(b.destHeight, 240);
        EXPECT_EQ(b.offsetX | b.offsetY | b.destPadding, 0);
        EXPECT_EQ(b.keyColor, 0u);
        EXPECT_EQ(b.pixels[0] | b.pixels[320 * 240 - 1], 0u);
    }
    // Filling one buffer clears all of it and leaves its neighbours alone.
    for (int n = 1; n <= 3; ++n) {
        buffers[n].brighten(255);
    }
    fillWithZero(buffers[2]);
    EXPECT_EQ(buffers[1].pixels[320 * 240 - 1], 0x00FFFFFFu);
    EXPECT_EQ(buffers[3].pixels[0], 0x00FFFFFFu);
    for (int i = 0; i < 320 * 240; ++i) {
        ASSERT_EQ(buffers[2].pixels[i], 0u) << i;
    }
    EXPECT_THROW(buffers[0], std::out_of_range);
    EXPECT_THROW(buffers[4], std::out_of_range);
}

TEST(ChooseDepth, TriesTheRequestedDepthAloneOrEachInTurn) {
    const struct {
        int requested;
        std::vector<int> accepted;
        std::vector<int> expectedTries;
        DepthChoice expected;
    } cases[] = {
        {0, {32, 24, 16}, {32}, {32, true}}, {0, {24, 16}, {32, 24}, {24, true}},
        {0, {}, {32, 24, 16}, {16, false}},  {24, {32, 16}, {24}, {24, false}},
        {16, {16}, {16}, {16, true}},        {17, {16}, {32, 24, 16}, {16, true}},
    };
    for (const auto& c : cases) {
        std::vector<int> tries;
        const DepthChoice choice = chooseDepth(c.requested, [&](int depth) {
            tries.push_back(depth);
            return std::find(c.accepted.begin(), c.accepted.end(), depth) != c.accepted.end();
        });
        EXPECT_EQ(tries, c.expectedTries) << "requested " << c.requested;
        EXPECT_EQ(choice.depth, c.expected.depth) << "requested " << c.requested;
        EXPECT_EQ(choice.ok, c.expected.ok) << "requested " << c.requested;
    }
}

TEST(InitFailedText, ShowsTheResultAsEightLowercaseHexDigits) {
    EXPECT_EQ(initFailedText(0xFFFFFFFFu), "Direct Draw Init Failed (ffffffff)\n");
    EXPECT_EQ(initFailedText(0x887601C2u), "Direct Draw Init Failed (887601c2)\n");
    EXPECT_EQ(initFailedText(0), "Direct Draw Init Failed (00000000)\n");
}

} // namespace
} // namespace vardel
