#include "scene/Texture.h"

#include "scene/DataPath.h"

namespace vardel {

namespace {

// The largest texture of the set is under 1 MB; this bounds what an absurd file can claim.
constexpr std::size_t kMaxTextureBytes = 64u << 20;

} // namespace

bool Texture::loadTexture(const std::filesystem::path& path, std::string* reason) {
    std::vector<std::uint8_t> bytes;
    if (!readFileBytes(path, kMaxTextureBytes, bytes, reason)) {
        return false;
    }
    loadTextureBytes(bytes);
    return true;
}

void Texture::loadTextureBytes(std::span<const std::uint8_t> bytes) {
    // Three bytes red, green, blue per pixel become 0x00RRGGBB; a partial last pixel is ignored.
    const std::size_t count = bytes.size() / 3;
    pixels.resize(count);
    const std::uint8_t* in = bytes.data();
    for (std::size_t i = 0; i < count; ++i, in += 3) {
        pixels[i] = (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2];
    }
    rowPadding = 0;
}

bool loadTextures(TextureSet& textures, const std::filesystem::path& dataRoot,
                  std::string* reason) {
    for (std::size_t i = 0; i < textures.size(); ++i) {
        const TextureFile& file = textureFiles[i];
        Texture& texture = textures[i];
        const std::filesystem::path path = hostPath(dataRoot, file.name);
        if (!texture.loadTexture(path, reason)) {
            return false;
        }
        const auto needed = static_cast<std::size_t>(file.width) * static_cast<std::size_t>(file.height);
        if (texture.pixels.size() < needed) {
            return fail(reason, path.string(),
                        "holds " + std::to_string(texture.pixels.size()) + " pixels, but a " +
                            std::to_string(file.width) + " x " + std::to_string(file.height) +
                            " texture needs " + std::to_string(needed));
        }
        texture.width = file.width;
        texture.height = file.height;
    }
    return true;
}

} // namespace vardel
