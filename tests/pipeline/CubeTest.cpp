// End to end: a lit, textured cube and a camera that flies through it, with and without a
// depth buffer. The pictures must stay inside the target, cover the cube while it is ahead,
// and come out the same every time.

#include <gtest/gtest.h>

#include "TestScene.h"
#include "render/Render.h"
#include "scene/Texture.h"

namespace vardel {
namespace {

Vec3 add(Vec3 a, Vec3 b, double s = 1.0) { return {a.x + b.x * s, a.y + b.y * s, a.z + b.z * s}; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// Six faces of a cube of half-size 100, each two triangles wound so that their face normal
// points outward (clockwise on screen when seen from outside).
SceneObject& addCube(test::TestScene& t) {
    const Vec3 normals[6] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}};
    const Vec3 across[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 0, -1}, {0, 0, 1}, {1, 0, 0}, {1, 0, 0}};
    std::vector<Vec3> points;
    std::vector<std::vector<int>> polygons;
    for (int f = 0; f < 6; ++f) {
        const Vec3 centre = add({}, normals[f], 100.0);
        const Vec3 a = across[f];
        const Vec3 b = cross(a, normals[f]);
        const int first = static_cast<int>(points.size());
        points.push_back(add(add(centre, a, -100), b, -100));
        points.push_back(add(add(centre, a, -100), b, 100));
        points.push_back(add(add(centre, a, 100), b, 100));
        points.push_back(add(add(centre, a, 100), b, -100));
        polygons.push_back({first, first + 1, first + 2});
        polygons.push_back({first, first + 2, first + 3});
    }
    return t.addObject(points, polygons, 0x00C08040);
}

Texture checker() {
    Texture texture;
    texture.width = texture.height = 64;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            texture.pixels.push_back(((x / 8 + y / 8) % 2) != 0 ? 0x00FFFFFFu : 0x00204080u);
        }
    }
    return texture;
}

struct Flight {
    std::vector<int> coverage;
    std::vector<std::uint64_t> checksums;
    bool guardIntact = true;
};

Flight flyThrough(bool depthBuffer, const Texture& texture) {
    test::TestScene t;
    SceneObject& cube = addCube(t);
    cube.computeExtents();
    cube.applyPlanarMapping(texture, {0, 0, 0}, {cube.extentX / 64 * 1.1, cube.extentY / 64 * 1.1});
    t.addLight({-300, 400, -600});
    t.addLight({500, -200, -100}, 0.5);
    t.scene.cameraKeyCount = 2;
    t.scene.cameraKeys = std::make_shared<Key[]>(2);
    t.scene.cameraKeys[0] = {0.3, 0.2, -8, 5, 3, 0, 1, 1, 1, 0};   // file units, degrees
    t.scene.cameraKeys[1] = {-0.2, -0.1, 3, -5, -3, 10, 1, 1, 1, 100};
    t.finish();
    if (depthBuffer) {
        t.scene.createDepthBuffer();
    }
    Flight flight;
    for (int frame = 0; frame <= 100; frame += 4) {
        t.clearTarget();
        render(t.scene, frame);
        flight.coverage.push_back(t.coveredPixels());
        flight.checksums.push_back(t.checksum());
        flight.guardIntact = flight.guardIntact && t.guardIntact();
    }
    return flight;
}

TEST(Cube, FlyingThroughStaysInsideAndRepeatsExactly) {
    const Texture texture = checker();
    for (bool depthBuffer : {false, true}) {
        const Flight first = flyThrough(depthBuffer, texture);
        EXPECT_TRUE(first.guardIntact) << depthBuffer;
        // Far away the cube covers a modest part of the picture, close up all of it but the
        // last column (and for shaded faces the last row), which the fillers never write.
        EXPECT_GT(first.coverage.front(), 3000) << depthBuffer;
        EXPECT_LT(first.coverage.front(), 40000) << depthBuffer;
        EXPECT_GE(*std::max_element(first.coverage.begin(), first.coverage.end()),
                  (test::TestScene::kWidth - 1) * (test::TestScene::kHeight - 1)) << depthBuffer;
        const Flight second = flyThrough(depthBuffer, texture);
        EXPECT_EQ(first.checksums, second.checksums) << depthBuffer;
    }
}

} // namespace
} // namespace vardel
