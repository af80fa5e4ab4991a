#include "effects/BlitArea.h"

#include <algorithm>
#include <cstdint>

namespace vardel {

namespace {

struct Span {
    int source = 0;
    int dest = 0;
    int count = 0;
};

/* One axis of the placement: a source of `size` pixels starting at destination coordinate
   `offset`, clipped to [0, destSize). A negative offset skips -offset source pixels. Worked in
   64 bits so that extreme offsets cannot overflow. */
Span clipAxis(std::int32_t offset, std::int32_t size, std::int32_t destSize) {
    const std::int64_t first = std::max<std::int64_t>(offset, 0);
    const std::int64_t end = std::min<std::int64_t>(std::int64_t{offset} + size, destSize);
    if (end <= first) {
        return {};
    }
    return {static_cast<int>(first - offset), static_cast<int>(first),
            static_cast<int>(end - first)};
}

} // namespace

std::optional<BlitArea> blitArea(const FrameBuffer& buffer) {
    const Span rows = clipAxis(buffer.offsetY, buffer.height, buffer.destHeight);
    const Span columns = clipAxis(buffer.offsetX, buffer.width, buffer.destWidth);
    if (rows.count <= 0 || columns.count <= 0) {
        return std::nullopt;
    }
    return BlitArea{rows.source,    rows.dest,    rows.count,
                    columns.source, columns.dest, columns.count};
}

} // namespace vardel
