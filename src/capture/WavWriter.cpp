#include "capture/WavWriter.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>

#include "scene/DataPath.h"

namespace vardel {

namespace {

constexpr std::uint32_t headerBytes = 44;

void put16(char* at, std::uint32_t value) {
    at[0] = static_cast<char>(value & 0xFF);
    at[1] = static_cast<char>((value >> 8) & 0xFF);
}

void put32(char* at, std::uint32_t value) {
    put16(at, value & 0xFFFF);
    put16(at + 2, value >> 16);
}

} // namespace

bool WavWriter::open(const std::filesystem::path& path, int channels, int sampleRate,
                     std::string* reason) {
    name = path.string();
    dataBytes = 0;
    file.open(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        return fail(reason, name, std::string("cannot create: ") + std::strerror(errno));
    }
    // RIFF header of a PCM file; the two sizes are filled in by finish().
    std::array<char, headerBytes> header{};
    std::memcpy(header.data(), "RIFF", 4);
    std::memcpy(header.data() + 8, "WAVEfmt ", 8);
    put32(header.data() + 16, 16);
    put16(header.data() + 20, 1);
    put16(header.data() + 22, static_cast<std::uint32_t>(channels));
    put32(header.data() + 24, static_cast<std::uint32_t>(sampleRate));
    put32(header.data() + 28, static_cast<std::uint32_t>(sampleRate * channels * 2));
    put16(header.data() + 32, static_cast<std::uint32_t>(channels * 2));
    put16(header.data() + 34, 16);
    std::memcpy(header.data() + 36, "data", 4);
    file.write(header.data(), header.size());
    return true;
}

void WavWriter::write(std::span<const std::int16_t> samples) {
    std::array<char, 4096> bytes;
    for (std::size_t done = 0; done < samples.size();) {
        const std::size_t count = std::min(samples.size() - done, bytes.size() / 2);
        for (std::size_t i = 0; i < count; ++i) {
            put16(bytes.data() + 2 * i, static_cast<std::uint16_t>(samples[done + i]));
        }
        file.write(bytes.data(), static_cast<std::streamsize>(2 * count));
        done += count;
    }
    dataBytes += 2 * samples.size();
}

bool WavWriter::finish(std::string* reason) {
    if (dataBytes > std::numeric_limits<std::uint32_t>::max() - headerBytes) {
        file.close();
        return fail(reason, name, "too much sound for a WAV file (over 4 GB)");
    }
    std::array<char, 4> size;
    put32(size.data(), static_cast<std::uint32_t>(dataBytes + headerBytes - 8));
    file.seekp(4);
    file.write(size.data(), 4);
    put32(size.data(), static_cast<std::uint32_t>(dataBytes));
    file.seekp(40);
    file.write(size.data(), 4);
    file.close();
    if (!file) {
        return fail(reason, name, "write error");
    }
    return true;
}

} // namespace vardel
