#include "RasterTarget.h"

#include <algorithm>

namespace vardel::test {

RasterTarget::RasterTarget(int width, int height, int rowPadding)
    : width(width), height(height), rowPadding(rowPadding),
      pixels(2 * kGuard + static_cast<std::size_t>(width + rowPadding) * height, kSentinel),
      depths(pixels.size(), -7.0f) {
    for (int y = 0; y < height; ++y) {
        std::fill_n(depths.begin() + static_cast<std::ptrdiff_t>(index(0, y)), width, 0.0f);
    }
}

RasterTriangle RasterTarget::record(bool withDepth) const {
    RasterTriangle t;
    t.pixels = pixels.data() + kGuard;
    t.depth = withDepth ? depths.data() + kGuard : nullptr;
    t.shadeTable = &table;
    t.width = width;
    t.height = height;
    t.rowPadding = rowPadding;
    return t;
}

bool RasterTarget::guardsIntact() const {
    auto intact = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            if (pixels[i] != kSentinel || depths[i] != -7.0f) {
                return false;
            }
        }
        return true;
    };
    bool ok = intact(0, kGuard) && intact(index(0, height), pixels.size());
    for (int y = 0; y < height && ok; ++y) {
        ok = intact(index(width, y), index(0, y + 1)); // the row's padding
    }
    return ok;
}

int RasterTarget::countWritten() const {
    int count = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            count += written(x, y) ? 1 : 0;
        }
    }
    return count;
}

int RasterTarget::differences(const RasterTarget& other) const {
    int count = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = index(x, y);
            count += pixels[i] != other.pixels[i] || depths[i] != other.depths[i] ? 1 : 0;
        }
    }
    return count;
}

RasterTriangle Triangle::record(const RasterTarget& target, bool withDepth) const {
    RasterTriangle t = target.record(withDepth);
    for (int k = 0; k < 3; ++k) {
        t.screen[k] = &screen[k];
        t.shade[k] = &shade[k];
        t.uv[k] = &uv[k];
    }
    t.color = color;
    t.texture = texture;
    t.mono = mono ? 1 : 0;
    return t;
}

Texture coordinateTexture(int size) {
    Texture texture{{}, size, size, 0};
    for (std::uint32_t r = 0; r < static_cast<std::uint32_t>(size); ++r) {
        for (std::uint32_t c = 0; c < static_cast<std::uint32_t>(size); ++c) {
            texture.pixels.push_back(c << 16 | r << 8);
        }
    }
    return texture;
}

Triangle randomTriangle(std::mt19937& random, double x0, double x1, double y0, double y1,
                        bool shadesOutOfRange) {
    std::uniform_real_distribution<double> x(x0, x1);
    std::uniform_real_distribution<double> y(y0, y1);
    std::uniform_real_distribution<double> z(1.0, 50.0);
    std::uniform_real_distribution<double> s(shadesOutOfRange ? -0.5 : 0.0,
                                             shadesOutOfRange ? 1.5 : 1.0);
    std::uniform_real_distribution<double> uv(-8.0, 72.0);
    Triangle t;
    for (int k = 0; k < 3; ++k) {
        t.screen[k] = {x(random), y(random), z(random)};
        t.shade[k] = {s(random), s(random), s(random)};
        t.uv[k] = {uv(random), uv(random)};
    }
    t.color = static_cast<std::uint32_t>(random()) & 0x00FFFFFFu;
    return t;
}

} // namespace vardel::test
