#include "capture/FrameRecorder.h"

#include <cinttypes>
#include <system_error>

#include "image/PngWriter.h"

namespace vardel {

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
        char line[64];
        hashLine(line, sizeof line, number, part, frameHash(frame));
        std::fputs(line, options.hashOut);
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
