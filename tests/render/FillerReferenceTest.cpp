// The fast fillers against their plain per-pixel versions: same pixels, same depths.

#include <gtest/gtest.h>

#include "RasterTarget.h"
#include "render/ReferenceFillers.h"
#include "render/ShadedTriangle.h"
#include "render/TexturedTriangle.h"

namespace vardel {
namespace {

// Random triangles, small to screen-sized, with shades beyond 0..1 and texture coordinates past
// the border or, at nearly equal depths, up to it, drawn over a depth buffer of random values so
// that the test goes both ways.
TEST(FillerReference, FastFillersWriteWhatThePlainOnesWrite) {
    const struct {
        test::Draw fast;
        bool textured, mono, depth;
    } variants[] = {{fillShadedTriangle, false, false, false},
                    {fillShadedTriangleDepth, false, false, true},
                    {fillTexturedTriangle, true, false, false},
                    {fillTexturedTriangleMono, true, true, false},
                    {fillTexturedTriangleDepth, true, false, true},
                    {fillTexturedTriangleMonoDepth, true, true, true}};
    std::mt19937 random(20240611);
    const Texture texture = test::coordinateTexture();
    std::vector<float> depths(320 * 240);
    for (float& d : depths)
        d = std::uniform_real_distribution<float>(0.0f, 0.5f)(random);
    for (const auto& v : variants) {
        for (int i = 0; i < 100; ++i) {
            const double size = i % 3 == 0 ? 319.0 : 40.0;
            const double x = std::uniform_real_distribution<double>(0, 319 - size)(random);
            const double y = std::uniform_real_distribution<double>(0, 239 - size * 0.75)(random);
            test::Triangle t = test::randomTriangle(random, x, x + size, y, y + size * 0.75, true);
            if (i % 4 >= 2) { // texel coordinates linear, up to the texture's borders
                for (std::size_t k = 0; k < 3; ++k) {
                    t.screen[k].z = 10.0 + 0.01 * static_cast<double>(k);
                    t.uv[k] = {256.0 * t.uv[k].u / 72.0, 256.0 * t.uv[k].v / 72.0};
                }
            }
            t.texture = &texture;
            t.mono = i % 2 == 1;
            test::RasterTarget fast(320, 240, 8), plain(320, 240, 8);
            fast.forEach([&](int px, int py) {
                fast.depthAt(px, py) = plain.depthAt(px, py) = depths[py * 320 + px];
            });
            v.fast(t.record(fast, v.depth));
            if (v.textured)
                reference::fillTexturedTriangle(t.record(plain, v.depth), v.mono, v.depth);
            else
                reference::fillShadedTriangle(t.record(plain, v.depth), v.depth);
            ASSERT_TRUE(fast.same(plain)) << i;
            ASSERT_TRUE(fast.guardsIntact()) << i;
        }
    }
}

} // namespace
} // namespace vardel
