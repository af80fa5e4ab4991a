#include "render/ReferenceFillers.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/ShadedFill.h"
#include "render/TexturedFillers.h"

namespace vardel::reference {

namespace {

// a / m rounded down, written out, held to the int range.
int floorDivide(std::int64_t a, int m) {
    return static_cast<int>(std::clamp<double>(std::floor(static_cast<double>(a) / m),
                                               std::numeric_limits<int>::min(),
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
    fillTexturedRows(
        t, mono, depth,
        [&](const TexturedSetup& s, int y, int first, int end, const TexturedSpanStart& start) {
            // Pixel i of the span with texel coordinates u and v (16.16); 1/z is held to the
            // corners' range.
            auto pixel = [&](int i, std::int64_t u, std::int64_t v) {
                const int column = std::clamp(floorDivide(u, 65536), 0, texture.width - 1);
                const int row = std::clamp(floorDivide(v, 65536), 0, texture.height - 1);
                const std::uint32_t texel =
                    texture.pixels[static_cast<std::size_t>(row) * texture.width + column];
                int tableRow[3];
                for (int c = 0; c < 3; ++c) {
                    const int from = mono ? 0 : c;
                    const std::int64_t level =
                        std::clamp(start.level[from] + i * s.step[from], s.low[from], s.high[from]);
                    tableRow[c] = static_cast<int>(level / 65536);
                }
                const std::uint32_t shaded =
                    table.at(tableRow[2], texel & 0xFF) |
                    static_cast<std::uint32_t>(table.at(tableRow[1], (texel >> 8) & 0xFF)) << 8 |
                    static_cast<std::uint32_t>(table.at(tableRow[0], (texel >> 16) & 0xFF)) << 16 |
                    (texel & 0xFF000000u);
                put(t, first + i, y, std::clamp(start.w + i * s.w.dx, s.wLow, s.wHigh), depth,
                    shaded);
            };
            forEachSegment(s, start, end - first, mono ? 1 : 3, [&](const TexelSegment& g) {
                for (int i = 0; i < g.pixels; ++i) {
                    pixel(g.first + i, g.u + std::int64_t{i} * g.du, g.v + std::int64_t{i} * g.dv);
                }
            });
        });
}

} // namespace vardel::reference
