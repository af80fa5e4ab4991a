#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace vardel {

// A loaded image: 0x00RRGGBB pixels row after row. Same first four fields as a FrameBuffer.
struct Texture {
    std::vector<std::uint32_t> pixels;
    int width = 0;
    int height = 0;
    int rowPadding = 0; // always 0 for textures

    // Reads a headerless raw RGB file: one pixel per three bytes, trailing bytes ignored.
    // Sets pixels and rowPadding, not the size. On failure returns false, leaves the texture
    // unchanged and puts a one-line reason naming the file in *reason.
    bool loadTexture(const std::filesystem::path& path, std::string* reason = nullptr);
    void loadTextureBytes(std::span<const std::uint8_t> bytes);
};

// The demo's texture set, in loading order.
enum TextureId : int {
    Novine,
    Prstenovi,
    Resetke2,
    Resetke22,
    Resetke222,
    Drostal,
    Velmorane,
    Clouds,
    Embora,
    TextureCount
};

struct TextureFile {
    const char* name; // as the program names it, with backslash separators
    int width;
    int height;
};

inline constexpr std::array<TextureFile, TextureCount> textureFiles = {{
    {"data\\novine.raw", 256, 320},
    {"data\\prstenovi.raw", 60, 600},
    {"data\\resetke2.raw", 600, 600},
    {"data\\resetke22.raw", 600, 600},
    {"data\\resetke222.raw", 600, 600},
    {"data\\drostal.raw", 312, 279},
    {"data\\velmorane.raw", 640, 512},
    {"data\\clouds.raw", 319, 320},
    {"data\\embora.raw", 320, 240},
}};

using TextureSet = std::array<Texture, TextureCount>;

// Loads the nine textures of the set in order, with file names resolved under dataRoot
// (empty: the current directory). Stops at the first failure and returns false; a file
// holding fewer pixels than its width x height is a failure too.
bool loadTextures(TextureSet& textures, const std::filesystem::path& dataRoot = {},
                  std::string* reason = nullptr);

} // namespace vardel
