// Raw texture loading: byte order, partial pixels and the nine-file texture set.

#include <gtest/gtest.h>

#include "scene/DataPath.h"
#include "scene/Texture.h"
#include "support/TempDir.h"

namespace vardel {
namespace {

TEST(Texture, PacksRedGreenBlueBytesAndIgnoresPartialPixels) {
    test::TempDir dir;
    Texture texture;
    ASSERT_TRUE(texture.loadTexture(dir.write("t.raw", std::vector<std::uint8_t>{0x10, 0x20, 0x30, 0xFF, 0x00, 0x80, 0x07})));
    EXPECT_EQ(texture.pixels, (std::vector<std::uint32_t>{0x00102030u, 0x00FF0080u}));
    EXPECT_EQ(texture.rowPadding, 0);
}

class TextureSetFiles : public ::testing::Test {
protected:
    void writeAll() {
        for (const TextureFile& file : textureFiles) {
            std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.width * file.height * 3));
            bytes[0] = static_cast<std::uint8_t>(file.width);
            writeFile(file.name, bytes);
        }
    }
    void writeFile(const char* name, const std::vector<std::uint8_t>& bytes) {
        std::filesystem::path path = hostPath(dir.path(), name);
        dir.write(path.lexically_relative(dir.path()).string(), bytes);
    }
    test::TempDir dir;
    TextureSet textures;
};

TEST_F(TextureSetFiles, LoadsAllNineWithTheirSizes) {
    writeAll();
    std::string reason;
    ASSERT_TRUE(loadTextures(textures, dir.path(), &reason)) << reason;
    EXPECT_EQ(textures[Clouds].width, 319);
    EXPECT_EQ(textures[Clouds].height, 320);
    EXPECT_EQ(textures[Velmorane].pixels.size(), 640u * 512u);
    EXPECT_EQ(textures[Prstenovi].pixels[0], 60u << 16);
}

TEST_F(TextureSetFiles, StopsAtTheFirstMissingOrShortFile) {
    writeAll();
    std::filesystem::remove(hostPath(dir.path(), textureFiles[Drostal].name));
    std::string reason;
    EXPECT_FALSE(loadTextures(textures, dir.path(), &reason));
    EXPECT_NE(reason.find("drostal.raw: cannot open"), std::string::npos) << reason;
    EXPECT_EQ(textures[Resetke222].width, 600);
    EXPECT_TRUE(textures[Velmorane].pixels.empty());

    writeAll();
    writeFile(textureFiles[Embora].name, std::vector<std::uint8_t>(320 * 239 * 3 + 2));
    TextureSet again;
    EXPECT_FALSE(loadTextures(again, dir.path(), &reason));
    EXPECT_NE(reason.find("embora.raw: holds 76480 pixels"), std::string::npos) << reason;
    EXPECT_EQ(again[Embora].width, 0);
}

} // namespace
} // namespace vardel
