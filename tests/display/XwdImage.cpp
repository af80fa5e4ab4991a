#include "XwdImage.h"

#include <bit>
#include <fstream>
#include <iterator>

namespace vardel::test {

namespace {

// Header fields, each a big-endian 32-bit number, by position.
enum Field {
    HeaderSize = 0,
    FileVersion = 1,
    PixmapWidth = 4,
    PixmapHeight = 5,
    ByteOrder = 7,
    BitsPerPixel = 11,
    BytesPerLine = 12,
    RedMask = 14,
    GreenMask = 15,
    BlueMask = 16,
    ColourCount = 19,
    FieldCount = 25,
};

std::uint32_t word(const std::vector<std::uint8_t>& bytes, std::size_t at, bool bigEndian) {
    const std::uint32_t b0 = bytes[at], b1 = bytes[at + 1], b2 = bytes[at + 2], b3 = bytes[at + 3];
    return bigEndian ? b0 << 24 | b1 << 16 | b2 << 8 | b3 : b3 << 24 | b2 << 16 | b1 << 8 | b0;
}

// The 8-bit channel selected by a contiguous mask of 8 bits.
std::uint32_t channel(std::uint32_t pixel, std::uint32_t mask) {
    return mask == 0 ? 0 : (pixel & mask) >> std::countr_zero(mask);
}

} // namespace

bool readXwd(const std::filesystem::path& path, XwdImage& image, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    auto fail = [&](const std::string& why) {
        *error = path.string() + ": " + why;
        return false;
    };
    if (bytes.size() < FieldCount * 4) {
        return fail("shorter than a dump header");
    }
    auto field = [&](Field f) { return word(bytes, std::size_t(f) * 4, true); };
    if (field(FileVersion) != 7) {
        return fail("not a version 7 window dump");
    }
    if (field(BitsPerPixel) != 32) {
        return fail("has " + std::to_string(field(BitsPerPixel)) + " bits per pixel, not 32");
    }
    image.width = static_cast<int>(field(PixmapWidth));
    image.height = static_cast<int>(field(PixmapHeight));
    const std::size_t stride = field(BytesPerLine);
    const std::size_t start = std::size_t{field(HeaderSize)} + std::size_t{field(ColourCount)} * 12;
    if (stride < std::size_t(image.width) * 4 ||
        start + stride * std::size_t(image.height) > bytes.size()) {
        return fail("image data is truncated");
    }
    const bool bigEndianPixels = field(ByteOrder) == 1;
    image.pixels.resize(std::size_t(image.width) * std::size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p =
                word(bytes, start + std::size_t(y) * stride + std::size_t(x) * 4, bigEndianPixels);
            image.pixels[std::size_t(y) * std::size_t(image.width) + std::size_t(x)] =
                channel(p, field(RedMask)) << 16 | channel(p, field(GreenMask)) << 8 |
                channel(p, field(BlueMask));
        }
    }
    return true;
}

} // namespace vardel::test
