#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "scene/Scene.h"

namespace vardel::test {

// Builds scenes in memory for render tests: objects from points (world units) and index
// lists, lights and a fixed camera, drawn into a 320 x 240 target with a guard band of
// sentinel pixels around it.
class TestScene {
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;
    static constexpr int kGuard = 8;                   // guard pixels on every side
    static constexpr std::uint32_t kSentinel = 0x00ABCDEF;

    TestScene();

    SceneObject& addObject(std::vector<Vec3> points, std::vector<std::vector<int>> polygons,
                           std::uint32_t color = 0x00FFFFFF);
    Light& addLight(Vec3 position, double intensity = 1.0);
    // A camera at rest at the given position (world units) looking along +z.
    void placeCamera(Vec3 position, double heading = 0.0, double pitch = 0.0);
    void finish(); // builds the polygon table once every object is added

    std::uint32_t pixel(int x, int y) const;
    std::uint32_t& pixelAt(int x, int y);
    int coveredPixels() const; // pixels of the target that are not the sentinel
    bool guardIntact() const;  // no pixel outside the target was written
    std::uint64_t checksum() const;
    void clearTarget();

    Scene scene;

private:
    int stride() const { return kWidth + 2 * kGuard; }
    std::vector<std::uint32_t> buffer; // target with its guard band
};

} // namespace vardel::test
