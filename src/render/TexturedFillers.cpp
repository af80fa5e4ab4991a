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
    // One reciprocal of det serves all six gradients.
    const double inverseDet = 1.0 / det;
    auto gradient = [&](double q0, double q1, double q2) {
        const double d1 = q1 - q0;
        const double d2 = q2 - q0;
        return Gradient{(dy1 * d2 - dy2 * d1) * inverseDet, (d1 * dx2 - d2 * dx1) * inverseDet};
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
    // Mono fillers carry the red channel only; the others stay 0.
    const int channels = mono ? 1 : 3;
    auto edgeStart = [&](int k) {
        TexturedEdge e{static_cast<double>(p[k].column), p[k].u, p[k].v, p[k].w, {}};
        const VertexShade& shade = *t.shade[k];
        const std::array<double, 3> intensity{shade.r, shade.g, shade.b};
        for (int c = 0; c < channels; ++c) {
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

    // Per-row change along an edge: x in floating point, the intensities by integer division
    // rounding toward zero. u/z, v/z and 1/z lie on their planes and the corners were moved
    // onto them, so one row down an edge changes each by dQ/dx x (x slope) + dQ/dy, which
    // needs no division. An edge of no height is never stepped along: its slope is left as
    // dividing by 1 gives it, without a branch on the height.
    auto slope = [&](const TexturedEdge& from, const TexturedEdge& to, int height) {
        const int rows = std::max(height, 1);
        TexturedEdge e;
        e.x = (to.x - from.x) / rows;
        e.u = gu.dx * e.x + gu.dy;
        e.v = gv.dx * e.x + gv.dy;
        e.w = gw.dx * e.x + gw.dy;
        for (int ch = 0; ch < channels; ++ch) {
            e.intensity[ch] = (to.intensity[ch] - from.intensity[ch]) / rows;
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
    for (int ch = 0; ch < channels; ++ch) {
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
// Three 8.8 accumulators, each 16 bits wide with wrapping sums, so every row they pick lies in
// the table.
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

    bool staysInTable(int /*count*/) const { return true; }

    template <bool Held> std::uint32_t shade(std::uint32_t texel, const std::uint8_t* table) const {
        return table[(blue >> 8) * 256 + (texel & 0xFF)] |
               static_cast<std::uint32_t>(table[(green >> 8) * 256 + ((texel >> 8) & 0xFF)]) << 8 |
               static_cast<std::uint32_t>(table[(red >> 8) * 256 + ((texel >> 16) & 0xFF)]) << 16 |
               (texel & 0xFF000000u);
    }
    // The accumulators n pixels on.
    RgbIntensity advanced(int n) const {
        RgbIntensity next = *this;
        next.red = static_cast<std::uint16_t>(red + n * redStep);
        next.green = static_cast<std::uint16_t>(green + n * greenStep);
        next.blue = static_cast<std::uint16_t>(blue + n * blueStep);
        return next;
    }
};

// One 8.8 accumulator for all three channels, 32 bits with wrapping sums; its table row is held
// to 0..255 (rounding can carry it just past either end of a span).
struct MonoIntensity {
    std::uint32_t level, step;

    MonoIntensity(const std::array<std::int32_t, 3>& start, const std::array<std::int32_t, 3>& s)
        : level(static_cast<std::uint32_t>(start[0] >> 8)), step(static_cast<std::uint32_t>(s[0])) {
    }

    // True when the next `count` levels all lie in 0..0xFFFF, so that no sum wraps and no
    // row needs holding. The levels are linear: the first and the last decide.
    bool staysInTable(int count) const {
        const std::int64_t first = static_cast<std::int32_t>(level);
        const std::int64_t last =
            first + static_cast<std::int64_t>(static_cast<std::int32_t>(step)) * (count - 1);
        // Negative values turn into huge unsigned ones and fail too.
        return static_cast<std::uint64_t>(first) <= 0xFFFF &&
               static_cast<std::uint64_t>(last) <= 0xFFFF;
    }

    template <bool Held> std::uint32_t shade(std::uint32_t texel, const std::uint8_t* table) const {
        std::int32_t row = static_cast<std::int32_t>(level) >> 8;
        if constexpr (Held) {
            row = std::clamp(row, 0, 255);
        }
        const std::uint8_t* scale = table + row * 256;
        return scale[texel & 0xFF] | static_cast<std::uint32_t>(scale[(texel >> 8) & 0xFF]) << 8 |
               static_cast<std::uint32_t>(scale[(texel >> 16) & 0xFF]) << 16 |
               (texel & 0xFF000000u);
    }
    // The accumulator n pixels on.
    MonoIntensity advanced(int n) const {
        MonoIntensity next = *this;
        next.level = level + static_cast<std::uint32_t>(n) * step;
        return next;
    }
};

// True when `count` 16.16 texel coordinates of a block, from `first` on and `step` apart, all
// lie in 0..size-1 once shifted, so that none needs holding to the texture's border. They are
// linear: the first and the last decide. Within a block they lie between the block's two
// exact ends, which are held to +-2^30, so the last one fits 32 bits; negative values turn
// into huge unsigned ones and fail too.
bool staysInside(std::int32_t first, std::int32_t step, int count, int size) {
    const std::int32_t last = first + step * (count - 1);
    const auto end = static_cast<std::uint32_t>(size) << 16;
    return static_cast<std::uint32_t>(first) < end && static_cast<std::uint32_t>(last) < end;
}

// One row of the fast fillers. u/z, v/z and 1/z step a block of 16 pixels at a time with one
// division for the texel coordinates at the block's end; inside the block u and v step
// linearly in 16.16. The next block starts from the exact end values, not the stepped ones.
// A block whose texel coordinates (and mono table rows) all lie inside is drawn without
// holding them, the others with.
template <bool Mono, bool Depth> class TexturedSpan {
public:
    explicit TexturedSpan(const RasterTriangle& t)
        : t(t), texels(t.texture->pixels.data()), texelPitch(t.texture->width),
          table(t.shadeTable->entries()) {}

    void operator()(const TexturedSetup& s, int y, int first, int end, const SpanStart& start,
                    const std::array<std::int32_t, 3>& startIntensity) const {
        const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(y) * t.pitch() + first;
        std::uint32_t* const out = t.pixels + offset;
        float* const depth = Depth ? t.depth + offset : nullptr;
        const Intensity intensity(startIntensity, s.intensityStep);
        const int count = end - first;
        const bool rowsInTable = intensity.staysInTable(count);
        double u = start.u;
        double v = start.v;
        double w = start.w;
        std::int32_t ua = texelFixed(u, w);
        std::int32_t va = texelFixed(v, w);
        for (int done = 0; done < count; done += kBlockPixels) {
            const double blockW = w;
            u += s.uStep * kBlockPixels;
            v += s.vStep * kBlockPixels;
            w += s.wStep * kBlockPixels;
            const std::int32_t ub = texelFixed(u, w);
            const std::int32_t vb = texelFixed(v, w);
            Block b{intensity.advanced(done), blockW};
            // + 0x8000: the texel under the pixel's centre.
            b.u = ua + 0x8000;
            b.v = va + 0x8000;
            b.du = (ub - ua) >> 4;
            b.dv = (vb - va) >> 4;
            const int pixels = std::min(count - done, kBlockPixels);
            float* const blockDepth = Depth ? depth + done : nullptr;
            if (rowsInTable && staysInside(b.u, b.du, pixels, t.texture->width) &&
                staysInside(b.v, b.dv, pixels, t.texture->height)) {
                drawBlock<false>(b, out + done, blockDepth, pixels, s.wStep);
            } else {
                drawBlock<true>(b, out + done, blockDepth, pixels, s.wStep);
            }
            ua = ub;
            va = vb;
        }
    }

private:
    using Intensity = std::conditional_t<Mono, MonoIntensity, RgbIntensity>;

    // The values of a block's first pixel and their steps per pixel.
    struct Block {
        Intensity intensity;
        double w = 0.0;     // 1/z, depth-tested fillers only
        std::int32_t u = 0; // texel coordinates and their steps, 16.16
        std::int32_t v = 0;
        std::int32_t du = 0;
        std::int32_t dv = 0;
    };

    // Held: texel coordinates held to the texture's border and mono table rows to 0..255.
    // Pixel i's values are computed from the block's start, so that a pixel the depth test
    // rejects costs no more than the test.
    template <bool Held>
    void drawBlock(const Block& b, std::uint32_t* out, float* depth, int pixels,
                   double wStep) const {
        // Locals, so that the stores below cannot be taken to change them.
        const std::uint32_t* const texels = this->texels;
        const std::ptrdiff_t texelPitch = this->texelPitch;
        const std::uint8_t* const table = this->table;
        const int lastColumn = t.texture->width - 1;
        const int lastRow = t.texture->height - 1;
        const auto shaded = [&](int i) {
            int column = (b.u + i * b.du) >> 16;
            int row = (b.v + i * b.dv) >> 16;
            if constexpr (Held) {
                column = std::clamp(column, 0, lastColumn);
                row = std::clamp(row, 0, lastRow);
            }
            return b.intensity.advanced(i).template shade<Held>(texels[row * texelPitch + column],
                                                                table);
        };
        double pixelW = b.w;
        for (int i = 0; i < pixels; ++i) {
            if constexpr (Depth) {
                const float nearness = static_cast<float>(pixelW); // as in the buffer
                if (depth[i] < nearness) {
                    depth[i] = nearness;
                    out[i] = shaded(i);
                }
                pixelW += wStep;
            } else {
                out[i] = shaded(i);
            }
        }
    }

    const RasterTriangle& t;
    const std::uint32_t* texels;
    std::ptrdiff_t texelPitch;
    const std::uint8_t* table;
};

// Every call made inside a filler is inlined into it (GCC and Clang): the set-up, the row walk
// and the span are too large for the compiler's own judgement but run for every triangle and
// row, and the calls between them cost more than small triangles' pixels.
#if defined(__GNUC__)
#define VARDEL_INLINE_CALLS [[gnu::flatten]]
#else
#define VARDEL_INLINE_CALLS
#endif

template <bool Mono, bool Depth> VARDEL_INLINE_CALLS void fillTextured(const RasterTriangle& t) {
    if (usableTexture(t)) { // the span reads the texture and the table from the start
        fillTexturedRows(t, Mono, Depth, TexturedSpan<Mono, Depth>(t));
    }
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
