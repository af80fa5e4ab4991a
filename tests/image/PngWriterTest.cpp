// The PNG writer, read back.

#include <gtest/gtest.h>

#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "image/PngWriter.h"
#include "support/TempDir.h"

namespace vardel {
namespace {

// The pixels of a 2 x 2 picture; none for a picture of another size.
std::vector<std::uint32_t> readPng(const std::filesystem::path& path) {
    int w = 0, h = 0, channels = 0;
    unsigned char* data = stbi_load(path.string().c_str(), &w, &h, &channels, 3);
    std::vector<std::uint32_t> pixels;
    for (int i = 0; data != nullptr && w == 2 && h == 2 && i < w * h; ++i)
        pixels.push_back(std::uint32_t(data[i * 3]) << 16 | std::uint32_t(data[i * 3 + 1]) << 8 |
                         data[i * 3 + 2]);
    stbi_image_free(data);
    return pixels;
}

TEST(PngWriter, SkipsRowPaddingAndTopBytesAndNamesTheFileOnFailure) {
    test::TempDir dir;
    const std::uint32_t pixels[] = {0xFF102030u, 0x00405060u, 0x99999999u,
                                    0x00708090u, 0x00A0B0C0u, 0x99999999u};
    std::string reason;
    ASSERT_TRUE(writePng(dir.path() / "p.png", pixels, 2, 2, 1, &reason)) << reason;
    EXPECT_EQ(readPng(dir.path() / "p.png"),
              (std::vector<std::uint32_t>{0x102030u, 0x405060u, 0x708090u, 0xA0B0C0u}));
    EXPECT_FALSE(writePng(dir.path() / "no" / "q.png", pixels, 2, 2, 1, &reason));
    EXPECT_NE(reason.find("q.png: cannot open for writing"), std::string::npos) << reason;
    EXPECT_FALSE(writePng(dir.path() / "r.png", pixels, 0, 2, 1, &reason));
    EXPECT_NE(reason.find("r.png"), std::string::npos) << reason;
}

} // namespace
} // namespace vardel
