#pragma once

#include <cstdint>

// Word-parallel arithmetic on 0x00RRGGBB pixels: the three colour bytes of a pixel are handled
// at once inside one 32-bit word, with shifts, masks, additions and subtractions only, so that
// the loops using them compile to plain vector code.
namespace vardel::pixel {

inline constexpr std::uint32_t colourBits = 0x00FFFFFFu;
inline constexpr std::uint32_t topByte = 0xFF000000u;

// The amount's low 8 bits in each of the three colour bytes.
constexpr std::uint32_t inEveryChannel(int amount) {
    const auto a = static_cast<std::uint32_t>(amount) & 0xFFu;
    return a | (a << 8) | (a << 16);
}

/* Per-byte saturating addition of the colour bytes of x and y (both with top byte 0).
   The low 7 bits of each byte are added first, so no carry leaves its byte; xor-ing in the
   bytes' top bits then gives the sum modulo 256. A byte overflowed when both top bits were set,
   or when one was set and the modular sum's top bit is clear. Each overflow bit (bit 7 of its
   byte) becomes a 0xFF byte as (carry << 1) - (carry >> 7): 0x100 - 0x001 within that byte,
   with no borrow crossing into the others. */
constexpr std::uint32_t addSaturate(std::uint32_t x, std::uint32_t y) {
    constexpr std::uint32_t low7 = 0x007F7F7Fu;
    constexpr std::uint32_t high1 = 0x00808080u;
    const std::uint32_t sum = ((x & low7) + (y & low7)) ^ ((x ^ y) & high1);
    const std::uint32_t carry = ((x & y) | ((x | y) & ~sum)) & high1;
    return sum | ((carry << 1) - (carry >> 7));
}

// Per-byte c - a stopping at 0, through 255 - min(255, (255 - c) + a).
constexpr std::uint32_t subtractSaturate(std::uint32_t x, std::uint32_t y) {
    return addSaturate(x ^ colourBits, y) ^ colourBits;
}

/* Mean of two pixels rounded down. Blue and green are separate bytes: a + b = 2 (a & b) + (a ^ b),
   so (a & b) + ((a ^ b) >> 1) is the floor mean, with each byte's lowest xor bit masked off
   before the shift so it cannot drop into the byte below. The upper 16 bits (red and the top
   byte) are averaged as one 16-bit number. */
constexpr std::uint32_t average(std::uint32_t s, std::uint32_t d) {
    const std::uint32_t low = (s & d & 0xFFFFu) + (((s ^ d) & 0xFEFEu) >> 1);
    const std::uint32_t high = (((s >> 16) + (d >> 16)) >> 1) << 16;
    return high | low;
}

// 5-6-5: the top 5 bits of red in bits 15..11, of green 6 bits in 10..5, of blue 5 bits in 4..0.
constexpr std::uint16_t to565(std::uint32_t p) {
    return static_cast<std::uint16_t>(((p >> 8) & 0xF800u) | ((p >> 5) & 0x07E0u) |
                                      ((p >> 3) & 0x001Fu));
}

} // namespace vardel::pixel
