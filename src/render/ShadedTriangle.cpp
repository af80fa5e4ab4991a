#include "render/ShadedTriangle.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include "render/ScreenClip.h"
#include "render/ShadedFill.h"

namespace vardel {

bool setUpShaded(const RasterTriangle& t, bool withDepth, ShadedSetup& s) {
    if (!setUpRows(t, false, s.rows)) {
        return false;
    }
    if (withDepth) {
        PlaneFit exact;
        if (!exact.fit({t.screen[0]->x, t.screen[1]->x, t.screen[2]->x},
                       {t.screen[0]->y, t.screen[1]->y, t.screen[2]->y})) {
            return false;
        }
        const std::array<double, 3> w{1.0 / t.screen[0]->z, 1.0 / t.screen[1]->z,
                                      1.0 / t.screen[2]->z};
        s.depth = exact.plane(w);
        s.depthLow = std::min({w[0], w[1], w[2]});
        s.depthHigh = std::max({w[0], w[1], w[2]});
    }
    PlaneFit rounded;
    rounded.fit(s.rows);
    const std::array<double, 3> base{static_cast<double>((t.color >> 16) & 0xFF),
                                     static_cast<double>((t.color >> 8) & 0xFF),
                                     static_cast<double>(t.color & 0xFF)};
    for (int c = 0; c < 3; ++c) {
        std::array<double, 3> value{};
        for (int k = 0; k < 3; ++k) {
            const VertexShade& shade = *t.shade[s.rows.corner[k]];
            const double intensity = c == 0 || t.mono != 0 ? shade.r : (c == 1 ? shade.g : shade.b);
            // trunc(channel x intensity x 65536), the intensity held to 0..1 first.
            value[k] = static_cast<double>(
                static_cast<std::int32_t>(base[c] * clampUnit(intensity) * 65536.0));
        }
        s.channel[c] = rounded.plane(value);
        s.step[c] = roundClamped64(s.channel[c].dx, kFixedStepLimit);
        s.low[c] = static_cast<std::int64_t>(std::min({value[0], value[1], value[2]}));
        s.high[c] = static_cast<std::int64_t>(std::max({value[0], value[1], value[2]}));
        const std::int64_t reach = std::abs(s.step[c]);
        s.holdsChannels = s.holdsChannels || reach >= kLevel || s.low[c] < reach + kLevel ||
                          s.high[c] + reach + kLevel > kChannelMax;
    }
    if (!s.holdsChannels) {
        s.low.fill(std::numeric_limits<std::int64_t>::min());
        s.high.fill(std::numeric_limits<std::int64_t>::max());
    }
    return true;
}

namespace {

// One row of the fast fillers: the accumulators start at the span's first pixel and step per
// pixel; with depth, a pixel is written only where the stored 1/z is less than the pixel's.
// The test is made at the buffer's float precision, so that a surface at the same depth as the
// one drawn before leaves it in place instead of winning wherever the float rounded down.
// Values outside the corners' range are held to it. As a rule only a span's first and last
// pixels can have such values (their positions lie up to half a pixel outside the triangle), so
// those two are drawn held when they need it and the pixels between them on 32 bits without
// holding; should the pixels between not lie in range either (a sliver, whose rounded corners
// may lie off it), the whole span is drawn held.
template <bool Depth> struct ShadedSpan {
    const RasterTriangle& t;

    void operator()(const ShadedSetup& s, int y, int first, int end,
                    const ShadedSpanStart& start) const {
        const int count = end - first;
        const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(y) * t.pitch() + first;
        Row row{t.pixels + offset, Depth ? t.depth + offset : nullptr};
        if (!Depth && !s.holdsChannels) {
            run<false>(s, start, row, 0, count);
            return;
        }
        const auto inRange = [&](int i) { return shadedInRange(s, start, Depth, i); };
        const bool firstIn = inRange(0);
        const bool lastIn = count == 1 ? firstIn : inRange(count - 1);
        const int begin = firstIn ? 0 : 1;
        const int stop = lastIn ? count : count - 1;
        if (stop > begin && ((!firstIn && !inRange(begin)) || (!lastIn && !inRange(stop - 1)))) {
            run<true>(s, start, row, 0, count);
            return;
        }
        if (begin > 0) {
            run<true>(s, start, row, 0, begin);
        }
        if (stop > begin) {
            run<false>(s, start, row, begin, stop);
        }
        if (count > stop && stop >= begin) {
            run<true>(s, start, row, stop, count);
        }
    }

    // Where a span's first pixel and its depth go.
    struct Row {
        std::uint32_t* out;
        float* depth;
    };

    // Pixels from..to-1 of a span.
    template <bool Held>
    void run(const ShadedSetup& s, const ShadedSpanStart& start, Row row, int from, int to) const {
        using Accumulator = std::conditional_t<Held, std::int64_t, std::uint32_t>;
        std::uint32_t* const out = row.out;
        float* const depth = row.depth;
        auto red = static_cast<Accumulator>(start.channel[0] + from * s.step[0]);
        auto green = static_cast<Accumulator>(start.channel[1] + from * s.step[1]);
        auto blue = static_cast<Accumulator>(start.channel[2] + from * s.step[2]);
        const auto redStep = static_cast<Accumulator>(s.step[0]);
        const auto greenStep = static_cast<Accumulator>(s.step[1]);
        const auto blueStep = static_cast<Accumulator>(s.step[2]);
        auto pixel = [&] {
            if constexpr (Held) {
                auto held = [&](std::int64_t v, int c) {
                    return static_cast<std::uint32_t>(std::clamp(v, s.low[c], s.high[c]));
                };
                return shadedPixel(held(red, 0), held(green, 1), held(blue, 2));
            } else {
                return shadedPixel(red, green, blue);
            }
        };
        if constexpr (Depth) {
            double k = from; // the pixel's place in the span: 1/z is worked out afresh for each
            for (int i = from; i < to; ++i, k += 1.0) {
                double w = start.w + k * s.depth.dx;
                if constexpr (Held) {
                    w = std::clamp(w, s.depthLow, s.depthHigh);
                }
                const auto nearness = static_cast<float>(w);
                if (depth[i] < nearness) {
                    depth[i] = nearness;
                    out[i] = pixel();
                }
                red += redStep;
                green += greenStep;
                blue += blueStep;
            }
        } else {
            for (int i = from; i < to; ++i) {
                out[i] = pixel();
                red += redStep;
                green += greenStep;
                blue += blueStep;
            }
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
