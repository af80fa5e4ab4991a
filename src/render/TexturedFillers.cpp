#include "render/TexturedFillers.h"

#include <algorithm>
#include <type_traits>

#include "render/TexturedTriangle.h"

namespace vardel {
namespace {

// A corner on its way through the set-up.
struct Corner {
    double x = 0.0; // exact position
    double y = 0.0;
    int column = 0; // rounded position
    int row = 0;
    double u = 0.0; // u/z, v/z, 1/z
    double v = 0.0;
    double w = 0.0;
};

// Plane gradient of one value from the exact corner positions, corner 0 as origin.
struct Gradient {
    double dx = 0.0;
    double dy = 0.0;
};

} // namespace

bool setUpTextured(const RasterTriangle& t, bool mono, TexturedSetup& s) {
    std::array<Corner, 3> p;
    for (int k = 0; k < 3; ++k) {
        const ScreenVertex& v = *t.screen[k];
        p[k].x = v.x;
        p[k].y = v.y;
        p[k].column = roundClamped(v.x, 0, t.width - 1);
        p[k].row = roundClamped(v.y, 0, t.height - 1);
        p[k].w = 1.0 / v.z;
        p[k].u = t.uv[k]->u * p[k].w;
        p[k].v = t.uv[k]->v * p[k].w;
    }

    const double dx1 = p[1].x - p[0].x;
    const double dy1 = p[1].y - p[0].y;
    const double dx2 = p[2].x - p[0].x;
    const double dy2 = p[2].y - p[0].y;
    const double det = dy1 * dx2 - dy2 * dx1;
    if (det == 0.0) {
        return false;
    }
    auto gradient = [&](double q0, double q1, double q2) {
        const double d1 = q1 - q0;
        const double d2 = q2 - q0;
        return Gradient{(dy1 * d2 - dy2 * d1) / det, (d1 * dx2 - d2 * dx1) / det};
    };
    const Gradient gu = gradient(p[0].u, p[1].u, p[2].u);
    const Gradient gv = gradient(p[0].v, p[1].v, p[2].v);
    const Gradient gw = gradient(p[0].w, p[1].w, p[2].w);
    // The values belong to the exact positions; move them to the rounded ones the rows use.
    for (Corner& c : p) {
        const double ox = c.column - c.x;
        const double oy = c.row - c.y;
        c.u += gu.dx * ox + gu.dy * oy;
        c.v += gv.dx * ox + gv.dy * oy;
        c.w += gw.dx * ox + gw.dy * oy;
    }

    const std::array<int, 3> order = sortByRow({p[0].row, p[1].row, p[2].row});
    // Intensities in 16.16: trunc(intensity x 255 x 65536), the intensity held to 0..1 first.
    auto edgeStart = [&](int k) {
        TexturedEdge e{static_cast<double>(p[k].column), p[k].u, p[k].v, p[k].w, {}};
        const VertexShade& shade = *t.shade[k];
        const std::array<double, 3> intensity{shade.r, mono ? 0.0 : shade.g, mono ? 0.0 : shade.b};
        for (int c = 0; c < 3; ++c) {
            e.intensity[c] = static_cast<std::int32_t>(clampUnit(intensity[c]) * 16711680.0);
        }
        return e;
    };
    const TexturedEdge a = edgeStart(order[0]);
    const TexturedEdge b = edgeStart(order[1]);
    const TexturedEdge c = edgeStart(order[2]);
    const int h1 = p[order[1]].row - p[order[0]].row;
    const int h2 = p[order[2]].row - p[order[1]].row;
    const int h = p[order[2]].row - p[order[0]].row;
    if (h == 0) {
        return false;
    }

    // Per-row change along an edge: floating point, except the intensities, whose integer
    // division rounds toward zero. An edge of no height has no slope.
    auto slope = [](const TexturedEdge& from, const TexturedEdge& to, int height) {
        TexturedEdge e;
        if (height != 0) {
            e.x = (to.x - from.x) / height;
            e.u = (to.u - from.u) / height;
            e.v = (to.v - from.v) / height;
            e.w = (to.w - from.w) / height;
            for (int ch = 0; ch < 3; ++ch) {
                e.intensity[ch] = (to.intensity[ch] - from.intensity[ch]) / height;
            }
        }
        return e;
    };
    const TexturedEdge ab = slope(a, b, h1);
    const TexturedEdge bc = slope(b, c, h2);
    const TexturedEdge ac = slope(a, c, h);

    // D, the difference of the x slopes (with a flat top the distance from B to A): D > 0 puts
    // the long edge AC on the right. The 8.8 intensity step per pixel divides the 16.16 change
    // across a row by D x 256, truncated.
    const double d = h1 != 0 ? ac.x - ab.x : a.x - b.x;
    if (d == 0.0) {
        return false;
    }
    for (int ch = 0; ch < 3; ++ch) {
        const double across = h1 != 0 ? static_cast<double>(ac.intensity[ch]) - ab.intensity[ch]
                                      : -(static_cast<double>(b.intensity[ch]) - a.intensity[ch]);
        s.intensityStep[ch] = truncSaturated(across / (d * 256.0));
    }

    s.top = p[order[0]].row;
    s.longEdgeRight = d > 0.0;
    s.upperRows = h1;
    s.lowerRows = h2 + 1; // the bottom corner's row is drawn
    s.left = {{a, ab}, {a, ac}, {b, bc}};
    s.right = {{a.x, ab.x}, {a.x, ac.x}, {b.x, bc.x}};
    s.uStep = gu.dx;
    s.vStep = gv.dx;
    s.wStep = gw.dx;
    return true;
}

namespace {

// Shading of a texel through the multiply table: row i of the table scales a channel by i/255.
// Three 8.8 accumulators, each 16 bits wide with wrapping sums.
struct RgbIntensity {
    std::uint16_t red, green, blue;
    std::uint16_t redStep, greenStep, blueStep;

    RgbIntensity(const std::array<std::int32_t, 3>& start, const std::array<std::int32_t, 3>& step)
        : red(static_cast<std::uint16_t>(start[0] >> 8)),
          green(static_cast<std::uint16_t>(start[1] >> 8)),
          blue(static_cast<std::uint16_t>(start[2] >> 8)),
          redStep(static_cast<std::uint16_t>(step[0])),
          greenStep(static_cast<std::uint16_t>(step[1])),
          blueStep(static_cast<std::uint16_t>(step[2])) {}

    std::uint32_t shade(std::uint32_t texel, const std::uint8_t* table) const {
        return table[(blue >> 8) * 256 + (texel & 0xFF)] |
               static_cast<std::uint32_t>(table[(green >> 8) * 256 + ((texel >> 8) & 0xFF)]) << 8 |
               static_cast<std::uint32_t>(table[(red >> 8) * 256 + ((texel >> 16) & 0xFF)]) << 16 |
               (texel & 0xFF000000u);
    }
    void advance() {
        red = static_cast<std::uint16_t>(red + redStep);
        green = static_cast<std::uint16_t>(green + greenStep);
        blue = static_cast<std::uint16_t>(blue + blueStep);
    }
};

// One 8.8 accumulator for all three channels, 32 bits with wrapping sums; its table row is held
// to 0..255 (rounding can carry it just past either end of a span).
struct MonoIntensity {
    std::uint32_t level, step;

    MonoIntensity(const std::array<std::int32_t, 3>& start, const std::array<std::int32_t, 3>& s)
        : level(static_cast<std::uint32_t>(start[0] >> 8)), step(static_cast<std::uint32_t>(s[0])) {
    }

    std::uint32_t shade(std::uint32_t texel, const std::uint8_t* table) const {
        const std::int32_t row = std::clamp(static_cast<std::int32_t>(level) >> 8, 0, 255);
        const std::uint8_t* scale = table + row * 256;
        return scale[texel & 0xFF] | static_cast<std::uint32_t>(scale[(texel >> 8) & 0xFF]) << 8 |
               static_cast<std::uint32_t>(scale[(texel >> 16) & 0xFF]) << 16 |
               (texel & 0xFF000000u);
    }
    void advance() { level += step; }
};

// One row of the fast fillers. u/z, v/z and 1/z step a block of 16 pixels at a time with one
// division for the texel coordinates at the block's end; inside the block u and v step
// linearly in 16.16. The next block starts from the exact end values, not the stepped ones.
template <bool Mono, bool Depth> struct TexturedSpan {
    const RasterTriangle& t;

    void operator()(const TexturedSetup& s, int y, int first, int end,
                    const TexturedEdge& start) const {
        using Intensity = std::conditional_t<Mono, MonoIntensity, RgbIntensity>;
        const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(y) * t.pitch() + first;
        std::uint32_t* out = t.pixels + offset;
        float* depth = Depth ? t.depth + offset : nullptr;
        const std::uint32_t* texels = t.texture->pixels.data();
        const int lastColumn = t.texture->width - 1;
        const int lastRow = t.texture->height - 1;
        const std::ptrdiff_t texelPitch = t.texture->width;
        const std::uint8_t* table = t.shadeTable->entries();

        Intensity intensity(start.intensity, s.intensityStep);
        double u = start.u;
        double v = start.v;
        double w = start.w;
        std::int32_t ua = texelFixed(u, w);
        std::int32_t va = texelFixed(v, w);
        for (int remaining = end - first; remaining > 0; remaining -= kBlockPixels) {
            double pixelW = w;
            u += s.uStep * kBlockPixels;
            v += s.vStep * kBlockPixels;
            w += s.wStep * kBlockPixels;
            const std::int32_t ub = texelFixed(u, w);
            const std::int32_t vb = texelFixed(v, w);
            const std::int32_t du = (ub - ua) >> 4;
            const std::int32_t dv = (vb - va) >> 4;
            // + 0x8000: the texel under the pixel's centre.
            std::int32_t tu = ua + 0x8000;
            std::int32_t tv = va + 0x8000;
            const int count = std::min(remaining, kBlockPixels);
            for (int i = 0; i < count; ++i) {
                const int column = std::clamp(tu >> 16, 0, lastColumn);
                const int row = std::clamp(tv >> 16, 0, lastRow);
                const std::uint32_t texel = texels[row * texelPitch + column];
                if constexpr (Depth) {
                    const float nearness = static_cast<float>(pixelW); // as in the buffer
                    if (depth[i] < nearness) {
                        depth[i] = nearness;
                        out[i] = intensity.shade(texel, table);
                    }
                    pixelW += s.wStep;
                } else {
                    out[i] = intensity.shade(texel, table);
                }
                tu += du;
                tv += dv;
                intensity.advance();
            }
            out += count;
            if constexpr (Depth) {
                depth += count;
            }
            ua = ub;
            va = vb;
        }
    }
};

template <bool Mono, bool Depth> void fillTextured(const RasterTriangle& t) {
    fillTexturedRows(t, Mono, Depth, TexturedSpan<Mono, Depth>{t});
}

} // namespace

void fillTexturedTriangle(const RasterTriangle& triangle) {
    fillTextured<false, false>(triangle);
}

void fillTexturedTriangleMono(const RasterTriangle& triangle) {
    fillTextured<true, false>(triangle);
}

void fillTexturedTriangleDepth(const RasterTriangle& triangle) {
    fillTextured<false, true>(triangle);
}

void fillTexturedTriangleMonoDepth(const RasterTriangle& triangle) {
    fillTextured<true, true>(triangle);
}

} // namespace vardel
