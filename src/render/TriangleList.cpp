#include "render/TriangleList.h"

#include <cstddef>
#include <cstring>
#include <limits>
#include <thread>

#include "render/DepthCull.h"
#include "render/RasterMath.h"
#include "render/Sse2.h"

namespace vardel {

void TriangleList::begin(std::size_t capacity) {
    if (entries.size() < capacity) {
        entries.resize(capacity);
        reaches.resize(capacity);
    }
    used = 0;
    published.store(0, std::memory_order_relaxed);
    complete.store(false, std::memory_order_relaxed);
}

void TriangleList::end() {
    publish(used);
    complete.store(true, std::memory_order_release);
}

void TriangleList::draw(const RasterTriangle& triangle) const {
    if (used == entries.size()) {
        return;
    }
    if (used == 0) {
        target = triangle;
    }
    const RowReach reach = rowReach(triangle);
#if VARDEL_SSE2
    /*
     * Streamed past the cache: the drawing threads read last frame's entries here, so each
     * cache line written in the usual way would first have to be taken back from them, a
     * wait that doubled the recording's time. Streaming stores are not ordered with the
     * others, so a fence goes before each publication. The corners' 24 values go two at a
     * time from where they lie, in the entry's order, without a copy on the stack first.
     */
    static_assert(offsetof(Entry, shade) == 9 * sizeof(double) &&
                  offsetof(Entry, uv) == 18 * sizeof(double) &&
                  offsetof(Entry, texture) == 24 * sizeof(double) &&
                  offsetof(Entry, color) == offsetof(Entry, texture) + 8 &&
                  offsetof(Entry, mono) == offsetof(Entry, color) + 4 && sizeof(Entry) == 208);
    std::array<const double*, 24> value;
    for (std::size_t k = 0; k < 3; ++k) {
        value[3 * k] = &triangle.screen[k]->x;
        value[3 * k + 1] = &triangle.screen[k]->y;
        value[3 * k + 2] = &triangle.screen[k]->z;
        value[9 + 3 * k] = &triangle.shade[k]->r;
        value[9 + 3 * k + 1] = &triangle.shade[k]->g;
        value[9 + 3 * k + 2] = &triangle.shade[k]->b;
        value[18 + 2 * k] = &triangle.uv[k]->u;
        value[18 + 2 * k + 1] = &triangle.uv[k]->v;
    }
    auto* to = reinterpret_cast<__m128i*>(&entries[used]);
    for (std::size_t i = 0; i < 12; ++i) {
        _mm_stream_si128(
            to + i, _mm_castpd_si128(_mm_loadh_pd(_mm_load_sd(value[2 * i]), value[2 * i + 1])));
    }
    const auto texture = reinterpret_cast<std::uintptr_t>(triangle.texture);
    const std::uint64_t colorAndMono = std::uint64_t{triangle.mono} << 32 | triangle.color;
    _mm_stream_si128(to + 12, _mm_set_epi64x(static_cast<long long>(colorAndMono),
                                             static_cast<long long>(texture)));
    static_assert(sizeof(RowReach) == sizeof(long long));
    long long packed = 0;
    std::memcpy(&packed, &reach, sizeof packed);
    _mm_stream_si64(reinterpret_cast<long long*>(&reaches[used]), packed);
#else
    Entry& entry = entries[used];
    entry.texture = triangle.texture;
    entry.color = triangle.color;
    entry.mono = triangle.mono;
    for (std::size_t k = 0; k < 3; ++k) {
        entry.screen[k] = *triangle.screen[k];
        entry.shade[k] = *triangle.shade[k];
        entry.uv[k] = *triangle.uv[k];
    }
    reaches[used] = reach;
#endif
    // Published 64 at a time: each publication waits for the streamed entries to reach
    // memory (the fence) and sends the counter's cache line to the thread that reads it. At
    // 16 a time that took about a fifth of the recording; the drawing thread, following, is at
    // most 64 triangles behind.
    ++used;
    if (used % kPublishEvery == 0) {
        publish(used);
    }
}

void TriangleList::publish(std::size_t count) const {
#if VARDEL_SSE2
    _mm_sfence();
#endif
    published.store(count, std::memory_order_release);
}

TriangleList::RowReach TriangleList::rowReach(const RasterTriangle& triangle) {
    // A triangle draws on rows between its corners' rows rounded, also when it is cut to the
    // guard band first. Corners far off the target, or not numbers, keep every row.
    constexpr double kFar = 1 << 30;
    const double top = lowest(triangle.screen[0]->y, triangle.screen[1]->y, triangle.screen[2]->y);
    const double bottom =
        highest(triangle.screen[0]->y, triangle.screen[1]->y, triangle.screen[2]->y);
    if (!(top >= -kFar && bottom <= kFar)) {
        return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    }
    // Truncation moves a value toward zero by less than one row, so two rows' margin covers
    // what floor and ceil (a dozen instructions each without SSE4.1) would find, and more.
    return {static_cast<std::int32_t>(top) - 2, static_cast<std::int32_t>(bottom) + 2};
}

void TriangleList::drawEntry(const Entry& entry, RasterTriangle& triangle, bool cullsByDepth) {
    triangle.texture = entry.texture;
    triangle.color = entry.color;
    triangle.mono = entry.mono;
    for (std::size_t k = 0; k < 3; ++k) {
        triangle.screen[k] = &entry.screen[k];
        triangle.shade[k] = &entry.shade[k];
        triangle.uv[k] = &entry.uv[k];
    }
    if (!(cullsByDepth && hiddenByUsableDepth(triangle))) {
        rasterizers().draw(triangle);
    }
}

void TriangleList::drawRows(int firstRow, int endRow) const {
    // Fixed while a frame is recorded.
    const Entry* const recorded = entries.data();
    const RowReach* const reach = reaches.data();
    std::size_t next = 0;
    // The render call's fields, with the band's rows; each entry fills in its own. The target
    // is recorded with the first triangle, so it is read once one is published.
    RasterTriangle triangle;
    bool cullsByDepth = false; // found once, with the target
    while (true) {
        const std::size_t ready = published.load(std::memory_order_acquire);
        if (next < ready) {
            if (next == 0) {
                triangle = target;
                triangle.firstRow = firstRow;
                triangle.endRow = endRow;
                cullsByDepth = depthCullable(triangle);
            }
            for (; next < ready; ++next) {
                if (reach[next].bottom >= firstRow && reach[next].top < endRow) {
                    drawEntry(recorded[next], triangle, cullsByDepth);
                }
            }
        } else if (complete.load(std::memory_order_acquire)) {
            // Every triangle was published before end(): one more look finds the last ones.
            if (next == published.load(std::memory_order_acquire)) {
                return;
            }
        } else {
            std::this_thread::yield(); // the recording thread is transforming and lighting
        }
    }
}

} // namespace vardel
