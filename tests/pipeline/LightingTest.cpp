// Lighting of points and the two polygon passes' shading rules.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include "TestScene.h"
#include "render/Avx2.h"
#include "render/Lighting.h"
#include "render/Render.h"

namespace vardel {
namespace {

Light lightAt(Vec3 position, double red) {
    Light light;
    light.viewPosition = position;
    light.colorR = red;
    light.colorG = red;
    light.colorB = red;
    return light;
}

TEST(LightPoint, CosineOfNormalAndDirectionWithClamp) {
    VertexShade shade;
    lightPoint(false, {0, 0, 10}, {0, 0, -2}, shade, lightAt({0, 0, 0}, 0.5));
    EXPECT_DOUBLE_EQ(shade.r, 0.5);
    lightPoint(false, {0, 0, 10}, {0, 0, -2}, shade, lightAt({10, 0, 10}, 0.5));
    EXPECT_DOUBLE_EQ(shade.r, 0.5); // at right angles: nothing added
    lightPoint(false, {0, 0, 10}, {0, 0, 2}, shade, lightAt({0, 0, 0}, 0.5));
    EXPECT_DOUBLE_EQ(shade.r, 0.5); // behind the surface: nothing added

    // Two lights at cosine 0.8 and colour 1: clamped to 1 after the second.
    VertexShade twice;
    lightPoint(false, {0, 0, 0}, {0, 0, 1}, twice, lightAt({0.6, 0, 0.8}, 1.0));
    EXPECT_NEAR(twice.r, 0.8, 1e-12);
    lightPoint(false, {0, 0, 0}, {0, 0, 1}, twice, lightAt({-0.6, 0, 0.8}, 1.0));
    EXPECT_EQ(twice.r, 1.0);
    EXPECT_EQ(twice.b, 1.0);

    // Grey lighting lights red only and leaves green and blue alone, unclamped.
    VertexShade grey{0.0, 3.0, -1.0};
    lightPoint(true, {0, 0, 10}, {0, 0, -1}, grey, lightAt({0, 0, 0}, 0.7));
    EXPECT_DOUBLE_EQ(grey.r, 0.7);
    EXPECT_EQ(grey.g, 3.0);
    EXPECT_EQ(grey.b, -1.0);

    // Degenerate vectors add nothing and never produce a NaN.
    VertexShade none;
    lightPoint(false, {0, 0, 10}, {0, 0, 0}, none, lightAt({0, 0, 0}, 1.0));
    lightPoint(false, {0, 0, 0}, {0, 0, 1}, none, lightAt({0, 0, 0}, 1.0));
    EXPECT_EQ(none.r, 0.0);
}

// The pass lights many corners with one normal whose length it finds once and skips the
// square root for surfaces turned away: the shades must be those of the plain formula, to the
// last bit. The plain formula: cosine = n.l / (|n| |l|), nothing when it is not positive.
TEST(LightPoint, AKnownNormalLengthGivesThePlainFormulasShade) {
    std::mt19937 random(3);
    auto in = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    for (int i = 0; i < 2000; ++i) {
        const Vec3 p{in(-5, 5), in(-5, 5), in(1, 20)};
        const Vec3 n = i % 100 == 0 ? Vec3{} : Vec3{in(-3, 3), in(-3, 3), in(-3, 3)};
        const Light light = lightAt({in(-30, 30), in(-30, 30), in(-30, 30)}, in(0.1, 0.9));
        const VertexShade start{in(0, 1.2), in(0, 1), in(0, 1)};
        const bool grey = i % 2 == 0;
        const Vec3 l{light.viewPosition.x - p.x, light.viewPosition.y - p.y,
                     light.viewPosition.z - p.z};
        const double lengths = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z) *
                               std::sqrt(l.x * l.x + l.y * l.y + l.z * l.z);
        double cosine = lengths != 0.0 ? (n.x * l.x + n.y * l.y + n.z * l.z) / lengths : 0.0;
        cosine = cosine >= 0.0 ? cosine : 0.0;
        VertexShade expected = start;
        expected.r = std::min(expected.r + cosine * light.colorR, 1.0);
        if (!grey) {
            expected.g = std::min(expected.g + cosine * light.colorG, 1.0);
            expected.b = std::min(expected.b + cosine * light.colorB, 1.0);
        }
        VertexShade shade = start;
        lightPoint(grey, p, SurfaceNormal(n), shade, light);
        ASSERT_EQ(shade.r, expected.r) << i;
        ASSERT_EQ(shade.g, expected.g) << i;
        ASSERT_EQ(shade.b, expected.b) << i;
    }
}

// Three points lit side by side (two or, with AVX2, all three) get lightPoint's shades bit for bit:
// through clamps, lights behind the surface, a point on the light, normals of no length and an
// ambient level that is not a number.
TEST(LightPoint, ThreePointsAtOnceGetLightPointsShades) {
    std::mt19937 random(5);
    auto in = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    const auto bits = [](const VertexShade& s) {
        return std::array{std::bit_cast<std::uint64_t>(s.r), std::bit_cast<std::uint64_t>(s.g),
                          std::bit_cast<std::uint64_t>(s.b)};
    };
    for (int i = 0; i < 3000; ++i) {
        std::array<Light, 3> lights;
        const int count = i % 4; // no light at all, then one to three
        for (int l = 0; l < count; ++l) {
            lights[l] = lightAt({in(-30, 30), in(-30, 30), in(-30, 30)}, in(0.1, 1.5));
            lights[l].colorB = in(0.0, 0.6);
            lights[l].next = l + 1 < count ? &lights[l + 1] : nullptr;
        }
        std::array<Vec3, 3> points;
        for (Vec3& p : points) {
            p = {in(-5, 5), in(-5, 5), in(1, 20)};
        }
        if (count > 0 && i % 7 == 0) {
            points[i % 3] = lights[0].viewPosition; // a point on the light
        }
        // No length, or so little that its square underflows: its length is 0, yet the dot
        // product with the way to a light can be positive.
        const double tiny = 1e-170;
        const SurfaceNormal normal(i % 50 == 0   ? Vec3{}
                                   : i % 50 == 1 ? Vec3{tiny, tiny, tiny}
                                                 : Vec3{in(-3, 3), in(-3, 3), in(-3, 3)});
        const VertexShade ambient{i % 97 == 0 ? std::nan("") : in(0, 1.1), in(0, 1), in(0, 1)};
        const bool grey = i % 3 == 0;
        const bool wide = avx2Usable() && i / 4 % 2 == 0; // all three side by side (AVX2)
        const std::array<VertexShade, 3> lit =
            lightThreePoints(grey, {&points[0], &points[1], &points[2]}, normal, ambient,
                             count > 0 ? &lights[0] : nullptr, wide);
        for (std::size_t k = 0; k < 3; ++k) {
            VertexShade expected = ambient;
            for (int l = 0; l < count; ++l) {
                lightPoint(grey, points[k], normal, expected, lights[l]);
            }
            ASSERT_EQ(bits(lit[k]), bits(expected)) << "case " << i << ", point " << k;
        }
    }
}

TEST(PrepareLights, KeepsTheWorldPositionApart) {
    test::TestScene t;
    Light& light = t.addLight({100, 0, 0});
    t.placeCamera({0, 0, -1000}, 90.0);
    prepareLights(t.scene.lights.head);
    prepareLights(t.scene.lights.head); // a second call must not transform twice
    EXPECT_EQ(light.posX, 100.0);
    // Heading 90 turns the camera to look along +x: the light is 100 ahead, 1000 to the left.
    EXPECT_NEAR(light.viewPosition.x, -1000.0, 1e-9);
    EXPECT_NEAR(light.viewPosition.z, 100.0, 1e-9);
}

// A triangle in the plane z = 0 facing the camera at z = -1000, with a light behind it:
// only the ambient colour reaches it.
class AwayFromLight : public ::testing::Test {
protected:
    AwayFromLight() {
        object =
            &t.addObject({{-100, -100, 0}, {0, 100, 0}, {100, -100, 0}}, {{0, 1, 2}}, 0x00FF8040);
        t.addLight({0, 0, 500});
        t.placeCamera({0, 0, -1000});
        t.finish();
    }
    test::TestScene t;
    SceneObject* object = nullptr;
};

TEST_F(AwayFromLight, FaceLitCornersGetExactlyTheAmbientColour) {
    t.scene.ambientR = 0.25;
    t.scene.ambientG = 0.5; // copied although grey lighting uses red only
    render(t.scene, 0.0);
    for (const VertexShade& shade : object->vertexLight) {
        EXPECT_EQ(shade.r, 0.25);
        EXPECT_EQ(shade.g, 0.5);
    }
    EXPECT_GT(t.coveredPixels(), 1000);
}

TEST_F(AwayFromLight, VertexLitPointsGetNothing) {
    t.scene.faceLighting = 0;
    render(t.scene, 0.0);
    for (const VertexShade& shade : object->vertexLight) {
        EXPECT_EQ(shade.r, 0.0);
    }
    EXPECT_EQ(t.pixel(159, 119), 0u); // drawn, black
}

TEST(VertexNormals, SumFaceNormalsAndIgnoreLines) {
    test::TestScene t;
    SceneObject& object = t.addObject({{0, 0, 10}, {10, 0, 10}, {0, 10, 10}, {0, 0, 20}},
                                      {{0, 1, 2}, {0, 2, 1}, {0, 1, 2}, {3, 0}});
    object.viewPoints = object.points;
    computeVertexNormals(object);
    EXPECT_EQ(object.vertexNormals[0].z, 100.0); // +100 - 100 + 100
    EXPECT_EQ(object.vertexNormals[3].z, 0.0);
}

} // namespace
} // namespace vardel
