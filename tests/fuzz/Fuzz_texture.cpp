// Raw texture reader on arbitrary bytes: one pixel per whole three bytes, top byte zero.

#include <cstdint>
#include <cstdlib>

#include "scene/Texture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vardel::Texture texture;
    texture.loadTextureBytes({data, size});
    if (texture.pixels.size() != size / 3) {
        std::abort();
    }
    for (std::uint32_t pixel : texture.pixels) {
        if ((pixel >> 24) != 0) {
            std::abort();
        }
    }
    return 0;
}
