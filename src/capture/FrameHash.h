#pragma once

#include <cstddef>
#include <cstdint>

#include "effects/FrameBuffer.h"

namespace vardel {

// 64-bit FNV-1a of a frame's pixels, row by row (padding excluded), each pixel's four bytes
// from the low one up, so that the same picture hashes the same on every machine.
std::uint64_t frameHash(const FrameBuffer& frame);

// The line a headless run writes for a presented frame: "<number> <part> <16 hex digits>\n",
// into `out` (at most `size` bytes with the terminating zero). Returns its length.
int hashLine(char* out, std::size_t size, std::int64_t number, int part, std::uint64_t hash);

} // namespace vardel
