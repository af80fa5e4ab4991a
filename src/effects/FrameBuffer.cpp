#include "effects/FrameBuffer.h"

#include "effects/BlitArea.h"
#include "effects/PixelOps.h"
#include "math/Sse2Support.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <limits>
#include <type_traits>

namespace vardel {

static_assert(std::endian::native == std::endian::little,
              "the 24-bit packing writes little-endian words");

namespace {

// Replaces every pixel p of the buffer with change(p), row by row; where SSE2 is there and
// `changeFour` is given, groups of four pixels go through it instead, which must give the same.
// The sizes are copied first: pixel stores could alias the record's own fields.
template <typename Change, typename ChangeFour = std::nullptr_t>
void changeEveryPixel(FrameBuffer& buffer, Change change,
                      [[maybe_unused]] ChangeFour changeFour = nullptr) {
    const int width = buffer.width;
    const int height = buffer.height;
    if (height <= 0 || width <= 0 || buffer.pixels == nullptr) {
        return;
    }
    const std::ptrdiff_t stride = std::ptrdiff_t{width} + buffer.rowPadding;
    std::uint32_t* row = buffer.pixels;
    for (int y = 0; y < height; ++y, row += stride) {
        int x = 0;
#if VARDEL_SSE2
        if constexpr (!std::is_same_v<ChangeFour, std::nullptr_t>) {
            for (; x + 4 <= width; x += 4) {
                auto* const four = reinterpret_cast<__m128i*>(row + x);
                _mm_storeu_si128(four, changeFour(_mm_loadu_si128(four)));
            }
        }
#endif
        for (; x < width; ++x) {
            row[x] = change(row[x]);
        }
    }
}

/* Four pixels as the twelve bytes B0 G0 R0 B1 | G1 R1 B2 G2 | R2 B3 G3 R3, built as three
   little-endian words from shifted pixels. */
void storeFourAs24(const std::uint32_t* p, std::uint8_t* out) {
    const std::uint32_t first = (p[0] & pixel::colourBits) | (p[1] << 24);
    const std::uint32_t second = ((p[1] >> 8) & 0xFFFFu) | (p[2] << 16);
    const std::uint32_t third = ((p[2] >> 16) & 0xFFu) | (p[3] << 8);
    std::memcpy(out, &first, 4);
    std::memcpy(out + 4, &second, 4);
    std::memcpy(out + 8, &third, 4);
}

/*
 * Every pixel's colour bytes stepped by the amount's low byte, up (Up) or down, saturating at
 * 255 and 0. SSE2 has the per-byte saturating steps as single instructions; the amount's top
 * byte is 0 there, which leaves each pixel's top byte as it was.
 */
template <bool Up> void stepColours(FrameBuffer& buffer, int amount) {
    const std::uint32_t a = pixel::inEveryChannel(amount);
    const auto plain = [a](std::uint32_t p) {
        const std::uint32_t colour = p & pixel::colourBits;
        return (Up ? pixel::addSaturate(colour, a) : pixel::subtractSaturate(colour, a)) |
               (p & pixel::topByte);
    };
#if VARDEL_SSE2
    const __m128i four = _mm_set1_epi32(static_cast<int>(a));
    changeEveryPixel(buffer, plain, [four](__m128i p) {
        return Up ? _mm_adds_epu8(p, four) : _mm_subs_epu8(p, four);
    });
#else
    changeEveryPixel(buffer, plain);
#endif
}

} // namespace

FrameBuffer rowsOf(const FrameBuffer& buffer, int firstRow, int endRow) {
    FrameBuffer rows = buffer;
    const int first = std::clamp(firstRow, 0, std::max(buffer.height, 0));
    const int end = std::clamp(endRow, first, std::max(buffer.height, 0));
    rows.height = end - first;
    if (buffer.pixels != nullptr) {
        rows.pixels +=
            static_cast<std::ptrdiff_t>(first) * (std::ptrdiff_t{buffer.width} + buffer.rowPadding);
    }
    // The band's first row lands `first` rows further down the destination; past the largest
    // offset it lands below any destination, as it would.
    rows.offsetY = static_cast<std::int32_t>(std::min<std::int64_t>(
        std::int64_t{buffer.offsetY} + first, std::numeric_limits<std::int32_t>::max()));
    return rows;
}

void FrameBuffer::clearBuffer() {
    changeEveryPixel(*this, [](std::uint32_t) { return 0u; });
}

void FrameBuffer::fadeToBlack(int amount) {
    stepColours<false>(*this, amount);
}

void FrameBuffer::brighten(int amount) {
    stepColours<true>(*this, amount);
}

void FrameBuffer::averageInto() {
    forEachBlitRow<std::uint32_t, 1>(
        *this, static_cast<std::uint32_t*>(destPixels),
        [](const std::uint32_t* source, std::uint32_t* dest, int count) {
            int x = 0;
#if VARDEL_SSE2
            // pixel::average four pixels at a time: each 16-bit half's floor mean is
            // (a & b) + ((a ^ b) >> 1), the shift within the half; the lower half's bytes have
            // their lowest xor bits masked off first, as there.
            const __m128i kept = _mm_set1_epi32(static_cast<int>(0xFFFFFEFEu));
            for (; x + 4 <= count; x += 4) {
                const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + x));
                auto* const four = reinterpret_cast<__m128i*>(dest + x);
                const __m128i d = _mm_loadu_si128(four);
                const __m128i half = _mm_srli_epi16(_mm_and_si128(_mm_xor_si128(s, d), kept), 1);
                _mm_storeu_si128(four, _mm_add_epi16(_mm_and_si128(s, d), half));
            }
#endif
            for (; x < count; ++x) {
                dest[x] = pixel::average(source[x], dest[x]);
            }
        });
}

void FrameBuffer::addKeyed() {
    const std::uint32_t key = keyColor;
    forEachBlitRow<std::uint32_t, 1>(
        *this, static_cast<std::uint32_t*>(destPixels),
        [key](const std::uint32_t* source, std::uint32_t* dest, int count) {
            int x = 0;
#if VARDEL_SSE2
            // Four pixels at a time: the colour bytes' saturating sum is one instruction, and
            // a keyed source pixel (the whole word equal to the key) keeps its destination.
            const __m128i colour = _mm_set1_epi32(static_cast<int>(pixel::colourBits));
            const __m128i top = _mm_set1_epi32(static_cast<int>(pixel::topByte));
            const __m128i keyed = _mm_set1_epi32(static_cast<int>(key));
            for (; x + 4 <= count; x += 4) {
                const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + x));
                auto* const four = reinterpret_cast<__m128i*>(dest + x);
                const __m128i d = _mm_loadu_si128(four);
                const __m128i sum =
                    _mm_or_si128(_mm_adds_epu8(_mm_and_si128(s, colour), _mm_and_si128(d, colour)),
                                 _mm_and_si128(s, top));
                const __m128i keep = _mm_cmpeq_epi32(s, keyed);
                _mm_storeu_si128(four, _mm_or_si128(_mm_and_si128(keep, d),
                                                    _mm_andnot_si128(keep, sum)));
            }
#endif
            for (; x < count; ++x) {
                const std::uint32_t s = source[x];
                const std::uint32_t d = dest[x];
                const std::uint32_t sum =
                    pixel::addSaturate(s & pixel::colourBits, d & pixel::colourBits) |
                    (s & pixel::topByte);
                dest[x] = s == key ? d : sum;
            }
        });
}

void FrameBuffer::convertTo16() {
    forEachBlitRow<std::uint16_t, 1>(
        *this, destPixels16, [](const std::uint32_t* source, std::uint16_t* dest, int count) {
            for (int x = 0; x < count; ++x) {
                dest[x] = pixel::to565(source[x]);
            }
        });
}

void FrameBuffer::convertTo24() {
    forEachBlitRow<std::uint8_t, 3>(*this, static_cast<std::uint8_t*>(destPixels),
                                    [](const std::uint32_t* source, std::uint8_t* dest, int count) {
                                        // Whole groups of four only; a run shorter than four writes
                                        // nothing.
                                        const int converted = count / 4 * 4;
                                        if (converted == 0) {
                                            return;
                                        }
                                        for (int x = 0; x < converted; x += 4) {
                                            storeFourAs24(source + x, dest + std::ptrdiff_t{x} * 3);
                                        }
                                        // The row's last converted pixel is left black.
                                        std::memset(dest + std::ptrdiff_t{converted - 1} * 3, 0, 3);
                                    });
}

} // namespace vardel
