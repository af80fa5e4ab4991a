// The drawing helpers the generator is built from: noise, fonts, painting, motion tracks.

#include <gtest/gtest.h>

#include <cmath>

#include "art/Font.h"
#include "art/Mesh.h"
#include "art/Motion.h"
#include "art/Noise.h"
#include "art/Shapes.h"

namespace vardel::makedata {
namespace {

TEST(Noise, StaysInRangeAndChangesSmoothly) {
    for (int i = 0; i < 2000; ++i) {
        const double x = i * 0.173 - 50.0;
        const double y = i * 0.091 - 20.0;
        const double n = fractalNoise(x, y, 5, 9u);
        ASSERT_GE(n, 0.0);
        ASSERT_LE(n, 1.0);
        EXPECT_NEAR(valueNoise(x, y, 3u), valueNoise(x + 1e-4, y, 3u), 1e-3);
    }
    EXPECT_NE(valueNoise(0.5, 0.5, 1u), valueNoise(0.5, 0.5, 2u));
}

TEST(Fonts, EveryGlyphIsAFullGridOfDots) {
    for (const Font* font : {&largeFont(), &smallFont()}) {
        for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,-'!?:")) {
            ASSERT_TRUE(font->has(c)) << c;
        }
    }
    // A glyph row that is too short or holds a stray character would show as a wrong dot
    // or read past the row: every row of every glyph must be exactly dots and gaps.
    for (const Font* font : {&largeFont(), &smallFont()}) {
        for (int c = 32; c < 127; ++c) {
            if (!font->has(static_cast<char>(c))) {
                continue;
            }
            int dots = 0;
            for (int row = 0; row < font->rows(); ++row) {
                for (int column = 0; column < font->columns(); ++column) {
                    dots += font->dot(static_cast<char>(c), column, row) ? 1 : 0;
                }
            }
            EXPECT_EQ(dots > 0, c != ' ') << static_cast<char>(c);
        }
    }
    EXPECT_TRUE(largeFont().dot('a', 1, 0)); // lowercase uses the capitals
    EXPECT_FALSE(largeFont().dot('~', 0, 0));
}

TEST(Painting, BlendsByTheShareOfEachTexelCovered) {
    Image image(4, 2);
    image.paint(rect(1.0, 0.0, 1.5, 1.0), Rgb{200.0, 100.0, 0.0});
    EXPECT_DOUBLE_EQ(image.at(1, 0).r, 100.0);
    EXPECT_DOUBLE_EQ(image.at(1, 0).g, 50.0);
    EXPECT_DOUBLE_EQ(image.at(0, 0).r, 0.0);
    EXPECT_DOUBLE_EQ(image.at(1, 1).r, 0.0);
    // A disc's painted area is its area, also on texels twice as wide as they are tall.
    Image wide(100, 200, 200.0, 200.0);
    wide.paint(disc(100.0, 100.0, 60.0), Rgb{255.0, 255.0, 255.0});
    double area = 0.0;
    for (int y = 0; y < wide.height(); ++y) {
        for (int x = 0; x < wide.width(); ++x) {
            area += wide.at(x, y).r / 255.0 * 2.0; // one texel is two design units
        }
    }
    EXPECT_NEAR(area, kPi * 60.0 * 60.0, kPi * 60.0 * 60.0 * 0.01);
}

TEST(Painting, TextIsMeasuredAsItIsDrawn) {
    Image image(64, 16);
    const TextStyle style{2.0, 2.0, 1.0, 1.0, 0.0};
    EXPECT_DOUBLE_EQ(textWidth(largeFont(), "II", style), (5 + 1 + 5) * 2.0);
    drawText(image, largeFont(), "II", 1.0, 1.0, style, Rgb{255.0, 255.0, 255.0});
    int right = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            right = image.at(x, y).r > 0.0 ? std::max(right, x) : right;
        }
    }
    // The second I's bar ends at dot column 3 of 5: 1 + (6 + 4) * 2 = 21.
    EXPECT_EQ(right, 20);
}

TEST(Meshes, GridSurfacesShareSeamsAndCollapsePoles) {
    Mesh mesh;
    // A cone: closed around s, its tip (t = 1) a single point.
    mesh.surface(
        8, 2,
        [](double s, double t) {
            const double a = -2.0 * kPi * s;
            return Vec3{(1.0 - t) * std::cos(a), (1.0 - t) * std::sin(a), -t};
        },
        Mesh::Side::Front, true);
    // 8 points per ring for two rings, and one tip.
    EXPECT_EQ(mesh.points().size(), 17u);
    // Two triangles per cell below, one per cell at the tip.
    EXPECT_EQ(mesh.triangles().size(), 8u * 2 + 8u);
    for (const auto& t : mesh.triangles()) {
        const auto& p = mesh.points();
        const Vec3 n = cross(p[static_cast<std::size_t>(t[1])] - p[static_cast<std::size_t>(t[0])],
                             p[static_cast<std::size_t>(t[2])] - p[static_cast<std::size_t>(t[0])]);
        EXPECT_LT(n.z, 0.0); // clockwise from -z: the front faces the tip's side
    }
    const formats::ObjectDescription object = mesh.describe("Cone", {1, 2, 3});
    EXPECT_EQ(object.points.size(), 17u);
    EXPECT_EQ(object.polygons.size(), mesh.triangles().size());
}

TEST(Motion, TracksEndOnTheLastFrameAndTurnWithoutJumps) {
    const auto keys = sampleTrack(0.0, 25.0, 10.0, [](double t) {
        Pose pose;
        pose.heading = std::fmod(170.0 + 8.0 * t, 360.0) - 180.0; // wraps past 180
        return pose;
    });
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_DOUBLE_EQ(keys[3].frame, 25.0);
    for (std::size_t i = 1; i < keys.size(); ++i) {
        EXPECT_NEAR(keys[i].heading - keys[i - 1].heading,
                    8.0 * (keys[i].frame - keys[i - 1].frame), 1e-9);
    }
    // Aiming: straight ahead is no turn; looking down has a positive pitch; +x is heading 90.
    const Pose ahead = lookAt({0, 0, 0}, {0, 0, 5});
    EXPECT_DOUBLE_EQ(ahead.heading, 0.0);
    EXPECT_DOUBLE_EQ(ahead.pitch, 0.0);
    EXPECT_NEAR(lookAt({0, 5, 0}, {0, 0, 5}).pitch, 45.0, 1e-9);
    EXPECT_NEAR(lookAt({0, 0, 0}, {3, 0, 0}).heading, 90.0, 1e-9);
    EXPECT_NEAR(std::abs(headingAlong(-1.0, 0.0)), 180.0, 1e-9);
}

} // namespace
} // namespace vardel::makedata
