#include "capture/FrameHash.h"

#include <cinttypes>
#include <cstdio>

namespace vardel {

std::uint64_t frameHash(const FrameBuffer& frame) {
    std::uint64_t hash = 14695981039346656037ull;
    const std::uint32_t* row = frame.pixels;
    for (int y = 0; y < frame.height; ++y, row += frame.width + frame.rowPadding) {
        for (int x = 0; x < frame.width; ++x) {
            for (int shift = 0; shift < 32; shift += 8) {
                hash = (hash ^ ((row[x] >> shift) & 0xFF)) * 1099511628211ull;
            }
        }
    }
    return hash;
}

int hashLine(char* out, std::size_t size, std::int64_t number, int part, std::uint64_t hash) {
    return std::snprintf(out, size, "%" PRId64 " %d %016" PRIx64 "\n", number, part, hash);
}

} // namespace vardel
