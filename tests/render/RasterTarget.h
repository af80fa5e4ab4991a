#pragma once

// Test targets with guard bands, and triangles that own their corner records.

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "render/RasterTriangle.h"
#include "scene/MultiplyTable.h"
#include "scene/Texture.h"

namespace vardel::test {

inline constexpr std::uint32_t kSentinel = 0xA5A5A5A5u; // top byte set: no filler writes it

// A frame buffer and depth buffer (pitch width + rowPadding) inside larger blocks. The guard
// bands and the padding at the end of each row hold sentinels that no drawing call may touch.
class RasterTarget {
public:
    RasterTarget(int width, int height, int rowPadding = 0);

    RasterTriangle record(bool withDepth) const;
    std::uint32_t& pixel(int x, int y) { return pixels[index(x, y)]; }
    float& depthAt(int x, int y) { return depths[index(x, y)]; }
    bool written(int x, int y) const { return pixels[index(x, y)] != kSentinel; }
    bool guardsIntact() const;
    int countWritten() const;
    // Pixels inside the target whose colour or depth differ from other's.
    int differences(const RasterTarget& other) const;

    const int width;
    const int height;
    const int rowPadding;

private:
    static constexpr std::size_t kGuard = 1024;
    std::size_t index(int x, int y) const {
        return kGuard + static_cast<std::size_t>(y) * (width + rowPadding) + x;
    }
    mutable std::vector<std::uint32_t> pixels;
    mutable std::vector<float> depths; // 0 (far) inside the target, -7 outside
    MultiplyTable table;
};

// A triangle with its own corner records; record() points a RasterTriangle at them.
struct Triangle {
    std::array<ScreenVertex, 3> screen{};
    std::array<VertexShade, 3> shade{{{1, 1, 1}, {1, 1, 1}, {1, 1, 1}}};
    std::array<TexCoord, 3> uv{};
    std::uint32_t color = 0x00FFFFFF;
    const Texture* texture = nullptr;
    bool mono = false;

    RasterTriangle record(const RasterTarget& target, bool withDepth) const;
};

// A size x size texture (up to 256) whose texel (c, r) is 0x00ccrr00: a pixel tells which
// texel it shows.
Texture coordinateTexture(int size = 256);

// Corners anywhere in x0..x1 by y0..y1 with depths 1..50, shades in 0..1 (or -0.5..1.5) and
// texture coordinates over and past a 64 x 64 texture.
Triangle randomTriangle(std::mt19937& random, double x0, double x1, double y0, double y1,
                        bool shadesOutOfRange = false);

} // namespace vardel::test
