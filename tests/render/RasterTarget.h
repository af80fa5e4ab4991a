#pragma once

// Test targets with guard bands, and triangles that own their corner records.

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "render/Avx2.h"
#include "render/RasterTriangle.h"
#include "scene/MultiplyTable.h"
#include "scene/Texture.h"

namespace vardel::test {

inline constexpr std::uint32_t kSentinel = 0xA5A5A5A5u; // top byte set: no filler writes it

// A frame buffer and depth buffer (pitch width + rowPadding) inside larger blocks. The guard
// bands and the padding at the end of each row hold sentinels that no drawing call may touch.
class RasterTarget {
public:
    RasterTarget(int width, int height, int rowPadding = 0)
        : width(width), height(height), rowPadding(rowPadding),
          pixels(2 * kGuard + std::size_t(width + rowPadding) * std::size_t(height), kSentinel),
          depths(pixels.size(), -7.0f) {
        forEach([&](int x, int y) { depthAt(x, y) = 0.0f; }); // far inside, -7 outside
    }

    RasterTriangle record(bool withDepth) const {
        RasterTriangle t;
        t.pixels = pixels.data() + kGuard;
        t.depth = withDepth ? depths.data() + kGuard : nullptr;
        t.shadeTable = &table;
        t.width = width;
        t.height = height;
        t.rowPadding = rowPadding;
        t.eightWide = eightWide;
        return t;
    }
    std::uint32_t& pixel(int x, int y) { return pixels[index(x, y)]; }
    float& depthAt(int x, int y) { return depths[index(x, y)]; }
    bool written(int x, int y) const { return pixels[index(x, y)] != kSentinel; }
    template <class F> void forEach(F f) const {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                f(x, y);
    }
    bool guardsIntact() const {
        auto intact = [&](std::size_t from, std::size_t to) {
            for (; from < to; ++from)
                if (pixels[from] != kSentinel || depths[from] != -7.0f)
                    return false;
            return true;
        };
        bool ok = intact(0, kGuard) && intact(index(0, height), pixels.size());
        for (int y = 0; y < height && ok; ++y)
            ok = intact(index(width, y), index(0, y + 1)); // the row's padding
        return ok;
    }
    // Pixels written inside or outside the target.
    int countWritten() const {
        return int(pixels.size()) - int(std::count(pixels.begin(), pixels.end(), kSentinel));
    }
    // Same colours and depths everywhere, guards included.
    bool same(const RasterTarget& other) const {
        return pixels == other.pixels && depths == other.depths;
    }

    const int width;
    const int height;
    const int rowPadding;
    bool eightWide = avx2Usable(); // as the program's records: the widest groups there are

private:
    static constexpr std::size_t kGuard = 1024;
    std::size_t index(int x, int y) const {
        return kGuard + static_cast<std::size_t>(y) * std::size_t(width + rowPadding) +
               std::size_t(x);
    }
    mutable std::vector<std::uint32_t> pixels;
    mutable std::vector<float> depths;
    MultiplyTable table;
};

using Draw = void (*)(const RasterTriangle&);

// The group widths the loops can take here: four, and eight where the processor has AVX2.
inline std::vector<bool> groupWidths() {
    return avx2Usable() ? std::vector<bool>{false, true} : std::vector<bool>{false};
}

using Corners = std::array<ScreenVertex, 3>;

// A triangle with its own corner records; record() points a RasterTriangle at them.
struct Triangle {
    Corners screen{};
    std::array<VertexShade, 3> shade{{{1, 1, 1}, {1, 1, 1}, {1, 1, 1}}};
    std::array<TexCoord, 3> uv{};
    std::uint32_t color = 0x00FFFFFF;
    const Texture* texture = nullptr;
    bool mono = false;

    RasterTriangle record(const RasterTarget& target, bool withDepth) const {
        RasterTriangle t = target.record(withDepth);
        for (std::size_t k = 0; k < 3; ++k) {
            t.screen[k] = &screen[k];
            t.shade[k] = &shade[k];
            t.uv[k] = &uv[k];
        }
        t.color = color;
        t.texture = texture;
        t.mono = mono ? 1 : 0;
        return t;
    }
};

inline Triangle triangle(const Corners& corners, const Texture* texture = nullptr) {
    Triangle t;
    t.screen = corners;
    t.texture = texture;
    return t;
}

// A size x size texture (up to 256) whose texel (c, r) is 0x00ccrr00: a pixel tells which
// texel it shows.
inline Texture coordinateTexture(int size = 256) {
    Texture texture{{}, size, size, 0};
    for (int i = 0; i < size * size; ++i)
        texture.pixels.push_back(std::uint32_t(i % size) << 16 | std::uint32_t(i / size) << 8);
    return texture;
}

// Corners anywhere in x0..x1 by y0..y1 with depths 1..50, shades in 0..1 (or -0.5..1.5) and
// texture coordinates over and past a 64 x 64 texture.
inline Triangle randomTriangle(std::mt19937& random, double x0, double x1, double y0, double y1,
                               bool shadesOutOfRange = false) {
    auto in = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    const double s0 = shadesOutOfRange ? -0.5 : 0.0, s1 = shadesOutOfRange ? 1.5 : 1.0;
    Triangle t;
    for (std::size_t k = 0; k < 3; ++k) {
        t.screen[k] = {in(x0, x1), in(y0, y1), in(1.0, 50.0)};
        t.shade[k] = {in(s0, s1), in(s0, s1), in(s0, s1)};
        t.uv[k] = {in(-8.0, 72.0), in(-8.0, 72.0)};
    }
    t.color = static_cast<std::uint32_t>(random()) & 0x00FFFFFFu;
    return t;
}

} // namespace vardel::test
