#include "render/ShadedTriangle.h"

#include <type_traits>

#include "render/ScreenClip.h"
#include "render/ShadedFill.h"

namespace vardel {

bool setUpShaded(const RasterTriangle& t, bool withDepth, ShadedSetup& s) {
    std::array<int, 3> column{};
    std::array<int, 3> row{};
    for (int k = 0; k < 3; ++k) {
        column[k] = roundClamped(t.screen[k]->x, 0, t.width - 1);
        row[k] = roundClamped(t.screen[k]->y, 0, t.height - 1);
    }
    const std::array<int, 3> order = sortByRow(row);

    // Channel value of a corner: trunc(channel of color x intensity x 65536), the intensity
    // held to 0..1 first.
    const std::array<double, 3> base{static_cast<double>((t.color >> 16) & 0xFF),
                                     static_cast<double>((t.color >> 8) & 0xFF),
                                     static_cast<double>(t.color & 0xFF)};
    auto corner = [&](int k) {
        ShadedEdge e;
        e.x = column[k] * 65536 + 32768;
        const VertexShade& shade = *t.shade[k];
        const std::array<double, 3> intensity =
            t.mono != 0 ? std::array<double, 3>{shade.r, shade.r, shade.r}
                        : std::array<double, 3>{shade.r, shade.g, shade.b};
        for (int c = 0; c < 3; ++c) {
            e.channel[c] = static_cast<std::int32_t>(base[c] * clampUnit(intensity[c]) * 65536.0);
        }
        e.w = withDepth ? 1.0 / t.screen[k]->z : 0.0;
        return e;
    };
    const ShadedEdge a = corner(order[0]);
    const ShadedEdge b = corner(order[1]);
    const ShadedEdge c = corner(order[2]);
    const int h1 = row[order[1]] - row[order[0]];
    const int h2 = row[order[2]] - row[order[1]];
    const int h = row[order[2]] - row[order[0]];
    if (h == 0) {
        return false;
    }

    // Per-row change along an edge: integer division rounding toward zero for the 16.16
    // values, floating point for 1/z. An edge of no height has no slope.
    auto slope = [](const ShadedEdge& from, const ShadedEdge& to, int height) {
        ShadedEdge e;
        if (height != 0) {
            e.x = (to.x - from.x) / height;
            for (int ch = 0; ch < 3; ++ch) {
                e.channel[ch] = (to.channel[ch] - from.channel[ch]) / height;
            }
            e.w = (to.w - from.w) / height;
        }
        return e;
    };
    const ShadedEdge ab = slope(a, b, h1);
    const ShadedEdge bc = slope(b, c, h2);
    const ShadedEdge ac = slope(a, c, h);

    // Change per pixel across a row. With a top part, D is the difference of the 16.16 edge
    // slopes and the channel step is (AC slope - AB slope) * 65536 / D, truncated. With a flat
    // top, D is the distance from B to A in whole pixels and the step divides B - A by it.
    // D > 0 puts the long edge AC on the right.
    int d = 0;
    if (h1 != 0) {
        d = ac.x - ab.x;
        if (d == 0) {
            return false;
        }
        for (int ch = 0; ch < 3; ++ch) {
            s.step[ch] =
                truncSaturated(static_cast<double>(ac.channel[ch] - ab.channel[ch]) * 65536.0 / d);
        }
        s.depthStep = (ac.w - ab.w) * 65536.0 / d;
    } else {
        d = column[order[0]] - column[order[1]];
        if (d == 0) {
            return false;
        }
        for (int ch = 0; ch < 3; ++ch) {
            s.step[ch] = -((b.channel[ch] - a.channel[ch]) / d);
        }
        s.depthStep = -(b.w - a.w) / d;
    }

    s.top = row[order[0]];
    s.longEdgeRight = d > 0;
    s.upperRows = h1;
    s.lowerRows = h2;
    s.left = {{a, ab}, {a, ac}, {b, bc}};
    s.right = {{a.x, ab.x}, {a.x, ac.x}, {b.x, bc.x}};
    return true;
}

namespace {

// One row of the fast fillers: the accumulators start at the left edge's values and step per
// pixel; with depth, a pixel is written only where the stored 1/z is less than the row's. The
// test is made at the buffer's float precision, so that a surface at the same depth as the one
// drawn before leaves it in place instead of winning wherever the float rounded down.
// The accumulators are linear along the row, so when both ends are within 0..255 every pixel
// is, and the row runs on 32 bits without holding them; otherwise (rare: a thin triangle whose
// truncated slopes carry a channel a little past 0 or 255) it runs on 64 bits, each channel
// held to 0..255 per pixel.
template <bool Depth> struct ShadedSpan {
    const RasterTriangle& t;

    void operator()(const ShadedSetup& s, int y, int first, int end, const ShadedEdge& left) const {
        const int count = end - first;
        bool inRange = true;
        for (int c = 0; c < 3; ++c) {
            const std::int64_t last =
                left.channel[c] + static_cast<std::int64_t>(count - 1) * s.step[c];
            inRange = inRange && left.channel[c] >= 0 && left.channel[c] <= kChannelMax &&
                      last >= 0 && last <= kChannelMax;
        }
        if (inRange) {
            run<std::uint32_t>(s, y, first, count, left);
        } else {
            run<std::int64_t>(s, y, first, count, left);
        }
    }

    template <class Accumulator>
    void run(const ShadedSetup& s, int y, int first, int count, const ShadedEdge& left) const {
        const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(y) * t.pitch() + first;
        std::uint32_t* out = t.pixels + offset;
        float* depth = Depth ? t.depth + offset : nullptr;
        Accumulator red = static_cast<Accumulator>(left.channel[0]);
        Accumulator green = static_cast<Accumulator>(left.channel[1]);
        Accumulator blue = static_cast<Accumulator>(left.channel[2]);
        const auto redStep = static_cast<Accumulator>(s.step[0]);
        const auto greenStep = static_cast<Accumulator>(s.step[1]);
        const auto blueStep = static_cast<Accumulator>(s.step[2]);
        auto pixel = [&] {
            if constexpr (std::is_same_v<Accumulator, std::uint32_t>) {
                return shadedPixel(red, green, blue);
            } else {
                return shadedPixel(heldChannel(red), heldChannel(green), heldChannel(blue));
            }
        };
        double w = left.w;
        for (int i = 0; i < count; ++i) {
            if constexpr (Depth) {
                const float nearness = static_cast<float>(w);
                if (depth[i] < nearness) {
                    depth[i] = nearness;
                    out[i] = pixel();
                }
                w += s.depthStep;
            } else {
                out[i] = pixel();
            }
            red += redStep;
            green += greenStep;
            blue += blueStep;
        }
    }
};

} // namespace

void fillShadedTriangle(const RasterTriangle& triangle) {
    fillShadedRows(triangle, false, ShadedSpan<false>{triangle});
}

void fillShadedTriangleDepth(const RasterTriangle& triangle) {
    fillShadedRows(triangle, true, ShadedSpan<true>{triangle});
}

void drawShadedTriangle(const RasterTriangle& triangle) {
    clipToScreen(triangle, false,
                 triangle.depth != nullptr ? fillShadedTriangleDepth : fillShadedTriangle);
}

} // namespace vardel
