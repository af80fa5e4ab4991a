// The fillers against the exact reference, which shares nothing with them: on random triangles
// of every awkward kind they cover the same pixels apart from edge pixels, show a texel within
// one of the exact one (off the triangle's own corners, of either exact one: by the held or the
// unheld 1/z), a shade within one level, and depths within the corners' range.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <string>

#include "RasterTarget.h"
#include "fidelity/ExactRaster.h"
#include "render/ShadedTriangle.h"
#include "render/TexturedTriangle.h"

namespace vardel {
namespace {

using test::RasterTarget;

// The pixels the reference finds, by position.
class Found : public exact::PixelObserver {
public:
    void pixel(const exact::Pixel& p) override { at[{p.x, p.y}] = p; }
    const exact::Pixel* find(int x, int y) const {
        const auto it = at.find({x, y});
        return it == at.end() ? nullptr : &it->second;
    }
    std::map<std::pair<int, int>, exact::Pixel> at;
};

// Faults found by comparing one drawing with the reference.
struct Faults {
    int missing = 0;  // an inside pixel left undrawn
    int extra = 0;    // an outside pixel drawn
    int texel = 0;    // a texel more than one away in column or row
    int level = 0;    // a shade more than one level away
    int depth = 0;    // a stored 1/z outside the corners' range
    int compared = 0; // pixels drawn by both
    int total() const { return missing + extra + texel + level + depth; }
};

std::string describe(const Faults& f) {
    return "missing " + std::to_string(f.missing) + ", extra " + std::to_string(f.extra) +
           ", texel " + std::to_string(f.texel) + ", level " + std::to_string(f.level) +
           ", depth " + std::to_string(f.depth) + " of " + std::to_string(f.compared);
}

// What a drawn pixel tells: a coordinate texture at full shade gives the texel, a white one the
// shade levels; a shaded pixel gives its channels.
enum class Probe { Texel, Level };

// Draws t with the renderer and with the reference on empty targets (depth cleared to far) and
// adds up what differs.
void compare(const test::Triangle& t, bool withDepth, Probe probe, Faults& faults) {
    RasterTarget fast(320, 240, 3), exactTarget(320, 240, 3);
    const RasterTriangle drawn = t.record(fast, withDepth);
    if (t.texture != nullptr)
        drawTexturedTriangle(drawn);
    else
        drawShadedTriangle(drawn);
    Found found;
    exact::drawTriangle(t.record(exactTarget, withDepth), &found);

    double wLow = 1e300, wHigh = 0;
    for (const ScreenVertex& s : t.screen) {
        wLow = std::min(wLow, 1.0 / s.z);
        wHigh = std::max(wHigh, 1.0 / s.z);
    }
    fast.forEach([&](int x, int y) {
        const exact::Pixel* p = found.find(x, y);
        const bool written = fast.written(x, y);
        if (p == nullptr || p->coverage == exact::Coverage::Outside) {
            faults.extra += written;
            return;
        }
        if (!written) {
            faults.missing += p->coverage == exact::Coverage::Inside;
            return;
        }
        ++faults.compared;
        const std::uint32_t pixel = fast.pixel(x, y);
        if (t.texture != nullptr && probe == Probe::Texel) {
            const int column = int(pixel >> 16 & 0xFF), row = int(pixel >> 8 & 0xFF);
            const auto near = [&](int exactColumn, int exactRow) {
                return std::abs(column - exactColumn) <= 1 && std::abs(row - exactRow) <= 1;
            };
            faults.texel += !near(p->column, p->row) && !near(p->unheldColumn, p->unheldRow);
        } else {
            bool off = false;
            for (int c = 0; c < 3; ++c) {
                const int got = int(pixel >> (16 - 8 * c) & 0xFF);
                off = off || std::abs(got - std::floor(p->level[std::size_t(c)])) > 1;
            }
            faults.level += off;
        }
        if (withDepth) {
            const float stored = fast.depthAt(x, y);
            faults.depth += stored < float(wLow) || stored > float(wHigh);
        }
    });
}

// Random triangles of one kind.
using Maker = test::Triangle (*)(std::mt19937&);

double in(std::mt19937& random, double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random);
}

test::Triangle withCorners(std::mt19937& random, const test::Corners& corners) {
    test::Triangle t = test::randomTriangle(random, 0, 1, 0, 1);
    t.screen = corners;
    for (std::size_t k = 0; k < 3; ++k)
        t.uv[k] = {in(random, -20, 280), in(random, -20, 280)};
    return t;
}

ScreenVertex corner(std::mt19937& random, double x0, double x1, double y0, double y1, double z0,
                    double z1) {
    return {in(random, x0, x1), in(random, y0, y1), in(random, z0, z1)};
}

// Triangles whose texel coordinates run linearly: nearly equal depths, or depths far apart over
// a patch of the texture a texel wide (as a distant object's may be), with their texture
// coordinates inside a 256 x 256 texture, up to its borders. A sliver has its third corner within a
// pixel of the line through the other two.
test::Triangle linear(std::mt19937& r, bool patch, bool sliver) {
    const double farthest = patch ? 15 : 10.01;
    const double x = in(r, 0, 199), y = in(r, 0, 149); // within 120 x 90 pixels
    const ScreenVertex a = corner(r, x, x + 120, y, y + 90, 10, farthest);
    const ScreenVertex b = corner(r, x, x + 120, y, y + 90, 10, farthest);
    ScreenVertex c = corner(r, x, x + 120, y, y + 90, 10, farthest);
    if (sliver) {
        const double f = in(r, 0.05, 0.95);
        c.x = a.x + f * (b.x - a.x) + in(r, -1, 1);
        c.y = a.y + f * (b.y - a.y) + in(r, -1, 1);
    }
    test::Triangle t = withCorners(r, {a, b, c});
    const double u = in(r, 1, 254), v = in(r, 1, 254);
    for (std::size_t k = 0; k < 3; ++k)
        t.uv[k] = patch ? TexCoord{u + in(r, 0, 0.9), v + in(r, 0, 0.9)}
                        : TexCoord{in(r, 0, 256), in(r, 0, 256)};
    return t;
}

const std::pair<const char*, Maker> kinds[] = {
    {"ordinary",
     [](std::mt19937& r) {
         return withCorners(r, {corner(r, 0, 319, 0, 239, 1, 50), corner(r, 0, 319, 0, 239, 1, 50),
                                corner(r, 0, 319, 0, 239, 1, 50)});
     }},
    {"receding", // one corner near the camera, the others hundreds of times farther
     [](std::mt19937& r) {
         return withCorners(r,
                            {corner(r, 0, 319, 0, 239, 0.5, 1), corner(r, 0, 319, 0, 239, 50, 1000),
                             corner(r, 0, 319, 0, 239, 0.5, 1000)});
     }},
    {"edge-on", // the third corner within a pixel of the line through the other two
     [](std::mt19937& r) {
         const ScreenVertex a = corner(r, 0, 319, 0, 239, 0.5, 20);
         const ScreenVertex b = corner(r, 0, 319, 0, 239, 0.5, 20);
         const double f = in(r, 0.05, 0.95), off = in(r, -1, 1);
         const double length = std::hypot(b.x - a.x, b.y - a.y) + 1e-9;
         const ScreenVertex c{a.x + f * (b.x - a.x) - off * (b.y - a.y) / length,
                              a.y + f * (b.y - a.y) + off * (b.x - a.x) / length, in(r, 0.5, 20)};
         return withCorners(r, {a, b, c});
     }},
    {"sliver", // long and less than a few pixels wide, near and far
     [](std::mt19937& r) {
         const ScreenVertex a = corner(r, 0, 319, 0, 239, 1, 30);
         const ScreenVertex b = corner(r, 0, 319, 0, 239, 1, 30);
         const ScreenVertex c{b.x + in(r, -3, 3), b.y + in(r, -3, 3), in(r, 1, 30)};
         return withCorners(r, {a, b, c});
     }},
    {"huge", // corners thousands of pixels off the target
     [](std::mt19937& r) {
         return withCorners(r, {corner(r, -5000, 5000, -5000, 5000, 1, 50),
                                corner(r, -5000, 5000, -5000, 5000, 1, 50),
                                corner(r, -5000, 5000, -5000, 5000, 1, 50)});
     }},
    {"clipped", // crossing one or more edges of the target
     [](std::mt19937& r) {
         return withCorners(r, {corner(r, -200, 520, -200, 440, 1, 50),
                                corner(r, -200, 520, -200, 440, 1, 50),
                                corner(r, -200, 520, -200, 440, 1, 50)});
     }},
    {"flat", [](std::mt19937& r) { return linear(r, false, false); }},
    {"flat sliver", [](std::mt19937& r) { return linear(r, false, true); }},
    {"patch", [](std::mt19937& r) { return linear(r, true, false); }},
    {"patch sliver", [](std::mt19937& r) { return linear(r, true, true); }},
    {"tiny",
     [](std::mt19937& r) {
         const ScreenVertex a = corner(r, 2, 317, 2, 237, 1, 50);
         return withCorners(r, {a, corner(r, a.x - 2, a.x + 2, a.y - 2, a.y + 2, 1, 50),
                                corner(r, a.x - 2, a.x + 2, a.y - 2, a.y + 2, 1, 50)});
     }},
};

#ifdef VARDEL_FEWER_RANDOM_CASES
constexpr int kPerKind = 20;
#else
constexpr int kPerKind = 60;
#endif

TEST(ExactReference, FillersMatchTheExactReferenceOnAwkwardTriangles) {
    const Texture coordinates = test::coordinateTexture();
    const Texture white{std::vector<std::uint32_t>(64 * 64, 0x00FFFFFFu), 64, 64, 0};
    for (const auto& [kind, make] : kinds) {
        std::mt19937 random(4242);
        Faults shaded, texel, level;
        for (int i = 0; i < kPerKind; ++i) {
            test::Triangle t = make(random);
            t.mono = i % 2 == 1;
            const bool withDepth = i % 4 < 2;
            if (isBackFacing(t.record(RasterTarget(1, 1), false)))
                std::swap(t.screen[1], t.screen[2]); // as the pipeline hands them over
            compare(t, withDepth, Probe::Level, shaded);
            test::Triangle full = t;
            full.texture = &coordinates;
            full.shade.fill({1, 1, 1});
            compare(full, withDepth, Probe::Texel, texel);
            t.texture = &white;
            compare(t, withDepth, Probe::Level, level);
        }
        EXPECT_EQ(shaded.total(), 0) << kind << " shaded: " << describe(shaded);
        EXPECT_EQ(texel.total(), 0) << kind << " texels: " << describe(texel);
        EXPECT_EQ(level.total(), 0) << kind << " textured shades: " << describe(level);
    }
}

// A linear triangle whose corner lies on the texture's border, with the rounded corner half a
// pixel past it: the pixel there shows the border texel, not one from the next row over.
TEST(ExactReference, LinearTexelsPastTheBorderShowTheBorder) {
    const Texture coordinates = test::coordinateTexture();
    for (const double from : {0.0, 256.0}) {
        const double slope = from == 0.0 ? 1.0 : -1.0;
        test::Triangle t =
            test::triangle({{{10.4, 10.4, 10}, {40, 10.4, 10}, {10.4, 40, 10}}}, &coordinates);
        for (std::size_t k = 0; k < 3; ++k)
            t.uv[k] = {from + slope * (t.screen[k].x - 10.4 + t.screen[k].y - 10.4), 5.0};
        if (isBackFacing(t.record(RasterTarget(1, 1), false)))
            std::swap(t.screen[1], t.screen[2]);
        Faults faults;
        compare(t, false, Probe::Texel, faults);
        EXPECT_EQ(faults.total(), 0) << from << ": " << describe(faults);
    }
}

// A sliver whose corners' 1/z and texel coordinates differ little, but whose rounded corners
// lie far past it in terms of its corners' weights: taken as linear, its texels there would
// stray more than one from the exact ones.
TEST(ExactReference, LinearSliversStayWithinATexel) {
    const Texture coordinates = test::coordinateTexture();
    test::Triangle t =
        test::triangle({{{291.56630312672991, 149.43679664937545, 10.320296246226105},
                         {267.30366803266929, 153.85534047585355, 11.764590307812766},
                         {269.97316122325742, 153.34696406113054, 11.481700631049536}}},
                       &coordinates);
    t.uv = {{{30.78126080200175, 130.2228529803059},
             {32.133107704373494, 129.67198700566098},
             {30.201453193936345, 129.3474127837971}}};
    Faults faults;
    compare(t, false, Probe::Texel, faults);
    EXPECT_GE(faults.compared, 4);
    EXPECT_EQ(faults.total(), 0) << describe(faults);
}

// A triangle reaching past the guard band is cut to the band first: it covers what the
// reference covers. (Each piece holds its values within its own corners' range, narrower than
// the whole triangle's, so at edge pixels, half a pixel outside, the values may differ.)
TEST(ExactReference, TrianglesCutToTheGuardBandCoverWhatTheReferenceCovers) {
    std::mt19937 random(99);
    const Texture white{std::vector<std::uint32_t>(64 * 64, 0x00FFFFFFu), 64, 64, 0};
    Faults shaded, textured;
    for (int i = 0; i < 40; ++i) {
        const double angle = in(random, 0, 6.2832);
        test::Triangle t = withCorners(random, {corner(random, 0, 319, 0, 239, 1, 50),
                                                corner(random, 0, 319, 0, 239, 1, 50),
                                                {160 + 1e8 * std::cos(angle),
                                                 120 + 1e8 * std::sin(angle), in(random, 1, 50)}});
        if (isBackFacing(t.record(RasterTarget(1, 1), false)))
            std::swap(t.screen[1], t.screen[2]);
        compare(t, i % 2 == 0, Probe::Level, shaded);
        t.texture = &white;
        compare(t, i % 2 == 0, Probe::Level, textured);
    }
    EXPECT_GT(shaded.compared, 100000);
    EXPECT_EQ(shaded.missing + shaded.extra, 0) << describe(shaded);
    EXPECT_EQ(textured.missing + textured.extra, 0) << describe(textured);
}

// Triangles that once drew plainly wrong pixels. A steeply receding one whose spans' last,
// partial blocks sent the texels backwards (the exact ones rise from 30 to 153 over the
// row's last eleven pixels), and a nearly edge-on one that stored a 1/z four times nearer than
// any of its corners and so hid a wall drawn after it.
TEST(ExactReference, ReportedFaultsAreGone) {
    Texture ramp{{}, 256, 256, 0}; // texel column c has red c
    for (std::uint32_t i = 0; i < 256 * 256; ++i)
        ramp.pixels.push_back((i % 256) << 16);
    test::Triangle receding =
        test::triangle({{{0, 0, 0.5}, {300, 100, 100}, {0, 200, 0.5}}}, &ramp);
    receding.uv = {{{0, 0}, {255, 128}, {0, 255}}};
    receding.mono = true;
    RasterTarget fast(320, 240), exactTarget(320, 240);
    drawTexturedTriangle(receding.record(fast, false));
    exact::drawTriangle(receding.record(exactTarget, false));
    int wrong = 0, backwards = 0, previous = 0;
    for (int x = 0; x < 300; ++x) {
        const int column = int(fast.pixel(x, 100) >> 16);
        wrong += std::abs(column - int(exactTarget.pixel(x, 100) >> 16)) > 1;
        backwards += column < previous;
        previous = column;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(backwards, 0);

    const Texture white{std::vector<std::uint32_t>(16, 0x00FFFFFFu), 4, 4, 0};
    test::Triangle edgeOn =
        test::triangle({{{106.2, 100.9, 2}, {151.4, 129.6, 2}, {128.9, 115.1, 7}}}, &white);
    test::Triangle wall = test::triangle({{{100, 95, 1}, {160, 95, 1}, {130, 135, 1}}});
    wall.color = 0x00FF0000;
    RasterTarget target(320, 240);
    drawTexturedTriangle(edgeOn.record(target, true));
    EXPECT_GT(target.countWritten(), 0);
    int nearer = 0, hidden = 0;
    target.forEach([&](int x, int y) { nearer += target.depthAt(x, y) > 0.5f; });
    drawShadedTriangle(wall.record(target, true));
    RasterTarget wallAlone(320, 240);
    drawShadedTriangle(wall.record(wallAlone, true));
    target.forEach([&](int x, int y) {
        hidden += wallAlone.written(x, y) && target.pixel(x, y) != 0x00FF0000u;
    });
    EXPECT_EQ(nearer, 0);
    EXPECT_EQ(hidden, 0);
}

} // namespace
} // namespace vardel
