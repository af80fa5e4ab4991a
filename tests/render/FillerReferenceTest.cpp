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
    // Blue and the top byte filled in too: blue is scaled, the top byte passes unchanged.
    Texture texture = test::coordinateTexture();
    for (std::uint32_t& texel : texture.pixels)
        texel |= (texel * 2654435761u >> 8 & 0xFF) | (texel * 40503u & 0xFF000000u);
    std::vector<float> depths(320 * 240);
    for (float& d : depths)
        d = std::uniform_real_distribution<float>(0.0f, 0.5f)(random);
    for (const auto& v : variants) {
        for (int i = 0; i < 200; ++i) {
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
            fast.eightWide = avx2Usable() && i / 4 % 2 == 0; // groups of four or eight pixels
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

// Small triangles that pass through one another, drawn in turn over the same depth buffer, as
// the puffs of a cloud are: where one lies partly behind another, many of its short spans are
// hidden whole, and the stored 1/z lie between those of a span's two ends where they cross.
// Each is then drawn again with another texture, which must change nothing: at equal depth
// what was drawn first stays.
TEST(FillerReference, CrossingSmallTrianglesHideWhatThePlainFillersHide) {
    const Texture texture = test::coordinateTexture(64);
    Texture other = texture;
    for (std::uint32_t& texel : other.pixels)
        texel ^= 0x00FFFFFFu;
    std::mt19937 random(7);
    const auto in = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    for (const bool eightWide : test::groupWidths()) { // short spans as one group of eight
        for (const bool mono : {false, true}) {
            test::RasterTarget fast(64, 48, 4), plain(64, 48, 4);
            fast.eightWide = eightWide;
            fast.forEach([&](int x, int y) { fast.depthAt(x, y) = plain.depthAt(x, y) = 0.0f; });
            for (int i = 0; i < 400; ++i) {
                // Corners near one another, at depths 20 to 21, with texel coordinates well inside
                // the texture: the fixed-point course, spans of up to about a dozen pixels.
                const double x = in(0.0, 52.0), y = in(0.0, 36.0);
                test::Triangle t = test::triangle({}, &texture);
                for (std::size_t k = 0; k < 3; ++k) {
                    t.screen[k] = {x + in(0.0, 12.0), y + in(0.0, 12.0), in(20.0, 21.0)};
                    t.uv[k] = {in(16.0, 48.0), in(16.0, 48.0)};
                    t.shade[k] = {in(0.1, 0.9), in(0.1, 0.9), in(0.1, 0.9)};
                }
                t.mono = mono;
                const test::Draw fill =
                    mono ? fillTexturedTriangleMonoDepth : fillTexturedTriangleDepth;
                fill(t.record(fast, true));
                reference::fillTexturedTriangle(t.record(plain, true), mono, true);
                ASSERT_TRUE(fast.same(plain)) << "triangle " << i << (mono ? " (mono)" : "");
                t.texture = &other;
                fill(t.record(fast, true));
                ASSERT_TRUE(fast.same(plain))
                    << "triangle " << i << " again" << (mono ? " (mono)" : "");
            }
        }
    }
}

// Triangles on the fixed-point course (one depth, texels inside the texture) with a side along
// the target's first or last column or one column past it, drawn whole and as a band that
// starts below their top: what the plain filler draws, and nothing past the target's sides or
// above the band.
TEST(FillerReference, LinearTrianglesAtTheTargetsSidesAndAboveItsBand) {
    const Texture texture = test::coordinateTexture(64);
    for (const double side : {-1.0, 0.0, 1.0, 47.0, 48.0, 49.0}) {
        const double inner = side < 24.0 ? side + 20.0 : side - 20.0;
        test::Triangle t =
            test::triangle({{{side, 2.0, 4.0}, {side, 30.0, 4.0}, {inner, 16.0, 4.0}}}, &texture);
        t.uv = {{{8.0, 8.0}, {8.0, 56.0}, {56.0, 32.0}}};
        t.shade.fill({0.5, 0.5, 0.5});
        for (const int bandTop : {0, 9}) {
            for (const bool depth : {false, true}) {
                test::RasterTarget fast(48, 32, 4), plain(48, 32, 4);
                RasterTriangle drawn = t.record(fast, depth);
                RasterTriangle planned = t.record(plain, depth);
                drawn.firstRow = planned.firstRow = bandTop;
                (depth ? fillTexturedTriangleDepth : fillTexturedTriangle)(drawn);
                reference::fillTexturedTriangle(planned, false, depth);
                EXPECT_TRUE(fast.same(plain)) << side << ", band from " << bandTop;
                EXPECT_TRUE(fast.guardsIntact()) << side << ", band from " << bandTop;
                EXPECT_GT(fast.countWritten(), 200) << side << ", band from " << bandTop;
            }
        }
    }
}

// Short spans go as groups of eight only where the groups stay within their row. Here the
// buffers end with the target's last row, whose spans of 9 to 16 pixels end at its right side:
// a group reaching past the row would read depths past them (AddressSanitizer's builds catch
// that; its masked stores write nothing there), and the pixels must still be the plain filler's.
TEST(FillerReference, GroupsStayWithinTheLastRowOfExactlySizedBuffers) {
    const Texture texture = test::coordinateTexture(64);
    constexpr int kWidth = 40;
    constexpr int kHeight = 20;
    for (const double span : {9.0, 12.0, 16.0}) {
        const double right = kWidth;
        const double bottom = kHeight - 1.0;
        test::Triangle t = test::triangle(
            {{{right - span, bottom, 4.0}, {right, bottom, 4.0}, {right, 4.0, 4.0}}}, &texture);
        t.uv = {{{8.0, 56.0}, {56.0, 56.0}, {56.0, 8.0}}};
        std::vector<std::uint32_t> pixels[2];
        std::vector<float> depths[2];
        test::RasterTarget shape(kWidth, kHeight);
        for (int k = 0; k < 2; ++k) {
            pixels[k].assign(std::size_t{kWidth} * kHeight, 0u);
            depths[k].assign(pixels[k].size(), 0.0f);
            RasterTriangle r = t.record(shape, true);
            r.pixels = pixels[k].data();
            r.depth = depths[k].data();
            k == 0 ? fillTexturedTriangleDepth(r) : reference::fillTexturedTriangle(r, false, true);
        }
        EXPECT_EQ(pixels[0], pixels[1]) << span;
        EXPECT_EQ(depths[0], depths[1]) << span;
        EXPECT_NE(pixels[0].back(), 0u) << span; // the last row reaches the corner
    }
}

// Textures taller or wider than 32767 texels, whose 16.16 coordinates need not fit 32 bits and
// whose row x width does not fit the groups' 16-bit halves. Screen-wide triangles reach texels
// past row or column 32767: at one depth and far enough inside the texture for the fixed-point
// course, at one depth up to its border (the linear course of other triangles), and receding.
TEST(FillerReference, TexturesPast32767TexelsASideAreDrawnAsThePlainFillersDrawThem) {
    const auto texture = [](int width, int height) {
        Texture made{{}, width, height, 0};
        for (int i = 0; i < width * height; ++i)
            made.pixels.push_back(std::uint32_t(i) * 2654435761u & 0x00FFFFFFu);
        return made;
    };
    const Texture tall = texture(3, 40000), wide = texture(40000, 3);
    const struct {
        const char* name;
        double recede, margin; // depth added per corner; texels kept from the border
    } layouts[] = {{"inside", 0.0, 300.0}, {"to the border", 0.0, 0.0}, {"receding", 6.0, 0.0}};
    const test::Draw fillers[] = {fillTexturedTriangle, fillTexturedTriangleMonoDepth};
    for (const Texture* used : {&tall, &wide}) {
        // Along the long side and across the short one (3 texels, 1 kept inside or none).
        const auto at = [&](double along, double across) {
            return used == &tall ? TexCoord{across, along} : TexCoord{along, across};
        };
        for (const auto& layout : layouts) {
            const double m = layout.margin, r = layout.recede;
            test::Triangle t = test::triangle(
                {{{5.5, 3.2, 10.0}, {314.1, 20.7, 10.0 + r}, {40.3, 236.9, 10.0 + 2 * r}}}, used);
            const double edge = m > 0.0 ? 1.0 : 0.0;
            t.uv = {at(m, edge), at(40000.0 - m, 3.0 - edge), at(20000.0, 1.5)};
            t.shade = {{{0.9, 0.5, 0.2}, {0.3, 0.8, 0.6}, {0.7, 0.4, 0.95}}};
            for (const test::Draw fill : fillers) {
                const bool depth = fill == fillTexturedTriangleMonoDepth;
                t.mono = depth;
                test::RasterTarget fast(320, 240, 8), plain(320, 240, 8);
                fill(t.record(fast, depth));
                reference::fillTexturedTriangle(t.record(plain, depth), t.mono, depth);
                EXPECT_TRUE(fast.same(plain))
                    << (used == &tall ? "tall" : "wide") << " texture, " << layout.name;
            }
        }
    }
}

} // namespace
} // namespace vardel
