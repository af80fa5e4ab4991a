// The frame-buffer operations: single-pixel results, blit placement and clipping, and the
// word-parallel members against the plain reference on random buffers and placements.
#include "effects/FrameBuffer.h"
#include "effects/BlitArea.h"
#include "effects/ReferenceEffects.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace vardel {
namespace {

enum class Op { Clear, Fade, Brighten, Average, AddKeyed, To16, To24 };

void run(Op op, FrameBuffer& b, int amount, bool plain) {
    switch (op) {
    case Op::Clear:
        return plain ? reference::clearBuffer(b) : b.clearBuffer();
    case Op::Fade:
        return plain ? reference::fadeToBlack(b, amount) : b.fadeToBlack(amount);
    case Op::Brighten:
        return plain ? reference::brighten(b, amount) : b.brighten(amount);
    case Op::Average:
        return plain ? reference::averageInto(b) : b.averageInto();
    case Op::AddKeyed:
        return plain ? reference::addKeyed(b) : b.addKeyed();
    case Op::To16:
        return plain ? reference::convertTo16(b) : b.convertTo16();
    case Op::To24:
        return plain ? reference::convertTo24(b) : b.convertTo24();
    }
}

FrameBuffer placed(int width, int height, int offsetX, int offsetY, int destWidth, int destHeight) {
    FrameBuffer b;
    b.width = width, b.height = height, b.offsetX = offsetX, b.offsetY = offsetY;
    b.destWidth = destWidth, b.destHeight = destHeight;
    return b;
}

// The changed pixel (the source, or the destination of a blit) of both versions.
TEST(PixelCases, EachChannelSaturatesOnItsOwn) {
    const struct {
        const char* name;
        Op op;
        int amount;
        std::uint32_t source, dest, expected;
    } cases[] = {
        {"fade 255 keeps top byte", Op::Fade, 255, 0xAB123456, 0, 0xAB000000},
        {"fade 256 acts as 0", Op::Fade, 256, 0x00123456, 0, 0x00123456},
        {"fade clamps red only", Op::Fade, 0x18, 0x00102030, 0, 0x00000818},
        {"fade exact to zero", Op::Fade, 0x80, 0x00808080, 0, 0x00000000},
        {"fade no borrow from green", Op::Fade, 1, 0x00FF0100, 0, 0x00FE0000},
        {"brighten 255 saturates", Op::Brighten, 255, 0x00010203, 0, 0x00FFFFFF},
        {"brighten 0x1FF uses low byte", Op::Brighten, 0x1FF, 0x7F000000, 0, 0x7FFFFFFF},
        {"brighten clamps red only", Op::Brighten, 0x20, 0x00F01080, 0, 0x00FF30A0},
        {"brighten no carry into green", Op::Brighten, 1, 0x000000FF, 0, 0x000101FF},
        {"average rounds each down", Op::Average, 0, 0x00FFFFFF, 0x00000001, 0x007F7F80},
        {"average no spill from green", Op::Average, 0, 0x000001FF, 0x000000FF, 0x000000FF},
        {"add saturates", Op::AddKeyed, 0, 0x00808080, 0x00A0A0A0, 0x00FFFFFF},
        {"add mixed", Op::AddKeyed, 0, 0x00010080, 0x00FF0080, 0x00FF00FF},
        {"add no carry into green", Op::AddKeyed, 0, 0x000000FF, 0x000000FF, 0x000000FF},
        {"add takes source top byte", Op::AddKeyed, 0, 0x01000001, 0x02000001, 0x01000002},
        {"key leaves dest", Op::AddKeyed, 0, 0x00000000, 0x00123456, 0x00123456},
        {"key is a whole word", Op::AddKeyed, 0, 0x01000000, 0x00101010, 0x01101010},
        {"16 top bits only", Op::To16, 0, 0x00F8FCF8, 0, 0xFFFF},
        {"16 low bits dropped", Op::To16, 0, 0x00070307, 0, 0x0000},
        {"16 red", Op::To16, 0, 0x00FF0000, 0, 0xF800},
        {"16 green", Op::To16, 0, 0x0000FF00, 0, 0x07E0},
        {"16 blue", Op::To16, 0, 0x000000FF, 0, 0x001F},
    };
    for (const auto& c : cases) {
        for (bool plain : {false, true}) {
            std::uint32_t source = c.source, dest = c.dest;
            std::uint16_t dest16 = 0x5555;
            FrameBuffer b = placed(1, 1, 0, 0, 1, 1);
            b.pixels = &source;
            b.destPixels = &dest;
            b.destPixels16 = &dest16;
            run(c.op, b, c.amount, plain);
            const std::uint32_t changed = c.op == Op::To16     ? dest16
                                          : c.op < Op::Average ? source
                                                               : dest;
            EXPECT_EQ(changed, c.expected) << c.name << (plain ? " (reference)" : "");
        }
    }
}

// Placements far outside and sizes near the limits of an int clip without overflowing; the
// random comparison below covers ordinary placements.
TEST(BlitArea, ClipsToTheDestinationWithoutOverflow) {
    const struct {
        FrameBuffer buffer;
        BlitArea expected; // rows == 0: nothing is written
    } cases[] = {
        {placed(320, 240, 0, 0, 320, 240), {0, 0, 240, 0, 0, 320}},
        {placed(320, 240, -7, 0, 320, 240), {0, 0, 240, 7, 0, 313}},
        {placed(320, 240, 5, 3, 320, 240), {0, 3, 237, 0, 5, 315}},
        {placed(320, 240, 320, 0, 320, 240), {}},
        {placed(320, 240, INT_MAX, INT_MAX, 320, 240), {}},
        {placed(INT_MAX, INT_MAX, INT_MIN, INT_MIN, 320, 240), {}},
        {placed(INT_MAX, 1, -5, 0, 320, 240), {0, 0, 1, 5, 0, 320}},
    };
    auto fields = [](const BlitArea& a) {
        return std::vector{a.sourceRow, a.destRow, a.rows, a.sourceColumn, a.destColumn, a.columns};
    };
    for (const auto& c : cases) {
        const auto area = blitArea(c.buffer);
        EXPECT_EQ(fields(area.value_or(BlitArea{})), fields(c.expected))
            << "offset " << c.buffer.offsetX << "," << c.buffer.offsetY << " size "
            << c.buffer.width << "x" << c.buffer.height;
        EXPECT_EQ(area.has_value(), c.expected.rows > 0);
    }
}

// Runs of each length from 0 to 9 at 16 and 24 bits: exactly the run is converted at 16 bits,
// whole groups of four at 24 bits, and nothing beyond.
TEST(ConvertShortRuns, WriteOnlyWhatTheRunCovers) {
    for (int run = 0; run <= 9; ++run) {
        std::vector<std::uint32_t> source(12, 0x00FFFFFF);
        std::vector<std::uint8_t> dest16(24, 0xEE), dest24(36, 0xEE);
        // Placed 12 - run columns left of the destination, so that only `run` pixels land in it.
        FrameBuffer b = placed(12, 1, run - 12, 0, 12, 1);
        b.pixels = source.data();
        b.destPixels16 = reinterpret_cast<std::uint16_t*>(dest16.data());
        b.destPixels = dest24.data();
        b.convertTo16();
        b.convertTo24();
        const int converted = run / 4 * 4;
        for (int i = 0; i < 36; ++i) {
            if (i < 24) {
                EXPECT_EQ(dest16[i], i < 2 * run ? 0xFF : 0xEE)
                    << "16 bits, byte " << i << " run " << run;
            }
            const int expected = i >= 3 * converted ? 0xEE : i >= 3 * (converted - 1) ? 0 : 0xFF;
            EXPECT_EQ(dest24[i], expected) << "24 bits, byte " << i << " run " << run;
        }
    }
}

// Random sizes, paddings and placements (mostly partly outside), random pixels with top bytes;
// the operations that threads share also done band by band.
TEST(AgainstReference, RandomBuffersAndPlacementsGiveIdenticalMemory) {
    std::mt19937 random(1234);
    auto between = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(random); };
    auto fill = [&](auto& memory) {
        for (auto& value : memory)
            value = static_cast<std::remove_reference_t<decltype(value)>>(random());
    };
    for (int round = 0; round < 400; ++round) {
        FrameBuffer b = placed(between(0, 37), between(-1, 19), between(-45, 45), between(-25, 25),
                               between(1, 41), between(1, 21));
        b.rowPadding = between(0, 4);
        b.destPadding = between(0, 5);
        b.keyColor = round % 2 ? 0 : 0x00A0B0C0;
        const int amount = between(-300, 600);
        const std::size_t destPixelCount = std::size_t(b.destWidth + b.destPadding) * b.destHeight;
        // Source, 32-bit destination and byte destination (16 and 24 bits) of each version.
        std::vector<std::uint32_t> source[3], dest[3];
        std::vector<std::uint8_t> bytes[2];
        source[0].resize(std::size_t(b.width + b.rowPadding) * 20 + 1);
        dest[0].resize(destPixelCount);
        bytes[0].resize(destPixelCount * 3);
        fill(source[0]);
        fill(dest[0]);
        fill(bytes[0]);
        for (std::size_t i = 0; i < source[0].size(); i += 3)
            source[0][i] = b.keyColor; // make keyed pixels common
        source[1] = source[0], dest[1] = dest[0], bytes[1] = bytes[0];
        source[2] = source[0], dest[2] = dest[0];
        const Op op = static_cast<Op>(round % 7);
        for (int plain = 0; plain < 2; ++plain) {
            FrameBuffer version = b;
            version.pixels = source[plain].data();
            version.destPixels = op == Op::To24 ? static_cast<void*>(bytes[plain].data())
                                                : static_cast<void*>(dest[plain].data());
            version.destPixels16 = reinterpret_cast<std::uint16_t*>(bytes[plain].data());
            run(op, version, amount, plain == 1);
        }
        ASSERT_EQ(source[0], source[1]) << "round " << round;
        ASSERT_EQ(dest[0], dest[1]) << "round " << round;
        ASSERT_EQ(bytes[0], bytes[1]) << "round " << round;
        if (op < Op::To16) {
            // The same done band by band, as threads share it: bands between random cuts,
            // some of them empty or reaching past the buffer.
            FrameBuffer whole = b;
            whole.pixels = source[2].data();
            whole.destPixels = dest[2].data();
            int first = between(-3, 0);
            while (first < b.height) {
                const int end = first + between(0, 7);
                FrameBuffer band = rowsOf(whole, first, end);
                run(op, band, amount, false);
                first = end;
            }
            ASSERT_EQ(source[2], source[0]) << "round " << round << " in bands";
            ASSERT_EQ(dest[2], dest[0]) << "round " << round << " in bands";
        }
    }
}

} // namespace
} // namespace vardel
