// The nine generated textures: exact sizes, and pictures that do their job in the demo.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "GeneratedData.h"
#include "Makedata.h"
#include "scene/DataPath.h"
#include "scene/Texture.h"
#include "support/TempDir.h"
#include "textures/Textures.h"

namespace vardel {
namespace {

double luminance(std::uint32_t p) {
    return 0.3 * ((p >> 16) & 0xFF) + 0.59 * ((p >> 8) & 0xFF) + 0.11 * (p & 0xFF);
}

// A texture as the demo would load it, made in memory: the checks of the pictures need no
// files, which keeps the test programs that do not read the data folder quick.
Texture made(makedata::Image (*maker)()) {
    const makedata::Image image = maker();
    Texture texture;
    texture.loadTextureBytes(image.rawBytes());
    texture.width = image.width();
    texture.height = image.height();
    return texture;
}

TEST(Textures, FilesHoldExactlyTheirPixelsAndLoad) {
    for (const TextureFile& file : textureFiles) {
        const auto path = hostPath(test::generatedRoot(), file.name);
        EXPECT_EQ(std::filesystem::file_size(path),
                  static_cast<std::uintmax_t>(file.width) * file.height * 3)
            << file.name;
    }
    TextureSet textures;
    std::string reason;
    EXPECT_TRUE(loadTextures(textures, test::generatedRoot(), &reason)) << reason;
}

TEST(Textures, RawFilesCarryRedGreenBlueIntoRgbPixels) {
    // Colours whose channels all differ, written as the generator writes its textures and
    // read back by the demo's loader: each must land as 0x00RRGGBB.
    makedata::Image image(3, 1);
    image.at(0, 0) = {200, 100, 30};
    image.at(1, 0) = {10, 20, 250};
    image.at(2, 0) = {255, 128, 0};
    const test::TempDir dir;
    const auto path = dir.path() / "colours.raw";
    std::string reason;
    ASSERT_TRUE(makedata::writeDataFile(path, image.rawBytes(), reason)) << reason;
    Texture texture;
    ASSERT_TRUE(texture.loadTexture(path, &reason)) << reason;
    EXPECT_EQ(texture.pixels, (std::vector<std::uint32_t>{0x00C8641E, 0x000A14FA, 0x00FF8000}));
}

TEST(Textures, EveryPictureHasDetailAndContrast) {
    using Maker = makedata::Image (*)();
    const Maker makers[] = {
        makedata::newspaperPage,  makedata::ringStrip,        makedata::squareLattice,
        makedata::diamondLattice, makedata::honeycombLattice, makedata::titlePicture,
        makedata::seaChart,       makedata::cloudTexture,     makedata::creditsPage};
    for (int id = 0; id < TextureCount; ++id) {
        const Texture texture = made(makers[id]);
        const std::set<std::uint32_t> colours(texture.pixels.begin(), texture.pixels.end());
        double sum = 0.0;
        double squares = 0.0;
        for (std::uint32_t p : texture.pixels) {
            sum += luminance(p);
            squares += luminance(p) * luminance(p);
        }
        const double n = static_cast<double>(texture.pixels.size());
        const double spread = std::sqrt(squares / n - (sum / n) * (sum / n));
        // The credits are crisp text in a few colours; every other texture is a picture.
        EXPECT_GE(colours.size(), id == Embora ? 4u : 64u)
            << textureFiles[static_cast<std::size_t>(id)].name;
        EXPECT_GT(spread, 12.0) << textureFiles[static_cast<std::size_t>(id)].name;
    }
}

TEST(Textures, CreditsAreLightTextOnPureBlack) {
    // The finale adds every pixel that is not exactly 0 over the picture, so the ground must
    // be exactly black, the text light, and the border (cut off by the screen's edge) empty.
    const Texture credits = made(makedata::creditsPage);
    int black = 0;
    int bright = 0;
    for (int y = 0; y < credits.height; ++y) {
        for (int x = 0; x < credits.width; ++x) {
            const std::uint32_t p = credits.pixels[static_cast<std::size_t>(y * credits.width + x)];
            black += p == 0 ? 1 : 0;
            bright += luminance(p) > 200.0 ? 1 : 0;
            if (x < 8 || y < 8 || x >= credits.width - 8 || y >= credits.height - 8) {
                EXPECT_EQ(p, 0u) << x << "," << y;
            }
        }
    }
    const int total = credits.width * credits.height;
    EXPECT_GT(black, total * 8 / 10);
    EXPECT_GT(bright, total / 50);
}

TEST(Textures, TheThreeGridsAreBrightLinesOnDarkGroundInDifferentColours) {
    std::vector<std::array<double, 3>> means;
    for (auto maker :
         {makedata::squareLattice, makedata::diamondLattice, makedata::honeycombLattice}) {
        const Texture grid = made(maker);
        int dark = 0;
        std::array<double, 3> mean{};
        for (std::uint32_t p : grid.pixels) {
            dark += luminance(p) < 60.0 ? 1 : 0;
            mean[0] += (p >> 16) & 0xFF;
            mean[1] += (p >> 8) & 0xFF;
            mean[2] += p & 0xFF;
        }
        const double n = static_cast<double>(grid.pixels.size());
        EXPECT_GT(dark, n * 0.3) << "grid " << means.size() + 1;
        for (double& m : mean) {
            m /= n;
        }
        means.push_back(mean);
    }
    // Pairwise the mean colours differ clearly, so each switch shows.
    for (std::size_t a = 0; a < means.size(); ++a) {
        for (std::size_t b = a + 1; b < means.size(); ++b) {
            const double d = std::hypot(means[a][0] - means[b][0], means[a][1] - means[b][1],
                                        means[a][2] - means[b][2]);
            EXPECT_GT(d, 20.0) << a << " vs " << b;
        }
    }
}

} // namespace
} // namespace vardel
