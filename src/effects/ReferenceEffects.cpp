#include "effects/ReferenceEffects.h"

#include <cstddef>
#include <cstdint>

namespace vardel::reference {

namespace {

constexpr int channelShifts[3] = {0, 8, 16}; // blue, green, red

std::uint32_t channel(std::uint32_t p, int shift) {
    return (p >> shift) & 0xFFu;
}

std::uint32_t& sourceAt(const FrameBuffer& b, int x, int y) {
    return b.pixels[std::ptrdiff_t{y} * (b.width + b.rowPadding) + x];
}

std::ptrdiff_t destIndex(const FrameBuffer& b, int dx, int dy) {
    return std::ptrdiff_t{dy} * (b.destWidth + b.destPadding) + dx;
}

// Calls visit(sourcePixel, destX, destY) for each source pixel of row sy that lands inside
// the destination, left to right.
template <typename Visit> void forEachPlacedPixel(const FrameBuffer& b, int sy, Visit visit) {
    const std::int64_t dy = std::int64_t{sy} + b.offsetY;
    if (dy < 0 || dy >= b.destHeight) {
        return;
    }
    for (int sx = 0; sx < b.width; ++sx) {
        const std::int64_t dx = std::int64_t{sx} + b.offsetX;
        if (dx >= 0 && dx < b.destWidth) {
            visit(sourceAt(b, sx, sy), static_cast<int>(dx), static_cast<int>(dy));
        }
    }
}

template <typename Visit> void forEachPlacedPixel(const FrameBuffer& b, Visit visit) {
    if (b.pixels == nullptr) {
        return;
    }
    for (int sy = 0; sy < b.height; ++sy) {
        forEachPlacedPixel(b, sy, visit);
    }
}

template <typename Change> void changeChannels(FrameBuffer& b, Change change) {
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            std::uint32_t& p = sourceAt(b, x, y);
            std::uint32_t result = p & 0xFF000000u;
            for (const int shift : channelShifts) {
                result |= change(channel(p, shift)) << shift;
            }
            p = result;
        }
    }
}

} // namespace

void clearBuffer(FrameBuffer& b) {
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            sourceAt(b, x, y) = 0;
        }
    }
}

void fadeToBlack(FrameBuffer& b, int amount) {
    const std::uint32_t a = static_cast<std::uint32_t>(amount) & 0xFFu;
    changeChannels(b, [a](std::uint32_t c) { return c >= a ? c - a : 0u; });
}

void brighten(FrameBuffer& b, int amount) {
    const std::uint32_t a = static_cast<std::uint32_t>(amount) & 0xFFu;
    changeChannels(b, [a](std::uint32_t c) { return c + a <= 255 ? c + a : 255u; });
}

void averageInto(const FrameBuffer& b) {
    auto* dest = static_cast<std::uint32_t*>(b.destPixels);
    forEachPlacedPixel(b, [&](std::uint32_t s, int dx, int dy) {
        std::uint32_t& d = dest[destIndex(b, dx, dy)];
        const std::uint32_t blue = (channel(s, 0) + channel(d, 0)) / 2;
        const std::uint32_t green = (channel(s, 8) + channel(d, 8)) / 2;
        const std::uint32_t upper = ((s >> 16) + (d >> 16)) / 2;
        d = (upper << 16) | (green << 8) | blue;
    });
}

void addKeyed(const FrameBuffer& b) {
    auto* dest = static_cast<std::uint32_t*>(b.destPixels);
    forEachPlacedPixel(b, [&](std::uint32_t s, int dx, int dy) {
        if (s == b.keyColor) {
            return;
        }
        std::uint32_t& d = dest[destIndex(b, dx, dy)];
        std::uint32_t result = s & 0xFF000000u;
        for (const int shift : channelShifts) {
            const std::uint32_t sum = channel(s, shift) + channel(d, shift);
            result |= (sum <= 255 ? sum : 255u) << shift;
        }
        d = result;
    });
}

void convertTo16(const FrameBuffer& b) {
    forEachPlacedPixel(b, [&](std::uint32_t s, int dx, int dy) {
        const std::uint32_t red = channel(s, 16) >> 3;
        const std::uint32_t green = channel(s, 8) >> 2;
        const std::uint32_t blue = channel(s, 0) >> 3;
        b.destPixels16[destIndex(b, dx, dy)] =
            static_cast<std::uint16_t>((red << 11) | (green << 5) | blue);
    });
}

void convertTo24(const FrameBuffer& b) {
    auto* dest = static_cast<std::uint8_t*>(b.destPixels);
    if (b.pixels == nullptr) {
        return;
    }
    for (int sy = 0; sy < b.height; ++sy) {
        // Only the first multiple of four of the row's placed pixels is converted.
        int placed = 0;
        forEachPlacedPixel(b, sy, [&](std::uint32_t, int, int) { ++placed; });
        const int converted = placed / 4 * 4;
        int done = 0;
        forEachPlacedPixel(b, sy, [&](std::uint32_t s, int dx, int dy) {
            if (done++ >= converted) {
                return;
            }
            std::uint8_t* out = dest + destIndex(b, dx, dy) * 3;
            const bool last = done == converted;
            out[0] = last ? 0 : static_cast<std::uint8_t>(channel(s, 0));
            out[1] = last ? 0 : static_cast<std::uint8_t>(channel(s, 8));
            out[2] = last ? 0 : static_cast<std::uint8_t>(channel(s, 16));
        });
    }
}

} // namespace vardel::reference
