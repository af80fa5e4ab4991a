#pragma once

#include <array>
#include <cstdint>

namespace vardel {

struct SceneObject;
struct Texture;

// One polygon of an object: a triangle, or a line when vertex[2] is -1.
struct Polygon {
    std::array<std::int32_t, 3> vertex{0, 0, -1}; // indices into the owner's points
    std::uint32_t color = 0x00FFFFFF;             // 0x00RRGGBB
    SceneObject* object = nullptr;                // owner
    double texU0 = 0.0, texV0 = 0.0;              // texture coordinates in texels,
    double texU1 = 0.0, texV1 = 0.0;              // meaningful while texture is set
    double texU2 = 0.0, texV2 = 0.0;
    const Texture* texture = nullptr; // null: Gouraud shaded in `color`

    bool isLine() const { return vertex[2] == -1; }
};

} // namespace vardel
