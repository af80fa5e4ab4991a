#include "render/ReferenceFillers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "render/ShadedFill.h"
#include "render/TexturedFillers.h"

namespace vardel::reference {

namespace {

// a / m rounded down (m positive), written out, held to the int range.
int floorDivide(std::int64_t a, std::int64_t m) {
    const std::int64_t quotient = a / m - (a % m < 0 ? 1 : 0);
    return static_cast<int>(std::clamp<std::int64_t>(quotient, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// The depth test and write of one pixel, or the write alone without a depth buffer.
void put(const RasterTriangle& t, int x, int y, double w, bool depth, std::uint32_t color) {
    const std::size_t index = static_cast<std::size_t>(y) * t.pitch() + x;
    if (depth) {
        if (!(t.depth[index] < static_cast<float>(w))) {
            return;
        }
        t.depth[index] = static_cast<float>(w);
    }
    t.pixels[index] = color;
}

} // namespace

void fillShadedTriangle(const RasterTriangle& t, bool depth) {
    fillShadedRows(
        t, depth,
        [&](const ShadedSetup& s, int y, int first, int end, const ShadedSpanStart& start) {
            for (int x = first; x < end; ++x) {
                // Channels and 1/z k pixels into the span: start + k x step, held to the range.
                const std::int64_t k = x - first;
                std::uint32_t channel[3];
                for (int c = 0; c < 3; ++c) {
                    channel[c] = static_cast<std::uint32_t>(
                        std::clamp(start.channel[c] + k * s.step[c], s.low[c], s.high[c]));
                }
                put(t, x, y,
                    std::clamp(start.w + static_cast<double>(k) * s.depth.dx, s.depthLow,
                               s.depthHigh),
                    depth,
                    (channel[0] & 0x00FF0000u) | ((channel[1] >> 8) & 0x0000FF00u) |
                        (channel[2] >> 16));
            }
        });
}

void fillTexturedTriangle(const RasterTriangle& t, bool mono, bool depth) {
    const Texture& texture = *t.texture;
    const MultiplyTable& table = *t.shadeTable;
    // The pixel at column x of row y: texel coordinates u and v and levels (multiply-table rows,
    // red, green, blue) before holding to the texture and the table, and 1/z.
    auto pixel = [&](int x, int y, double u, double v, const std::array<double, 3>& level,
                     double w) {
        const auto held = [](double q, int last) {
            return static_cast<int>(std::clamp(std::floor(q), 0.0, static_cast<double>(last)));
        };
        const std::uint32_t texel =
            texture.pixels[static_cast<std::size_t>(held(v, texture.height - 1)) * texture.width +
                           held(u, texture.width - 1)];
        int tableRow[3];
        for (int c = 0; c < 3; ++c) {
            tableRow[c] = held(level[mono ? 0 : c], 255);
        }
        const std::uint32_t shaded =
            table.at(tableRow[2], texel & 0xFF) |
            static_cast<std::uint32_t>(table.at(tableRow[1], (texel >> 8) & 0xFF)) << 8 |
            static_cast<std::uint32_t>(table.at(tableRow[0], (texel >> 16) & 0xFF)) << 16 |
            (texel & 0xFF000000u);
        put(t, x, y, w, depth, shaded);
    };
    const int channels = mono ? 1 : 3;
    const auto spans = [&](const TexturedSetup& s, int y, int first, int end, const auto& start) {
        if constexpr (std::is_same_v<std::decay_t<decltype(start)>, FixedSpanStart>) {
            // Pixel i: the start plus i steps of the fixed planes, integer parts taken.
            for (int i = 0; i < end - first; ++i) {
                const auto whole = [&](std::int64_t at, std::int64_t step) {
                    return static_cast<double>(floorDivide(at + i * step, 1LL << 32));
                };
                std::array<double, 3> level{};
                for (int c = 0; c < channels; ++c) {
                    level[c] = whole(start.level[c], s.levelFixed[c].dx);
                }
                pixel(first + i, y, whole(start.u, s.uFixed.dx), whole(start.v, s.vFixed.dx), level,
                      std::clamp(start.w + i * s.w.dx, s.wLow, s.wHigh));
            }
        } else {
            // Segment by segment: 16.16 texel coordinates, 16.16 levels held to their range.
            forEachSegment(s, start, end - first, channels, [&](const TexelSegment& g) {
                for (int n = 0; n < g.pixels; ++n) {
                    const int i = g.first + n;
                    std::array<double, 3> level{};
                    for (int c = 0; c < channels; ++c) {
                        level[c] = static_cast<double>(
                            std::clamp(start.level[c] + i * s.step[c], s.low[c], s.high[c]) /
                            65536);
                    }
                    pixel(first + i, y, floorDivide(g.u + std::int64_t{n} * g.du, 65536),
                          floorDivide(g.v + std::int64_t{n} * g.dv, 65536), level,
                          std::clamp(start.w + i * s.w.dx, s.wLow, s.wHigh));
                }
            });
        }
    };
    fillTexturedRows(t, mono, depth, spans);
}

} // namespace vardel::reference
