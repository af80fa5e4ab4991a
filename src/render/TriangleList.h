#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/RasterTriangle.h"
#include "render/TriangleDrawer.h"

namespace vardel {

/*
 * The triangles of a render call, kept in drawing order with copies of their corners, so that
 * they can be drawn one band of rows at a time: threads filling different bands of the same
 * target write disjoint pixels. Drawn band by band, the target gets exactly the pixels the
 * render call would have drawn itself: every band sees the triangles in the same order, and a
 * triangle's pixels do not depend on the band it is drawn in.
 *
 * A band can be drawn while the triangles are still being recorded on another thread: each
 * triangle is published once its copy is complete, and drawRows follows until end(). The list
 * never grows while it is being recorded (begin() makes the room), so the copies stay put.
 *
 * The depth cull runs per band, on the band's own rows; the render call does not cull (see
 * drawsNow). Lines are not recorded: a scene that draws lines or edges is rendered directly.
 */
class TriangleList final : public TriangleDrawer {
public:
    // Starts a frame of at most `capacity` triangles (a render call draws at most two per
    // polygon); memory grows here only, when a frame needs more than any before it.
    void begin(std::size_t capacity);
    // No more triangles this frame.
    void end();

    // Records and publishes a triangle. One beyond the capacity is dropped (the capacity
    // rule above makes that impossible) rather than moving copies another thread reads.
    void draw(const RasterTriangle& triangle) const override;
    bool drawsNow() const override { return false; }

    // Draws every triangle on rows firstRow .. endRow - 1 of its target, in order, with the
    // renderer's own rasterizers, following the recording until end().
    void drawRows(int firstRow, int endRow) const;

private:
    // What differs from triangle to triangle; the target and the rest are the render call's.
    // Aligned and padded to 16 bytes for the streaming copy in draw().
    struct alignas(16) Entry {
        std::array<ScreenVertex, 3> screen;
        std::array<VertexShade, 3> shade;
        std::array<TexCoord, 3> uv;
        const Texture* texture;
        std::uint32_t color;
        std::uint8_t mono;
    };
    // The rows an entry's triangle may draw, widened by one or two each way: a band outside
    // them passes the entry over without reading it.
    struct RowReach {
        std::int32_t top;
        std::int32_t bottom;
    };
    static RowReach rowReach(const RasterTriangle& triangle);
    // Draws an entry with `triangle`, which holds the render call's fields and the band's rows;
    // cullsByDepth when it is depthCullable.
    static void drawEntry(const Entry& entry, RasterTriangle& triangle, bool cullsByDepth);
    // Makes the first `count` entries visible to the drawing threads.
    void publish(std::size_t count) const;

    static constexpr std::size_t kPublishEvery = 64;

    // Each on a cache line of its own: the recording thread writes `used` for every triangle
    // and the counters now and then, while the drawing threads read the entries' address and
    // the counters; sharing a line would send it back and forth between them.
    mutable std::vector<Entry> entries;
    mutable std::vector<RowReach> reaches; // one per entry
    mutable RasterTriangle target; // the fields every triangle of the render call shares
    alignas(64) mutable std::size_t used = 0; // the recording thread's count
    // Entries complete and visible to other threads, and whether end() was called.
    alignas(64) mutable std::atomic<std::size_t> published{0};
    std::atomic<bool> complete{false};
};

} // namespace vardel
