#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace vardel {

// Writes width x height pixels (0x00RRGGBB, rows width + rowPadding pixels apart, row 0 at the
// top) as an 8-bit RGB PNG file. On failure returns false with a one-line reason naming the
// file in *reason.
bool writePng(const std::filesystem::path& path, const std::uint32_t* pixels, int width, int height,
              int rowPadding, std::string* reason = nullptr);

} // namespace vardel
