#include "render/ReferenceFillers.h"

#include <algorithm>

#include "render/ShadedFill.h"
#include "render/TexturedFillers.h"

namespace vardel::reference {

void fillShadedTriangle(const RasterTriangle& t, bool depth) {
    fillShadedRows(t, depth,
                   [&](const ShadedSetup& s, int y, int first, int end, const ShadedEdge& left) {
                       double w = left.w;
                       for (int x = first; x < end; ++x) {
                           // Channel k pixels into the span: start + k x step, held to 0..255.
                           const std::int64_t k = x - first;
                           std::uint32_t channel[3];
                           for (int c = 0; c < 3; ++c) {
                               channel[c] = heldChannel(left.channel[c] + k * s.step[c]);
                           }
                           const std::size_t index = static_cast<std::size_t>(y) * t.pitch() + x;
                           if (!depth || t.depth[index] < static_cast<float>(w)) {
                               if (depth) {
                                   t.depth[index] = static_cast<float>(w);
                               }
                               t.pixels[index] = shadedPixel(channel[0], channel[1], channel[2]);
                           }
                           w += s.depthStep;
                       }
                   });
}

void fillTexturedTriangle(const RasterTriangle& t, bool mono, bool depth) {
    const Texture& texture = *t.texture;
    const MultiplyTable& table = *t.shadeTable;
    fillTexturedRows(
        t, mono, depth,
        [&](const TexturedSetup& s, int y, int first, int end, const SpanStart& start,
            const std::array<std::int32_t, 3>& startIntensity) {
            double u = start.u;
            double v = start.v;
            double w = start.w;
            std::int32_t ua = texelFixed(u, w);
            std::int32_t va = texelFixed(v, w);
            std::int32_t tu = 0;
            std::int32_t tv = 0;
            std::int32_t du = 0;
            std::int32_t dv = 0;
            double pixelW = 0.0;
            std::int64_t level[3];
            for (int c = 0; c < 3; ++c) {
                level[c] = startIntensity[c] >> 8;
            }
            for (int x = first; x < end; ++x) {
                if ((x - first) % kBlockPixels == 0) {
                    pixelW = w;
                    u += s.uStep * kBlockPixels;
                    v += s.vStep * kBlockPixels;
                    w += s.wStep * kBlockPixels;
                    const std::int32_t ub = texelFixed(u, w);
                    const std::int32_t vb = texelFixed(v, w);
                    du = (ub - ua) / 16 - ((ub - ua) % 16 < 0 ? 1 : 0); // floor division
                    dv = (vb - va) / 16 - ((vb - va) % 16 < 0 ? 1 : 0);
                    tu = ua + 0x8000;
                    tv = va + 0x8000;
                    ua = ub;
                    va = vb;
                }
                const int column =
                    std::clamp(tu / 65536 - (tu % 65536 < 0 ? 1 : 0), 0, texture.width - 1);
                const int row =
                    std::clamp(tv / 65536 - (tv % 65536 < 0 ? 1 : 0), 0, texture.height - 1);
                const std::uint32_t texel =
                    texture.pixels[static_cast<std::size_t>(row) * texture.width + column];
                int tableRow[3];
                for (int c = 0; c < 3; ++c) {
                    // RGB: 16-bit accumulators; mono: the 32-bit one, its row held to 0..255.
                    tableRow[c] = mono ? std::clamp(static_cast<std::int32_t>(
                                                        static_cast<std::uint32_t>(level[0])) >>
                                                        8,
                                                    0, 255)
                                       : static_cast<int>((level[c] & 0xFFFF) >> 8);
                }
                const std::uint32_t shaded =
                    table.at(tableRow[2], texel & 0xFF) |
                    static_cast<std::uint32_t>(table.at(tableRow[1], (texel >> 8) & 0xFF)) << 8 |
                    static_cast<std::uint32_t>(table.at(tableRow[0], (texel >> 16) & 0xFF)) << 16 |
                    (texel & 0xFF000000u);
                const std::size_t index = static_cast<std::size_t>(y) * t.pitch() + x;
                if (!depth || t.depth[index] < static_cast<float>(pixelW)) {
                    if (depth) {
                        t.depth[index] = static_cast<float>(pixelW);
                    }
                    t.pixels[index] = shaded;
                }
                pixelW += s.wStep;
                tu += du;
                tv += dv;
                for (int c = 0; c < 3; ++c) {
                    level[c] = (level[c] + s.intensityStep[c]) & 0xFFFFFFFF;
                }
            }
        });
}

} // namespace vardel::reference
