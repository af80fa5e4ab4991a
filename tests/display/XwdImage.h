#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vardel::test {

// A screenshot in the X window dump format as xwd writes it, read into 0x00RRGGBB pixels.
// Only true-colour dumps of 32 bits per pixel are read (what a 24-bit X screen gives).
struct XwdImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Reads the dump; on failure returns false with the reason in *error.
bool readXwd(const std::filesystem::path& path, XwdImage& image, std::string* error);

} // namespace vardel::test
