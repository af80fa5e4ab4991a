#include "platform/Screenshot.h"

#include <cstdio>
#include <system_error>

#include "image/PngWriter.h"

namespace vardel {

std::string screenshotName(const std::tm& when, int sequence) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &when);
    char name[64];
    if (sequence > 1) {
        std::snprintf(name, sizeof name, "vardel-%s-%d.png", stamp, sequence);
    } else {
        std::snprintf(name, sizeof name, "vardel-%s.png", stamp);
    }
    return name;
}

std::filesystem::path saveScreenshot(const FrameBuffer& frame, const std::filesystem::path& folder,
                                     const std::tm& when, std::string* reason) {
    // Never overwrite: a second shot within the same second gets the next free number.
    constexpr int maxSequence = 1000;
    for (int sequence = 1; sequence <= maxSequence; ++sequence) {
        const std::filesystem::path path = folder / screenshotName(when, sequence);
        std::error_code error;
        if (std::filesystem::exists(path, error) || error) {
            continue;
        }
        if (!writePng(path, frame.pixels, frame.width, frame.height, frame.rowPadding, reason)) {
            return {};
        }
        return path;
    }
    if (reason != nullptr) {
        *reason = (folder / screenshotName(when)).string() + ": too many screenshots this second";
    }
    return {};
}

} // namespace vardel
