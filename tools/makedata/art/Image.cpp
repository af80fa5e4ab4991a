#include "art/Image.h"

namespace vardel::makedata {

namespace {

std::uint8_t toByte(double value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

} // namespace

std::vector<std::uint8_t> Image::rawBytes() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(texels.size() * 3);
    for (const Rgb& texel : texels) {
        bytes.push_back(toByte(texel.r));
        bytes.push_back(toByte(texel.g));
        bytes.push_back(toByte(texel.b));
    }
    return bytes;
}

} // namespace vardel::makedata
