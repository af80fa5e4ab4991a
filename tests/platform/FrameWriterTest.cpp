// Screen memory written at each depth and pitch, the frame buffers, the depth order and the
// set-up failure text: everything of the display that needs no window.
#include "platform/FrameWriter.h"
#include "TestPattern.h"
#include "platform/Display.h"
#include "platform/FrameBufferSet.h"

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
    const unsigned word = (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
    if (depth == 16)
        return {std::uint8_t(word & 0xFF), std::uint8_t(word >> 8)};
    if (depth == 24)
        return x == 319 ? std::vector<std::uint8_t>{0, 0, 0} : std::vector<std::uint8_t>{b, g, r};
    return {b, g, r, 0};
}

// Each row at its pitch; the bytes between rows and after the last stay untouched.
TEST(WriteFrame, EveryDepthAndPitchPlacesEachRowAtItsPitch) {
    FrameBufferSet buffers;
    test::drawPattern(buffers[1]);
    const std::pair<int, int> cases[] = {{32, 1280}, {32, 1536}, {24, 960}, {24, 1024},
                                         {24, 1000}, {16, 640},  {16, 1024}};
    for (const auto& [depth, pitch] : cases) {
        std::vector<std::uint8_t> screen(std::size_t(pitch) * 240 + 8, 0xEE), expected = screen;
        for (int i = 0; i < 320 * 240; ++i) {
            const auto bytes = screenBytes(test::patternPixel(i % 320, i / 320), depth, i % 320);
            std::copy(bytes.begin(), bytes.end(),
                      expected.begin() + (i / 320) * pitch + (i % 320) * int(bytes.size()));
        }
        ASSERT_TRUE(writeFrame(buffers[1], depth, screen.data(), pitch));
        EXPECT_TRUE(screen == expected) << depth << " bits, pitch " << pitch;
    }
}

TEST(WriteFrame, RefusesMemoryItCannotFillAndWritesNothing) {
    FrameBufferSet buffers;
    const std::pair<int, int> cases[] = {{16, 638}, {24, 959}, {32, 1276}, {32, 1282},
                                         {16, 641}, {8, 1280}, {0, 1280}};
    for (const auto& [depth, pitch] : cases) {
        std::vector<std::uint8_t> screen(2000 * 240, 0xEE);
        EXPECT_FALSE(writeFrame(buffers[1], depth, screen.data(), pitch)) << depth << " " << pitch;
        EXPECT_EQ(screen, std::vector<std::uint8_t>(2000 * 240, 0xEE));
    }
}

// Three separate zero frames of 320 x 240: clearing one leaves its neighbours alone.
TEST(FrameBufferSet, ThreeSeparateFramesOf320By240) {
    FrameBufferSet buffers;
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(buffers[n].width * 1000 + buffers[n].height, 320240);
        EXPECT_EQ(buffers[n].pixels[0] | buffers[n].pixels[320 * 240 - 1], 0u);
        buffers[n].brighten(255);
    }
    fillWithZero(buffers[2]);
    EXPECT_EQ(buffers[1].pixels[320 * 240 - 1], 0x00FFFFFFu);
    EXPECT_EQ(buffers[3].pixels[0], 0x00FFFFFFu);
    EXPECT_EQ(std::count(buffers[2].pixels, buffers[2].pixels + 320 * 240, 0u), 320 * 240);
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
        EXPECT_EQ(std::make_pair(choice.depth, choice.ok),
                  std::make_pair(c.expected.depth, c.expected.ok))
            << "requested " << c.requested;
    }
}

TEST(InitFailedText, ShowsTheResultAsEightLowercaseHexDigits) {
    EXPECT_EQ(initFailedText(0x00ABCDEFu), "Direct Draw Init Failed (00abcdef)\n");
}

} // namespace
} // namespace vardel
