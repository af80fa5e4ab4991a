#include "music/XmLayout.h"

#include <algorithm>
#include <cstring>

namespace vardel {

namespace {

// How libopenmpt reads the size fields, which other trackers fill with other values than the
// usual ones: a pattern header length that runs past the end of the file counts as 9 bytes,
// an instrument header size of 0 as 263 bytes, the fields past a shorter instrument header
// as zeros (so a header shorter than 29 bytes has no samples), and every sample header is
// 40 bytes whatever the sample header size field says.
constexpr std::uint64_t usualPatternHeader = 9;
constexpr std::uint64_t usualInstrumentHeader = 263;
constexpr std::uint64_t sampleCountEnd = 29;
constexpr std::uint64_t sampleHeaderSize = 40;

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes(bytes) {}
    bool has(std::uint64_t at, std::uint64_t count) const {
        return at <= bytes.size() && count <= bytes.size() - at;
    }
    // The bytes the file holds of `count` from `at`.
    std::uint64_t held(std::uint64_t at, std::uint64_t count) const {
        return at >= bytes.size() ? 0 : std::min<std::uint64_t>(count, bytes.size() - at);
    }
    // `at` is below the size once has() says so, which makes it fit a size_t.
    std::uint32_t u8(std::uint64_t at) const {
        return has(at, 1) ? bytes[static_cast<std::size_t>(at)] : 0;
    }
    std::uint32_t u16(std::uint64_t at) const { return u8(at) | u8(at + 1) << 8; }
    std::uint32_t u32(std::uint64_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::size_t size() const { return bytes.size(); }

private:
    std::span<const std::uint8_t> bytes;
};

std::string needs(const std::string& what, std::uint64_t needed, std::size_t size) {
    return what + " needs " + std::to_string(needed) + " bytes, the file has " +
           std::to_string(size);
}

std::string holds(const std::string& what, std::uint64_t held, std::uint64_t count) {
    return what + " has " + std::to_string(held) + " of its " + std::to_string(count) + " bytes";
}

// The patterns from `at` on; returns where the instruments start, or sets `problem`.
std::uint64_t walkPatterns(const Reader& in, std::uint64_t at, std::uint32_t patterns,
                           std::string& problem) {
    for (std::uint32_t i = 0; i < patterns; ++i) {
        // Pattern header: its length, packing type, rows, then the packed data's size.
        if (!in.has(at, usualPatternHeader)) {
            problem = needs("the header of pattern " + std::to_string(i), at + usualPatternHeader,
                            in.size());
            return at;
        }
        std::uint64_t length = in.u32(at);
        length = in.has(at, length) ? length : usualPatternHeader;
        const std::uint64_t end = at + length + in.u16(at + 7);
        if (!in.has(0, end)) {
            problem = needs("the data of pattern " + std::to_string(i), end, in.size());
            return at;
        }
        at = end;
    }
    return at;
}

// The instruments from `at` on, each a header, its sample headers and their data; returns the
// first part the file does not hold in full, or an empty string.
std::string walkInstruments(const Reader& in, std::uint64_t at, std::uint32_t instruments) {
    for (std::uint32_t i = 1; i <= instruments; ++i) {
        const auto name = [i] { return "instrument " + std::to_string(i); };
        if (at >= in.size()) {
            return i == instruments ? name() + " is missing"
                                    : "instruments " + std::to_string(i) + " to " +
                                          std::to_string(instruments) + " are missing";
        }
        std::uint64_t size = in.u32(at);
        size = size == 0 ? usualInstrumentHeader : size;
        if (!in.has(at, size)) {
            return holds(name() + "'s header", in.held(at, size), size);
        }
        const std::uint32_t samples = size >= sampleCountEnd ? in.u16(at + 27) : 0;
        at += size;
        // The sample headers (length first; byte 39 marks 4-bit ADPCM data, half the size
        // plus a table), then the samples' data.
        const std::uint64_t headers = samples * sampleHeaderSize;
        if (!in.has(at, headers)) {
            const std::uint64_t whole = in.held(at, headers) / sampleHeaderSize;
            return holds(name() + "'s sample " + std::to_string(whole + 1) + " header",
                         in.held(at + whole * sampleHeaderSize, sampleHeaderSize),
                         sampleHeaderSize);
        }
        std::uint64_t data = at + headers;
        for (std::uint32_t s = 1; s <= samples; ++s, at += sampleHeaderSize) {
            const std::uint64_t length = in.u32(at);
            const std::uint64_t count = in.u8(at + 39) == 0xAD ? (length + 1) / 2 + 16 : length;
            if (!in.has(data, count)) {
                return holds(name() + "'s sample " + std::to_string(s), in.held(data, count),
                             count);
            }
            data += count;
        }
        at = data;
    }
    return {};
}

} // namespace

XmTruncation findXmTruncation(std::span<const std::uint8_t> bytes) {
    const Reader in(bytes);
    XmTruncation found;
    if (!in.has(0, 60) || std::memcmp(bytes.data(), "Extended Module: ", 17) != 0 ||
        in.u16(58) != 0x0104) {
        return found;
    }
    // The header: its size from byte 60 on, then the counts and the order list.
    const std::uint64_t headerEnd = 60 + std::uint64_t{in.u32(60)};
    if (!in.has(0, 80) || !in.has(0, headerEnd)) {
        found.patterns = needs("the header", std::max<std::uint64_t>(80, headerEnd), in.size());
        return found;
    }
    const std::uint64_t instruments = walkPatterns(in, headerEnd, in.u16(70), found.patterns);
    if (found.patterns.empty()) {
        found.instruments = walkInstruments(in, instruments, in.u16(72));
    }
    return found;
}

} // namespace vardel
