#pragma once

#include "effects/FrameBuffer.h"

#include <cstddef>
#include <optional>

namespace vardel {

// The part of a FrameBuffer that a blit writes: `rows` rows of `columns` pixels starting at
// source (sourceColumn, sourceRow) and destination (destColumn, destRow).
struct BlitArea {
    int sourceRow = 0;
    int destRow = 0;
    int rows = 0;
    int sourceColumn = 0;
    int destColumn = 0;
    int columns = 0;
};

// Places the buffer at (offsetX, offsetY) of its destination and clips it there. Empty when no
// pixel of the buffer falls inside the destination.
std::optional<BlitArea> blitArea(const FrameBuffer& buffer);

/* Runs row(source, destination, count) over every clipped row of a blit. Dest is the element
   type of the destination memory and unitsPerPixel the number of elements per destination
   pixel (3 bytes at 24 bits), so that destination rows are
   (destWidth + destPadding) * unitsPerPixel elements apart. */
template <typename Dest, int unitsPerPixel, typename RowFn>
void forEachBlitRow(const FrameBuffer& buffer, Dest* dest, RowFn&& row) {
    if (buffer.pixels == nullptr || dest == nullptr) {
        return;
    }
    const std::optional<BlitArea> area = blitArea(buffer);
    if (!area) {
        return;
    }
    const std::ptrdiff_t sourceStride = std::ptrdiff_t{buffer.width} + buffer.rowPadding;
    const std::ptrdiff_t destStride =
        (std::ptrdiff_t{buffer.destWidth} + buffer.destPadding) * unitsPerPixel;
    const std::uint32_t* source =
        buffer.pixels + area->sourceRow * sourceStride + area->sourceColumn;
    Dest* target =
        dest + area->destRow * destStride + std::ptrdiff_t{area->destColumn} * unitsPerPixel;
    for (int y = 0; y < area->rows; ++y) {
        row(source, target, area->columns);
        source += sourceStride;
        target += destStride;
    }
}

} // namespace vardel
