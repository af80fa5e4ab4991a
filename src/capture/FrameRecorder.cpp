#include "capture/FrameRecorder.h"

#include <cinttypes>
#include <system_error>

#include "image/PngWriter.h"

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

bool FrameRecorder::prepare(std::string* reason) {
    if (options.shotsDir.empty()) {
        return true;
    }
    std::error_code error;
    std::filesystem::create_directories(options.shotsDir, error);
    if (error || !std::filesystem::is_directory(options.shotsDir)) {
        if (reason != nullptr) {
            *reason = options.shotsDir.string() + ": cannot make the folder" +
                      (error ? ": " + error.message() : std::string());
        }
        return false;
    }
    return true;
}

std::string FrameRecorder::shotName(std::int64_t number) {
    char name[32];
    std::snprintf(name, sizeof name, "%06" PRId64 ".png", number);
    return name;
}

bool FrameRecorder::record(const FrameBuffer& frame, std::int64_t number, int part) {
    if (!failure.empty()) {
        return false;
    }
    if (options.hashOut != nullptr) {
        std::fprintf(options.hashOut, "%" PRId64 " %d %016" PRIx64 "\n", number, part,
                     frameHash(frame));
    }
    if (!options.shotsDir.empty() && number % options.every == 0) {
        const std::filesystem::path path = options.shotsDir / shotName(number);
        if (!writePng(path, frame.pixels, frame.width, frame.height, frame.rowPadding, &failure)) {
            if (failure.empty()) {
                failure = path.string() + ": cannot write the picture";
            }
            return false;
        }
    }
    return true;
}

} // namespace vardel
