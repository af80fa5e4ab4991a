#include <array>

#include "Makedata.h"
#include "art/DataName.h"
#include "scene/Texture.h"
#include "textures/Textures.h"

namespace vardel::makedata {

bool writeTextures(const std::filesystem::path& data, std::string& reason) {
    // In the order of the demo's texture table.
    using Maker = Image (*)();
    const std::array<Maker, TextureCount> makers = {newspaperPage,  ringStrip,        squareLattice,
                                                    diamondLattice, honeycombLattice, titlePicture,
                                                    seaChart,       cloudTexture,     creditsPage};
    for (int id = 0; id < TextureCount; ++id) {
        const TextureFile& file = textureFiles[static_cast<std::size_t>(id)];
        const Image image = makers[static_cast<std::size_t>(id)]();
        if (image.width() != file.width || image.height() != file.height) {
            reason = std::string(file.name) + ": made " + std::to_string(image.width()) + " x " +
                     std::to_string(image.height()) + ", the demo loads it as " +
                     std::to_string(file.width) + " x " + std::to_string(file.height);
            return false;
        }
        if (!writeDataFile(fileInData(data, file.name), image.rawBytes(), reason)) {
            return false;
        }
    }
    return true;
}

} // namespace vardel::makedata
