// Placement, clipping and memory layout of the blit operations, and the word-parallel
// members against the plain reference on random buffers and placements.
#include "effects/BlitArea.h"
#include "effects/FrameBuffer.h"
#include "effects/ReferenceEffects.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace vardel {
namespace {

FrameBuffer placed(int width, int height, int offsetX, int offsetY, int destWidth, int destHeight) {
    FrameBuffer b;
    b.width = width;
    b.height = height;
    b.offsetX = offsetX;
    b.offsetY = offsetY;
    b.destWidth = destWidth;
    b.destHeight = destHeight;
    return b;
}

TEST(BlitArea, ClipsToTheDestinationOnEverySide) {
    const struct {
        FrameBuffer buffer;
        BlitArea expected; // rows == 0: nothing is written
    } cases[] = {
        {placed(320, 240, 0, 0, 320, 240), {0, 0, 240, 0, 0, 320}},
        {placed(320, 240, 0, -10, 320, 240), {10, 0, 230, 0, 0, 320}},
        {placed(320, 240, 0, 10, 320, 240), {0, 10, 230, 0, 0, 320}},
        {placed(320, 240, -7, 0, 320, 240), {0, 0, 240, 7, 0, 313}},
        {placed(320, 240, 5, 3, 320, 240), {0, 3, 237, 0, 5, 315}},
        {placed(10, 10, 3, 4, 320, 240), {0, 4, 10, 0, 3, 10}},
        {placed(320, 240, 320, 0, 320, 240), {}},
        {placed(320, 240, 0, -240, 320, 240), {}},
        {placed(320, 240, -320, 0, 320, 240), {}},
        {placed(0, 240, 0, 0, 320, 240), {}},
        {placed(320, -1, 0, 0, 320, 240), {}},
        {placed(320, 240, INT_MAX, INT_MAX, 320, 240), {}},
        {placed(INT_MAX, INT_MAX, INT_MIN, INT_MIN, 320, 240), {}},
        {placed(INT_MAX, 1, -5, 0, 320, 240), {0, 0, 1, 5, 0, 320}},
    };
    for (const auto& c : cases) {
        const auto area = blitArea(c.buffer);
        SCOPED_TRACE(testing::Message() << "offset " << c.buffer.offsetX << "," << c.buffer.offsetY
                                        << " size " << c.buffer.width << "x" << c.buffer.height);
        ASSERT_EQ(area.has_value(), c.expected.rows > 0);
        if (area) {
            EXPECT_EQ(area->sourceRow, c.expected.sourceRow);
            EXPECT_EQ(area->destRow, c.expected.destRow);
            EXPECT_EQ(area->rows, c.expected.rows);
            EXPECT_EQ(area->sourceColumn, c.expected.sourceColumn);
            EXPECT_EQ(area->destColumn, c.expected.destColumn);
            EXPECT_EQ(area->columns, c.expected.columns);
        }
    }
}

// Runs of each length from 0 to 9 at 16 and 24 bits: exactly the run is converted at 16 bits,
// whole groups of four at 24 bits, and nothing beyond.
TEST(ConvertShortRuns, WriteOnlyWhatTheRunCovers) {
    for (int run = 0; run <= 9; ++run) {
        std::vector<std::uint32_t> source(12, 0x00FFFFFF);
        std::vector<std::uint8_t> dest16(24, 0xEE);
        std::vector<std::uint8_t> dest24(36, 0xEE);
        // Placed 12 - run columns left of the destination, so that only `run` pixels land in it.
        FrameBuffer b = placed(12, 1, run - 12, 0, 12, 1);
        b.pixels = source.data();
        b.destPixels16 = reinterpret_cast<std::uint16_t*>(dest16.data());
        b.destPixels = dest24.data();
        b.convertTo16();
        b.convertTo24();
        for (int i = 0; i < 24; ++i) {
            EXPECT_EQ(dest16[i], i < 2 * run ? 0xFF : 0xEE)
                << "16-bit byte " << i << " run " << run;
        }
        const int converted = run / 4 * 4;
        for (int i = 0; i < 36; ++i) {
            const int expected = i >= 3 * converted ? 0xEE : i >= 3 * (converted - 1) ? 0 : 0xFF;
            EXPECT_EQ(dest24[i], expected) << "24-bit byte " << i << " run " << run;
        }
    }
}

// Random sizes, paddings and placements (mostly partly outside), random pixels with top bytes.
TEST(AgainstReference, RandomBuffersAndPlacementsGiveIdenticalMemory) {
    std::mt19937 random(1234);
    auto between = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(random); };
    auto fill = [&](auto& memory) {
        for (auto& value : memory) {
            value = static_cast<std::remove_reference_t<decltype(value)>>(random());
        }
    };
    for (int round = 0; round < 400; ++round) {
        FrameBuffer b = placed(between(0, 37), between(-1, 19), between(-45, 45), between(-25, 25),
                               between(1, 41), between(1, 21));
        b.rowPadding = between(0, 4);
        b.destPadding = between(0, 5);
        b.keyColor = round % 2 ? 0 : 0x00A0B0C0;
        const int amount = between(-300, 600);
        const std::size_t destPixelCount = std::size_t(b.destWidth + b.destPadding) * b.destHeight;

        std::vector<std::uint32_t> source(std::size_t(b.width + b.rowPadding) * 20 + 1);
        std::vector<std::uint32_t> dest(destPixelCount);
        fill(source);
        fill(dest);
        for (std::size_t i = 0; i < source.size(); i += 3) {
            source[i] = b.keyColor; // make keyed pixels common
        }
        std::vector<std::uint32_t> sourceExpected = source;
        std::vector<std::uint32_t> destExpected = dest;
        std::vector<std::uint8_t> bytes(destPixelCount * 3);
        fill(bytes);
        std::vector<std::uint8_t> bytesExpected = bytes;

        FrameBuffer fast = b;
        FrameBuffer plain = b;
        fast.pixels = source.data();
        plain.pixels = sourceExpected.data();
        auto aim = [](FrameBuffer& target, std::vector<std::uint32_t>& pixels,
                      std::vector<std::uint8_t>& raw) {
            target.destPixels = pixels.data();
            target.destPixels16 = reinterpret_cast<std::uint16_t*>(raw.data());
        };
        aim(fast, dest, bytes);
        aim(plain, destExpected, bytesExpected);
        SCOPED_TRACE(testing::Message() << "round " << round);

        switch (round % 7) {
        case 0:
            fast.clearBuffer();
            reference::clearBuffer(plain);
            break;
        case 1:
            fast.fadeToBlack(amount);
            reference::fadeToBlack(plain, amount);
            break;
        case 2:
            fast.brighten(amount);
            reference::brighten(plain, amount);
            break;
        case 3:
            fast.averageInto();
            reference::averageInto(plain);
            break;
        case 4:
            fast.addKeyed();
            reference::addKeyed(plain);
            break;
        case 5:
            fast.convertTo16();
            reference::convertTo16(plain);
            break;
        case 6:
            fast.destPixels = bytes.data();
            plain.destPixels = bytesExpected.data();
            fast.convertTo24();
            reference::convertTo24(plain);
            break;
        }
        ASSERT_EQ(source, sourceExpected);
        ASSERT_EQ(dest, destExpected);
        ASSERT_EQ(bytes, bytesExpected);
    }
}

} // namespace
} // namespace vardel
