// Single-pixel results of every operation, for the word-parallel members and the plain
// reference alike.
#include "effects/FrameBuffer.h"
#include "effects/ReferenceEffects.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vardel {
namespace {

enum class Op { Fade, Brighten, Average, AddKeyed, To16 };

struct PixelCase {
    const char* name;
    Op op;
    int amount;
    std::uint32_t source;
    std::uint32_t dest;
    std::uint32_t expected; // the changed pixel: the source, or the destination of a blit
};

std::uint32_t apply(const PixelCase& c, bool plain) {
    std::uint32_t source = c.source;
    std::uint32_t dest = c.dest;
    std::uint16_t dest16 = 0x5555;
    FrameBuffer b;
    b.pixels = &source;
    b.width = b.height = b.destWidth = b.destHeight = 1;
    b.destPixels = &dest;
    b.destPixels16 = &dest16;
    switch (c.op) {
    case Op::Fade:
        plain ? reference::fadeToBlack(b, c.amount) : b.fadeToBlack(c.amount);
        return source;
    case Op::Brighten:
        plain ? reference::brighten(b, c.amount) : b.brighten(c.amount);
        return source;
    case Op::Average:
        plain ? reference::averageInto(b) : b.averageInto();
        return dest;
    case Op::AddKeyed:
        plain ? reference::addKeyed(b) : b.addKeyed();
        return dest;
    case Op::To16:
        plain ? reference::convertTo16(b) : b.convertTo16();
        return dest16;
    }
    return 0;
}

TEST(PixelCases, EachChannelSaturatesOnItsOwn) {
    const PixelCase cases[] = {
        {"fade 255 keeps top byte", Op::Fade, 255, 0xAB123456, 0, 0xAB000000},
        {"fade 0 changes nothing", Op::Fade, 0, 0x00123456, 0, 0x00123456},
        {"fade 256 acts as 0", Op::Fade, 256, 0x00123456, 0, 0x00123456},
        {"fade clamps red only", Op::Fade, 0x18, 0x00102030, 0, 0x00000818},
        {"fade exact to zero", Op::Fade, 0x80, 0x00808080, 0, 0x00000000},
        {"fade no borrow from green", Op::Fade, 1, 0x00FF0100, 0, 0x00FE0000},
        {"brighten 255 saturates", Op::Brighten, 255, 0x00010203, 0, 0x00FFFFFF},
        {"brighten 0 changes nothing", Op::Brighten, 0, 0x00123456, 0, 0x00123456},
        {"brighten 0x1FF uses low byte", Op::Brighten, 0x1FF, 0x7F000000, 0, 0x7FFFFFFF},
        {"brighten clamps red only", Op::Brighten, 0x20, 0x00F01080, 0, 0x00FF30A0},
        {"brighten no carry into green", Op::Brighten, 1, 0x000000FF, 0, 0x000101FF},
        {"average rounds each down", Op::Average, 0, 0x00FFFFFF, 0x00000001, 0x007F7F80},
        {"average of equals", Op::Average, 0, 0x00808080, 0x00808080, 0x00808080},
        {"average no spill from green", Op::Average, 0, 0x000001FF, 0x000000FF, 0x000000FF},
        {"add saturates", Op::AddKeyed, 0, 0x00808080, 0x00A0A0A0, 0x00FFFFFF},
        {"add mixed", Op::AddKeyed, 0, 0x00010080, 0x00FF0080, 0x00FF00FF},
        {"add no carry into green", Op::AddKeyed, 0, 0x000000FF, 0x000000FF, 0x000000FF},
        {"add takes source top byte", Op::AddKeyed, 0, 0x01000001, 0x02000001, 0x01000002},
        {"key leaves dest", Op::AddKeyed, 0, 0x00000000, 0x00123456, 0x00123456},
        {"key is a whole word", Op::AddKeyed, 0, 0x01000000, 0x00101010, 0x01101010},
        {"16 white", Op::To16, 0, 0x00FFFFFF, 0, 0xFFFF},
        {"16 top bits only", Op::To16, 0, 0x00F8FCF8, 0, 0xFFFF},
        {"16 low bits dropped", Op::To16, 0, 0x00070307, 0, 0x0000},
        {"16 red", Op::To16, 0, 0x00FF0000, 0, 0xF800},
        {"16 green", Op::To16, 0, 0x0000FF00, 0, 0x07E0},
        {"16 blue", Op::To16, 0, 0x000000FF, 0, 0x001F},
    };
    for (const PixelCase& c : cases) {
        EXPECT_EQ(apply(c, false), c.expected) << c.name;
        EXPECT_EQ(apply(c, true), c.expected) << c.name << " (reference)";
    }
}

} // namespace
} // namespace vardel
