#include "render/ShadedTriangle.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include "render/Avx2.h"
#include "render/ScreenClip.h"
#include "render/ShadedFill.h"
#include "render/Sse2.h"

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
        s.depthLow = lowest(w[0], w[1], w[2]);
        s.depthHigh = highest(w[0], w[1], w[2]);
    } else {
        s.depth = Plane{0.0, 0.0, 0.0};
        s.depthLow = s.depthHigh = 0.0;
    }
    PlaneFit rounded;
    rounded.fit(s.rows);
    const std::array<double, 3> base{static_cast<double>((t.color >> 16) & 0xFF),
                                     static_cast<double>((t.color >> 8) & 0xFF),
                                     static_cast<double>(t.color & 0xFF)};
    for (int c = 0; c < 3; ++c) {
        std::array<double, 3> value;
        for (int k = 0; k < 3; ++k) {
            const VertexShade& shade = *t.shade[s.rows.corner[k]];
            const double intensity = c == 0 || t.mono != 0 ? shade.r : (c == 1 ? shade.g : shade.b);
            // trunc(channel x intensity x 65536), the intensity held to 0..1 first.
            value[k] = static_cast<double>(
                static_cast<std::int32_t>(base[c] * clampUnit(intensity) * 65536.0));
        }
        s.channel[c] = rounded.plane(value);
        s.step[c] = roundClamped64(s.channel[c].dx, kFixedStepLimit);
        s.low[c] = static_cast<std::int64_t>(lowest(value[0], value[1], value[2]));
        s.high[c] = static_cast<std::int64_t>(highest(value[0], value[1], value[2]));
        s.holdsChannels = s.holdsChannels || s.low[c] < kRoundingReach ||
                          s.high[c] + kRoundingReach > kChannelMax;
    }
    if (!s.holdsChannels) {
        s.low.fill(std::numeric_limits<std::int64_t>::min());
        s.high.fill(std::numeric_limits<std::int64_t>::max());
    }
    return true;
}

namespace {

#if VARDEL_AVX2
/*
 * ShadedSpan::runFours eight pixels a group, for processors with AVX2 (a loop of its own: the
 * compiler takes AVX2 only in functions marked for it): the groups of eight of pixels
 * from..to-1 (at least one, whole) of a span that holds no channel, from `out` and `depth` on.
 * The values are worked out as there: channels in 32-bit lanes, 1/z in doubles made floats.
 * Returns the first pixel left to draw.
 */
template <bool Depth, bool HeldDepth>
VARDEL_AVX2_FUNCTION int shadedEights(const ShadedSetup& s, const ShadedSpanStart& start,
                                      std::uint32_t* out, float* depth, int from, int to) {
    __m256i channel[3];
    __m256i eightSteps[3];
    for (int c = 0; c < 3; ++c) {
        const auto step = static_cast<std::int32_t>(s.step[c]); // on 32 bits, as the sums
        channel[c] = _mm256_add_epi32(
            _mm256_set1_epi32(static_cast<std::int32_t>(start.channel[c] + from * s.step[c])),
            avx2::laneSteps(step));
        eightSteps[c] = _mm256_set1_epi32(static_cast<std::int32_t>(s.step[c] * 8));
    }
    const __m256i redMask = _mm256_set1_epi32(0x00FF0000);
    const __m256i greenMask = _mm256_set1_epi32(0x0000FF00);
    // 1/z of pixels k .. k + 3 and k + 4 .. k + 7, the places whole numbers and so exact.
    const __m256d base = _mm256_set1_pd(start.w);
    const __m256d slope = _mm256_set1_pd(s.depth.dx);
    const __m256d low = _mm256_set1_pd(s.depthLow);
    const __m256d high = _mm256_set1_pd(s.depthHigh);
    avx2::EightPlaces places = avx2::eightPlaces(from);
    int i = from;
    for (; i + 8 <= to; i += 8) {
        const __m256i colour = _mm256_or_si256(
            _mm256_or_si256(_mm256_and_si256(channel[0], redMask),
                            _mm256_and_si256(_mm256_srli_epi32(channel[1], 8), greenMask)),
            _mm256_srli_epi32(channel[2], 16));
        auto* const pixels = reinterpret_cast<__m256i*>(out + i);
        if constexpr (Depth) {
            const __m256 near = avx2::nextNearness<HeldDepth>(places, base, slope, low, high);
            const __m256 stored = _mm256_loadu_ps(depth + i);
            const __m256 nearer = _mm256_cmp_ps(stored, near, _CMP_LT_OQ);
            // The nearer lanes only, by masked stores: no branch on how many there are.
            _mm256_maskstore_ps(depth + i, _mm256_castps_si256(nearer), near);
            _mm256_maskstore_epi32(reinterpret_cast<int*>(pixels), _mm256_castps_si256(nearer),
                                   colour);
        } else {
            _mm256_storeu_si256(pixels, colour);
        }
        for (int c = 0; c < 3; ++c) {
            channel[c] = _mm256_add_epi32(channel[c], eightSteps[c]);
        }
    }
    return i;
}
#endif

// One row of the fast fillers: the accumulators start at the span's first pixel and step per
// pixel; with depth, a pixel is written only where the stored 1/z is less than the pixel's.
// The test is made at the buffer's float precision, so that a surface at the same depth as the
// one drawn before leaves it in place instead of winning wherever the float rounded down.
// 1/z of pixel i is start + i x step, held to the corners' range at every pixel (two
// instructions, less than finding the pixels that need it); channels are held to theirs only
// where the triangle's can leave it by a level. Runs that hold nothing go four pixels at a
// time where SSE2 is there, eight where the record asks for AVX2's (eightWide).
template <bool Depth> class ShadedSpan {
public:
    // What the rows' groups of four share is made once for the triangle.
    ShadedSpan(const RasterTriangle& t, [[maybe_unused]] const ShadedSetup& s) : t(t) {
#if VARDEL_SSE2
        for (int c = 0; c < 3; ++c) {
            const auto step = static_cast<std::int32_t>(s.step[c]); // on 32 bits, as the sums
            laneStep[c] = sse2::laneSteps(step);
            fourSteps[c] = _mm_set1_epi32(static_cast<std::int32_t>(s.step[c] * 4));
        }
        depthSlope = _mm_set1_pd(s.depth.dx);
        depthLow = _mm_set1_pd(s.depthLow);
        depthHigh = _mm_set1_pd(s.depthHigh);
#endif
    }

    void operator()(const ShadedSetup& s, int y, int first, int end,
                    const ShadedSpanStart& start) const {
        const int count = end - first;
        const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(y) * t.pitch() + first;
        const Row row{t.pixels + offset, Depth ? t.depth + offset : nullptr};
        if (!s.holdsChannels) {
            run<false>(s, start, row, 0, count);
            return;
        }
        // As a rule only the first pixel's channels (and, by rounding, the last's) leave the
        // corners' range: those two are drawn held and the pixels between on 32 bits. Should
        // the pixels between need holding too (a sliver, whose rounded corners may lie off
        // it), the whole span is drawn held.
        const auto inRange = [&](int i) {
            int inside = 1; // on ints: no branches
            for (int c = 0; c < 3; ++c) {
                const std::int64_t value = start.channel[c] + i * s.step[c];
                inside &=
                    static_cast<int>(value >= s.low[c]) & static_cast<int>(value <= s.high[c]);
            }
            return inside != 0;
        };
        const int begin = inRange(0) ? 0 : 1;
        const int stop = count > begin && !inRange(count - 1) ? count - 1 : count;
        if (stop > begin && !(inRange(begin) && inRange(stop - 1))) {
            run<true>(s, start, row, 0, count);
            return;
        }
        run<true>(s, start, row, 0, begin);
        run<false>(s, start, row, begin, stop);
        run<true>(s, start, row, stop, count);
    }

private:
    // Where a span's first pixel and its depth go.
    struct Row {
        std::uint32_t* out;
        float* depth;
    };

    // Pixels from..to-1 of a span.
    template <bool HoldChannels>
    void run(const ShadedSetup& s, const ShadedSpanStart& start, const Row& row, int from,
             int to) const {
        using Accumulator = std::conditional_t<HoldChannels, std::int64_t, std::uint32_t>;
        std::uint32_t* const out = row.out;
        float* const depth = row.depth;
#if VARDEL_SSE2
        if (!HoldChannels && to - from >= 4) {
            // 1/z needs no holding where it lies within the corners' range at both ends of the
            // groups, as it does all along most spans. Short runs hold it rather than pay for
            // the check; without depth there is nothing to hold.
            const int groupsEnd = from + ((to - from) & ~3);
            const auto w = [&](int i) { return start.w + i * s.depth.dx; };
            const bool unheld = Depth && groupsEnd - from >= 16 &&
                                endsWithin(w(from), w(groupsEnd - 1), s.depthLow, s.depthHigh);
#if VARDEL_AVX2
            // Eight at a time where the record says so, a last group of four left over.
            if (t.eightWide && groupsEnd - from >= 8) {
                const int eightsEnd = from + ((groupsEnd - from) & ~7);
                from = unheld ? shadedEights<Depth, false>(s, start, out, depth, from, eightsEnd)
                              : shadedEights<Depth, true>(s, start, out, depth, from, eightsEnd);
            }
#endif
            if (from < groupsEnd) {
                from = unheld ? runFours<false>(s, start, row, from, groupsEnd)
                              : runFours<true>(s, start, row, from, groupsEnd);
            }
        }
#endif
        auto red = static_cast<Accumulator>(start.channel[0] + from * s.step[0]);
        auto green = static_cast<Accumulator>(start.channel[1] + from * s.step[1]);
        auto blue = static_cast<Accumulator>(start.channel[2] + from * s.step[2]);
        const auto redStep = static_cast<Accumulator>(s.step[0]);
        const auto greenStep = static_cast<Accumulator>(s.step[1]);
        const auto blueStep = static_cast<Accumulator>(s.step[2]);
        auto pixel = [&] {
            if constexpr (HoldChannels) {
                auto held = [&](std::int64_t v, int c) {
                    return static_cast<std::uint32_t>(std::clamp(v, s.low[c], s.high[c]));
                };
                return shadedPixel(held(red, 0), held(green, 1), held(blue, 2));
            } else {
                return shadedPixel(red, green, blue);
            }
        };
        if constexpr (Depth) {
            for (int i = from; i < to; ++i) {
                const double w = start.w + i * s.depth.dx;
                const double above = w > s.depthLow ? w : s.depthLow; // max and min: no branches
                const auto nearness = static_cast<float>(above < s.depthHigh ? above : s.depthHigh);
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

#if VARDEL_SSE2
    /*
     * The groups of four of pixels from..to-1 (at least one, whole) that hold no channel, the
     * values worked out as the loop above works them out: channels in 32-bit lanes (sums wrap
     * alike), 1/z in doubles made floats, held to the corners' range where HeldDepth is set.
     * Returns the first pixel left to draw.
     */
    template <bool HeldDepth>
    int runFours(const ShadedSetup& s, const ShadedSpanStart& start, const Row& row, int from,
                 int to) const {
        // On 32 bits, wrapping as the one-pixel loop's sums do.
        const auto lanes = [&](int c) {
            return _mm_add_epi32(
                _mm_set1_epi32(static_cast<std::int32_t>(start.channel[c] + from * s.step[c])),
                laneStep[c]);
        };
        __m128i red = lanes(0);
        __m128i green = lanes(1);
        __m128i blue = lanes(2);
        const __m128i redFour = fourSteps[0];
        const __m128i greenFour = fourSteps[1];
        const __m128i blueFour = fourSteps[2];
        const __m128i redMask = _mm_set1_epi32(0x00FF0000);
        const __m128i greenMask = _mm_set1_epi32(0x0000FF00);
        sse2::Nearness<HeldDepth> nearness(start.w, depthSlope, from, depthLow, depthHigh);
        int i = from;
        for (; i + 4 <= to; i += 4) {
            const auto colour = [&] {
                return _mm_or_si128(
                    _mm_or_si128(_mm_and_si128(red, redMask),
                                 _mm_and_si128(_mm_srli_epi32(green, 8), greenMask)),
                    _mm_srli_epi32(blue, 16));
            };
            auto* const pixels = reinterpret_cast<__m128i*>(row.out + i);
            if constexpr (Depth) {
                const __m128 near = nearness.next();
                const __m128 stored = _mm_loadu_ps(row.depth + i);
                const __m128 nearer = _mm_cmplt_ps(stored, near);
                // Groups are mostly drawn whole or hidden whole (a backdrop behind what was
                // drawn before it): those skip the blend, or everything.
                const int drawn = _mm_movemask_ps(nearer);
                if (drawn == 0xF) {
                    _mm_storeu_ps(row.depth + i, near);
                    _mm_storeu_si128(pixels, colour());
                } else if (drawn != 0) {
                    // The nearer of the two is what the test keeps (a stored value equal to
                    // the pixel's is the same float; the buffer holds no NaN).
                    _mm_storeu_ps(row.depth + i, _mm_max_ps(stored, near));
                    _mm_storeu_si128(pixels, sse2::select(_mm_castps_si128(nearer),
                                                          _mm_loadu_si128(pixels), colour()));
                }
            } else {
                _mm_storeu_si128(pixels, colour());
            }
            red = _mm_add_epi32(red, redFour);
            green = _mm_add_epi32(green, greenFour);
            blue = _mm_add_epi32(blue, blueFour);
        }
        return i;
    }
#endif

    const RasterTriangle& t;
#if VARDEL_SSE2
    __m128i laneStep[3];  // 0, 1, 2 and 3 steps of each channel
    __m128i fourSteps[3]; // four steps of each channel
    __m128d depthSlope, depthLow, depthHigh;
#endif
};

// The rows of a set-up triangle, a function of its own for each filler.
template <bool Depth> VARDEL_INLINE_CALLS void fillShaded(const RasterTriangle& t) {
    ShadedSetup s;
    if (setUpShadedRows(t, Depth, s)) {
        shadedRows(s, t, ShadedSpan<Depth>(t, s));
    }
}

} // namespace

void fillShadedTriangle(const RasterTriangle& triangle) {
    fillShaded<false>(triangle);
}

void fillShadedTriangleDepth(const RasterTriangle& triangle) {
    fillShaded<true>(triangle);
}

void drawShadedTriangle(const RasterTriangle& triangle) {
    clipToScreen(triangle, false,
                 triangle.depth != nullptr ? fillShadedTriangleDepth : fillShadedTriangle);
}

} // namespace vardel
