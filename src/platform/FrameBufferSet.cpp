#include "platform/FrameBufferSet.h"

#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <string>

namespace vardel {

namespace {
constexpr std::size_t pixelsPerBuffer = std::size_t{frameWidth} * frameHeight;
}

FrameBufferSet::FrameBufferSet() : memory(new std::uint32_t[pixelsPerBuffer * count]()) {
    for (int i = 0; i < count; ++i) {
        FrameBuffer& b = buffers[static_cast<std::size_t>(i)];
        b.pixels = memory.get() + pixelsPerBuffer * static_cast<std::size_t>(i);
        b.width = b.destWidth = frameWidth;
        b.height = b.destHeight = frameHeight;
    }
}

FrameBuffer& FrameBufferSet::operator[](int number) {
    if (number < 1 || number > count) {
        throw std::out_of_range("frame buffer number " + std::to_string(number) +
                                " is not 1, 2 or 3");
    }
    return buffers[static_cast<std::size_t>(number - 1)];
}

void fillWithZero(FrameBuffer& buffer) {
    const std::ptrdiff_t rowPixels = std::ptrdiff_t{buffer.width} + buffer.rowPadding;
    if (buffer.pixels == nullptr || buffer.height <= 0 || rowPixels <= 0) {
        return;
    }
    std::memset(buffer.pixels, 0,
                static_cast<std::size_t>(rowPixels) * static_cast<std::size_t>(buffer.height) * 4);
}

} // namespace vardel
