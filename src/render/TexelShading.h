#pragma once

// The shading of texels by levels through the multiply table, for the fast textured fillers'
// spans (TexturedSpan.h): one pixel at a time, with levels held or not, and along the
// fixed-point course.

#include <algorithm>
#include <array>
#include <cstdint>
#include <type_traits>

#include "render/Sse2.h"
#include "render/TexturedFillers.h"

namespace vardel {

// A texel with each channel scaled through the multiply table's row of that channel's level
// (row i scales a channel by i/255), given as pointers to the rows. The top byte passes
// unchanged.
inline std::uint32_t scaledTexel(std::uint32_t texel, const std::uint8_t* red,
                                 const std::uint8_t* green, const std::uint8_t* blue) {
    return blue[texel & 0xFF] | static_cast<std::uint32_t>(green[(texel >> 8) & 0xFF]) << 8 |
           static_cast<std::uint32_t>(red[(texel >> 16) & 0xFF]) << 16 | (texel & 0xFF000000u);
}

// A texel scaled as scaledTexel scales it, by the multiply table's rows red, green and blue
// (0..255; a mono triangle's one level in all three). With SSE2 the products are worked out
// (sse2::scaleTexel) instead of looked up: fewer instructions than three loads and their
// shifts, and the same values.
template <bool Mono>
inline std::uint32_t shadeTexel(std::uint32_t texel, [[maybe_unused]] const std::uint8_t* table,
                                std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
#if VARDEL_SSE2
    if constexpr (Mono) {
        return sse2::scaleTexel(texel, sse2::levelLanes(red));
    } else {
        return sse2::scaleTexel(texel, sse2::levelLanes(red, green, blue));
    }
#else
    return scaledTexel(texel, table + red * 256, table + green * 256, table + blue * 256);
#endif
}

// Shading of a texel through the multiply table: row i of the table scales a channel by i/255,
// and a level's integer part (bits 16 to 23 of its 16.16 value) picks the row. The level of
// pixel i is the segment's first one plus i steps. Held, each is kept to the corners' range;
// unheld (a triangle whose levels cannot leave it by a level, see TexturedSetup), the sums run
// on 32 bits and every row lies in the table.
template <bool Mono, bool Held> struct Shading {
    static constexpr int kChannels = Mono ? 1 : 3;
    using Level = std::conditional_t<Held, std::int64_t, std::uint32_t>;
    // Set by the constructor (no initializers: one is made for every segment).
    std::array<Level, kChannels> level;
    std::array<Level, kChannels> step;
    std::array<std::int64_t, kChannels> low;
    std::array<std::int64_t, kChannels> high;

    Shading(const TexturedSetup& s, const TexturedSpanStart& start, int pixel) {
        for (int c = 0; c < kChannels; ++c) {
            level[c] = static_cast<Level>(start.level[c] + pixel * s.step[c]);
            step[c] = static_cast<Level>(s.step[c]);
            low[c] = s.low[c];
            high[c] = s.high[c];
        }
    }

    // The multiply-table row of channel c at pixel i.
    int row(int c, int i) const {
        const Level at = level[c] + static_cast<Level>(i) * step[c];
        if constexpr (Held) {
            return static_cast<int>(std::clamp<std::int64_t>(at, low[c], high[c]) >> 16);
        } else {
            return static_cast<int>(at >> 16);
        }
    }

    std::uint32_t shade(std::uint32_t texel, const std::uint8_t* table, int i) const {
        const auto level = [&](int c) { return static_cast<std::uint32_t>(row(Mono ? 0 : c, i)); };
        return shadeTexel<Mono>(texel, table, level(0), level(1), level(2));
    }
};

/*
 * The shade levels along a span on the fixed-point course (FixedPlane values: their whole
 * parts, the multiply-table rows, lie within 0..255 at every pixel) and the shading of a texel
 * by them, pixel after pixel.
 */
template <bool Mono> class FixedLevels {
public:
    static constexpr int kChannels = Mono ? 1 : 3;

    // Pixel `first` of a span starting at `start`.
    FixedLevels(const TexturedSetup& s, const FixedSpanStart& start, std::ptrdiff_t first) {
        for (int c = 0; c < kChannels; ++c) {
            step[c] = s.levelFixed[c].dx;
            level[c] = start.level[c] + first * step[c];
        }
    }

    std::uint32_t shade(std::uint32_t texel, const std::uint8_t* table) const {
        const auto row = [&](int c) {
            return static_cast<std::uint32_t>(level[Mono ? 0 : c] >> 32);
        };
        return shadeTexel<Mono>(texel, table, row(0), row(1), row(2));
    }

    void next() {
        for (int c = 0; c < kChannels; ++c) {
            level[c] += step[c];
        }
    }

private:
    std::array<std::int64_t, kChannels> level;
    std::array<std::int64_t, kChannels> step;
};

#if VARDEL_SSE2
/*
 * One level, in a register's low 64 bits with 255 x 2^48 added: its whole part (bits 32 to 47)
 * stays within 0..255, so bits 48 to 63 hold 255 at every pixel, and one shuffle of the 16-bit
 * lanes makes what sse2::scaleTexel takes (the level for blue, green and red, 255 for the top
 * byte). Two instructions a pixel, and no general register.
 */
template <> class FixedLevels<true> {
public:
    FixedLevels(const TexturedSetup& s, const FixedSpanStart& start, std::ptrdiff_t first)
        : level(_mm_set_epi64x(0, start.level[0] + first * s.levelFixed[0].dx +
                                      (std::int64_t{255} << 48))),
          step(_mm_set_epi64x(0, s.levelFixed[0].dx)) {}

    std::uint32_t shade(std::uint32_t texel, const std::uint8_t*) const {
        return sse2::scaleTexel(texel, _mm_shufflelo_epi16(level, _MM_SHUFFLE(3, 2, 2, 2)));
    }

    void next() { level = _mm_add_epi64(level, step); }

private:
    __m128i level;
    __m128i step;
};
#endif

} // namespace vardel
