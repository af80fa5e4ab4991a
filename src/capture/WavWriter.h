#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

namespace vardel {

// Writes a 16-bit PCM WAV file as the samples come and fills in its sizes at the end.
class WavWriter {
public:
    bool open(const std::filesystem::path& path, int channels, int sampleRate, std::string* reason);
    // Interleaved samples, written little-endian.
    void write(std::span<const std::int16_t> samples);
    // Fills in the sizes and closes the file; false, with the reason, when anything failed.
    bool finish(std::string* reason);

private:
    std::ofstream file;
    std::string name;
    std::uint64_t dataBytes = 0;
};

} // namespace vardel
