#pragma once

#include "effects/FrameBuffer.h"

#include <array>
#include <cstdint>
#include <memory>

namespace vardel {

inline constexpr int frameWidth = 320;
inline constexpr int frameHeight = 240;

// The three 320 x 240 frame buffers the timeline draws into, in one block of memory of their
// own (rows 1280 bytes apart), zero at the start.
class FrameBufferSet {
public:
    static constexpr int count = 3;

    FrameBufferSet();
    FrameBufferSet(const FrameBufferSet&) = delete;
    FrameBufferSet& operator=(const FrameBufferSet&) = delete;

    // Buffer 1, 2 or 3.
    FrameBuffer& operator[](int number);

private:
    std::unique_ptr<std::uint32_t[]> memory;
    std::array<FrameBuffer, count> buffers;
};

// Sets every byte of the buffer's rows, padding included, to 0.
void fillWithZero(FrameBuffer& buffer);

} // namespace vardel
