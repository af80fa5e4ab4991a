#pragma once

// An exact reference for the triangle rasterizers. Every pixel is worked out on its own, in
// double precision, from the triangle's corners alone: no set-up, row walk, fixed point or
// clipping is shared with the renderer's fillers, so a fault in any of those shows up as a
// difference. It is slow and meant for tests and the fidelity tool only.
//
// The rules it draws by:
// - Coverage. The corners are rounded to whole pixels (nearest, halves to even). Pixel (x, y)
//   is covered when the point (x + 1/2, y) lies inside the triangle of the rounded corners.
//   A point within kEdgeDistance of an edge (measured along the row) is an edge pixel, which
//   a rasterizer may draw or leave; the reference draws it. Nothing is drawn when the rounded
//   corners are collinear, when a textured or depth-tested triangle's own corners are, or when
//   a coordinate is not a number or a depth is not positive and finite.
// - Values are taken at that same point (x + 1/2, y):
//   * shade: each channel of colour x shade (shaded) or 255 x shade (textured), the shade held
//     to 0..1, interpolated linearly over the rounded corners and held within the corners'
//     values; a pixel channel is its whole part;
//   * 1/z, u/z and v/z (textured, and 1/z for the depth test): interpolated linearly over the
//     triangle's own corners; 1/z is held within the corners' range before anything uses it;
//   * the texel: (floor(u), floor(v)) with u = (u/z) / (1/z), held to the texture;
//     its channels scaled by the shade's whole part i as i x channel / 255, rounded down;
//   * where 1/z had to be held (a point off the triangle's own corners), also the texel by
//     the unheld 1/z, where that is positive: a nearly flat triangle's linear course follows
//     that one, and a rasterizer may show either.
// - Depth: where the target has a depth buffer the pixel is drawn only when the stored value is
//   less than its 1/z as a float, and then it stores that float.

#include <array>
#include <cstdint>

#include "render/RasterTriangle.h"

namespace vardel::exact {

// Distance along a row within which a pixel's point counts as lying on an edge.
inline constexpr double kEdgeDistance = 1.0 / 128.0;

enum class Coverage : std::uint8_t { Outside, Edge, Inside };

// What the reference finds at one pixel that the triangle covers (edge pixels included).
struct Pixel {
    int x = 0;
    int y = 0;
    Coverage coverage = Coverage::Outside;
    bool drawn = false; // it passed the depth test (always, without a depth buffer)
    double w = 0.0;     // 1/z, held within the corners' range
    double u = 0.0;     // texel coordinates before rounding and holding (textured)
    double v = 0.0;
    int column = 0; // the texel (textured)
    int row = 0;
    int unheldColumn = 0; // the texel by the unheld 1/z (textured; column and row where the
    int unheldRow = 0;    // same or where the unheld 1/z is not positive)
    std::array<double, 3> level{}; // red, green, blue: channel value (shaded) or 255 x shade
    std::uint32_t color = 0;       // the pixel's colour
};

// Receives every pixel the reference finds, in row order.
class PixelObserver {
public:
    virtual ~PixelObserver() = default;
    virtual void pixel(const Pixel& found) = 0;
};

// Draws a triangle with or without a texture (as the record's texture says) into the
// record's target, clipped to it, by the rules above.
void drawTriangle(const RasterTriangle& triangle, PixelObserver* observer = nullptr);

} // namespace vardel::exact
