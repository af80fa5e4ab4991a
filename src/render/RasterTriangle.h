#pragma once

#include <array>
#include <cstdint>
#include <limits>

#include "math/Vec3.h"
#include "scene/Shade.h" // VertexShade, TexCoord

namespace vardel {

class MultiplyTable;
struct Texture;

// Projected position of a corner: x column and y row in pixels (row 0 at the top), z the
// camera-space depth (larger is farther). Same record as an object's screenPoints entries, so
// a corner can point straight into them.
using ScreenVertex = Vec3;

// One triangle (or one pair of corners for a line) handed to the drawing code. The record owns
// nothing: the corners point into the caller's arrays. Drawing never writes through the corner
// pointers and never changes the record.
struct RasterTriangle {
    std::array<const ScreenVertex*, 3> screen{};
    std::array<const VertexShade*, 3> shade{};
    std::array<const TexCoord*, 3> uv{};
    std::uint32_t color = 0;                   // 0x00RRGGBB, shaded triangles and lines
    const Texture* texture = nullptr;          // null: shaded, otherwise textured
    const MultiplyTable* shadeTable = nullptr; // scales texel channels by intensity
    std::uint32_t* pixels = nullptr;           // first pixel of row 0 of the target
    float* depth = nullptr;                    // 1/z per pixel (larger is nearer), or null
    int width = 0;
    int height = 0;
    int rowPadding = 0;    // the pitch of pixels and depth is width + rowPadding
    std::uint8_t mono = 0; // only shade r is meaningful and stands for all three channels
    // The loops that have them take groups of eight pixels (AVX2; see avx2Usable) instead of
    // four. The pixels are the same.
    bool eightWide = false;
    // The rows a triangle may be drawn on: firstRow .. endRow - 1 of the target (a band of it,
    // so that threads can fill bands side by side). Pixels and values are those of the whole
    // target; lines ignore the band.
    int firstRow = 0;
    int endRow = std::numeric_limits<int>::max();

    int pitch() const { return width + rowPadding; }
};

// True when the triangle must not be drawn: its corners do not run clockwise on the target
// (rows grow downward), it is degenerate, or a coordinate is not a number.
bool isBackFacing(const RasterTriangle& triangle);

} // namespace vardel
