#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vardel {

class MultiplyTable;
struct Polygon;
struct SceneObject;

// The block of scene fields the per-frame passes receive instead of the whole Scene.
// height .. ambient are refreshed from the Scene at the start of every render call.
struct RenderContext {
    SceneObject* objects = nullptr;    // object list head
    SceneObject* lastObject = nullptr; // object list tail
    std::vector<Polygon*> polygonTable; // every polygon of every object
    int polygonTotal = 0;
    int height = 0;
    int width = 0;
    int rowPadding = 0;
    std::uint32_t* target = nullptr;
    const MultiplyTable* multiplyTable = nullptr;
    float* depthBuffer = nullptr;
    std::uint8_t greyLighting = 1;
    std::array<double, 3> ambient{}; // the Scene's ambient red, green, blue

    // Appends an object to the list, which owns it from then on.
    void appendObject(SceneObject* object);
};

} // namespace vardel
