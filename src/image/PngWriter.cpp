#include "image/PngWriter.h"

#include <cstddef>
#include <fstream>
#include <vector>

// The encoder comes from stb as source; its own code is not held to this project's warnings.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace vardel {
namespace {

bool fail(std::string* reason, const std::filesystem::path& path, const std::string& problem) {
    if (reason != nullptr) {
        *reason = path.string() + ": " + problem;
    }
    return false;
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<unsigned char>*>(context);
    const auto* bytes = static_cast<const unsigned char*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

} // namespace

bool writePng(const std::filesystem::path& path, const std::uint32_t* pixels, int width, int height,
              int rowPadding, std::string* reason) {
    if (pixels == nullptr || width <= 0 || height <= 0 || rowPadding < 0) {
        return fail(reason, path, "no image to write (empty size or no pixels)");
    }
    const auto w = static_cast<std::size_t>(width);
    const auto pitch = w + static_cast<std::size_t>(rowPadding);
    std::vector<unsigned char> rgb(w * static_cast<std::size_t>(height) * 3);
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t pixel = pixels[y * pitch + x];
            unsigned char* out = &rgb[(y * w + x) * 3];
            out[0] = static_cast<unsigned char>(pixel >> 16);
            out[1] = static_cast<unsigned char>(pixel >> 8);
            out[2] = static_cast<unsigned char>(pixel);
        }
    }
    std::vector<unsigned char> encoded;
    if (stbi_write_png_to_func(appendBytes, &encoded, width, height, 3, rgb.data(), width * 3) ==
        0) {
        return fail(reason, path, "cannot encode the image as PNG");
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        return fail(reason, path, "cannot open for writing");
    }
    file.write(reinterpret_cast<const char*>(encoded.data()),
               static_cast<std::streamsize>(encoded.size()));
    file.close();
    if (!file) {
        return fail(reason, path, "cannot write");
    }
    return true;
}

} // namespace vardel
