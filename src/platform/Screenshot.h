#pragma once

#include <ctime>
#include <filesystem>
#include <string>

#include "effects/FrameBuffer.h"

namespace vardel {

// The file name of a screenshot taken at local time `when`: vardel-YYYYMMDD-HHMMSS.png, with
// -2, -3 ... before the extension for the second and later shots of the same second.
std::string screenshotName(const std::tm& when, int sequence = 1);

// Writes the frame's 320 x 240 pixels as a PNG into `folder` under the first name of its second
// that is not taken yet. Returns the path written, or an empty path with the reason in *reason.
std::filesystem::path saveScreenshot(const FrameBuffer& frame, const std::filesystem::path& folder,
                                     const std::tm& when, std::string* reason);

} // namespace vardel
