#include "shell/XmLayout.h"

#include <cstring>

namespace vardel {

namespace {

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes(bytes) {}
    bool has(std::uint64_t at, std::uint64_t count) const {
        return at <= bytes.size() && count <= bytes.size() - at;
    }
    std::uint32_t u8(std::uint64_t at) const { return has(at, 1) ? bytes[at] : 0; }
    std::uint32_t u16(std::uint64_t at) const { return u8(at) | u8(at + 1) << 8; }
    std::uint32_t u32(std::uint64_t at) const { return u16(at) | u16(at + 2) << 16; }

private:
    std::span<const std::uint8_t> bytes;
};

std::string cut(const char* what, std::uint64_t needed, std::size_t size) {
    return std::string("truncated: ") + what + " needs " + std::to_string(needed) +
           " bytes, the file has " + std::to_string(size);
}

} // namespace

std::string findXmTruncation(std::span<const std::uint8_t> bytes) {
    const Reader in(bytes);
    if (!in.has(0, 60) || std::memcmp(bytes.data(), "Extended Module: ", 17) != 0 ||
        in.u16(58) != 0x0104) {
        return {};
    }
    if (!in.has(60, 20)) {
        return cut("the header", 80, bytes.size());
    }
    const std::uint32_t patterns = in.u16(70);
    const std::uint32_t instruments = in.u16(72);
    std::uint64_t at = 60 + std::uint64_t{in.u32(60)};
    for (std::uint32_t i = 0; i < patterns; ++i) {
        // Pattern header: its length, packing type, rows, then the packed data's size.
        if (!in.has(at, 9)) {
            return cut("a pattern header", at + 9, bytes.size());
        }
        at += std::uint64_t{in.u32(at)} + in.u16(at + 7);
    }
    for (std::uint32_t i = 0; i < instruments; ++i) {
        // Instrument header: its size, name, type, sample count, sample header size ...
        if (!in.has(at, 29)) {
            return cut("an instrument header", at + 29, bytes.size());
        }
        const std::uint32_t samples = in.u16(at + 27);
        const std::uint64_t sampleHeaderSize = samples > 0 ? in.u32(at + 29) : 0;
        at += in.u32(at);
        // ... then the sample headers (length first; byte 39 marks 4-bit ADPCM) and their data.
        std::uint64_t data = 0;
        for (std::uint32_t s = 0; s < samples; ++s, at += sampleHeaderSize) {
            if (!in.has(at, 40)) {
                return cut("a sample header", at + 40, bytes.size());
            }
            const std::uint64_t length = in.u32(at);
            data += in.u8(at + 39) == 0xAD ? (length + 1) / 2 + 16 : length;
        }
        at += data;
    }
    if (!in.has(0, at)) {
        return cut("the sample data", at, bytes.size());
    }
    return {};
}

} // namespace vardel
