#include "fidelity/ExactRaster.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "scene/Texture.h"

namespace vardel::exact {
namespace {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

using Corners = std::array<Point, 3>;
using Weights = std::array<double, 3>;

// Twice the signed area of the triangle (a, b, p); it changes sign as p crosses the line a-b.
double cross(const Point& a, const Point& b, const Point& p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// Barycentric weights of p in the triangle c, whose cross(c0, c1, c2) is area (not zero).
Weights weights(const Corners& c, double area, const Point& p) {
    return {cross(c[1], c[2], p) / area, cross(c[2], c[0], p) / area, cross(c[0], c[1], p) / area};
}

// The weighted sum of three corner values, held within their range when asked.
double blend(const Weights& w, double a, double b, double c, bool held) {
    const double value = w[0] * a + w[1] * b + w[2] * c;
    return held ? std::clamp(value, std::min({a, b, c}), std::max({a, b, c})) : value;
}

// Where the point p lies with respect to the triangle c: its distance along the row to each
// edge's line, signed so that inside is positive, decides.
Coverage classify(const Corners& c, double area, const Point& p) {
    const double sign = area > 0.0 ? 1.0 : -1.0;
    double nearest = std::numeric_limits<double>::infinity();
    for (int k = 0; k < 3; ++k) {
        const Point& from = c[static_cast<std::size_t>((k + 1) % 3)];
        const Point& to = c[static_cast<std::size_t>((k + 2) % 3)];
        const double side = sign * cross(from, to, p);
        const double rise = std::abs(to.y - from.y);
        double distance = 0.0;
        if (rise > 0.0) {
            distance = side / rise;
        } else if (side != 0.0) { // a row-parallel edge: the point is on its line or not
            distance = side > 0.0 ? std::numeric_limits<double>::infinity()
                                  : -std::numeric_limits<double>::infinity();
        }
        if (distance < -kEdgeDistance) {
            return Coverage::Outside;
        }
        nearest = std::min(nearest, distance);
    }
    return nearest > kEdgeDistance ? Coverage::Inside : Coverage::Edge;
}

double unitShade(double s) {
    return s > 0.0 ? (s < 1.0 ? s : 1.0) : 0.0; // NaN gives 0
}

int channel(std::uint32_t color, int shift) {
    return static_cast<int>((color >> shift) & 0xFFu);
}

} // namespace

void drawTriangle(const RasterTriangle& t, PixelObserver* observer) {
    if (t.pixels == nullptr || t.width <= 0 || t.height <= 0 || t.rowPadding < 0) {
        return;
    }
    const Texture* texture = t.texture;
    const bool textured = texture != nullptr;
    if (textured && (t.shadeTable == nullptr || texture->width <= 0 || texture->height <= 0 ||
                     texture->pixels.size() < static_cast<std::size_t>(texture->width) *
                                                  static_cast<std::size_t>(texture->height))) {
        return;
    }
    Corners exact;
    Corners rounded;
    std::array<double, 3> w{};
    for (std::size_t k = 0; k < 3; ++k) {
        const ScreenVertex& s = *t.screen[k];
        if (!std::isfinite(s.x) || !std::isfinite(s.y) || !(s.z > 0.0) || !std::isfinite(s.z)) {
            return;
        }
        exact[k] = {s.x, s.y};
        rounded[k] = {std::nearbyint(s.x), std::nearbyint(s.y)};
        w[k] = 1.0 / s.z;
    }
    const double roundedArea = cross(rounded[0], rounded[1], rounded[2]);
    const double exactArea = cross(exact[0], exact[1], exact[2]);
    const bool needsExactPlane = textured || t.depth != nullptr;
    if (roundedArea == 0.0 || (needsExactPlane && exactArea == 0.0)) {
        return;
    }

    // Shade levels of the corners per channel: colour x shade, or 255 x shade to scale texels.
    std::array<std::array<double, 3>, 3> level{}; // [corner][channel]
    for (std::size_t k = 0; k < 3; ++k) {
        const VertexShade& s = *t.shade[k];
        const std::array<double, 3> shade = t.mono != 0 ? std::array<double, 3>{s.r, s.r, s.r}
                                                        : std::array<double, 3>{s.r, s.g, s.b};
        for (std::size_t c = 0; c < 3; ++c) {
            const double scale = textured ? 255.0 : channel(t.color, 16 - 8 * static_cast<int>(c));
            level[k][c] = scale * unitShade(shade[c]);
        }
    }

    const double top = std::max(0.0, std::min({rounded[0].y, rounded[1].y, rounded[2].y}));
    const double bottom =
        std::min<double>(t.height - 1, std::max({rounded[0].y, rounded[1].y, rounded[2].y}));
    const double left = std::max(0.0, std::min({rounded[0].x, rounded[1].x, rounded[2].x}) - 1.0);
    const double right =
        std::min<double>(t.width - 1, std::max({rounded[0].x, rounded[1].x, rounded[2].x}));
    const std::ptrdiff_t pitch = t.width + t.rowPadding;
    for (double y = top; y <= bottom; ++y) {
        for (double x = left; x <= right; ++x) {
            Pixel p;
            p.coverage = classify(rounded, roundedArea, {x + 0.5, y}); // the pixel's point
            if (p.coverage == Coverage::Outside) {
                continue;
            }
            p.x = static_cast<int>(x);
            p.y = static_cast<int>(y);
            const Point at{x + 0.5, y};
            double unheldW = 0.0; // 1/z, u/z and v/z at the point, unheld
            double uOverZ = 0.0;
            double vOverZ = 0.0;
            const Weights byRounded = weights(rounded, roundedArea, at);
            for (std::size_t c = 0; c < 3; ++c) {
                p.level[c] = blend(byRounded, level[0][c], level[1][c], level[2][c], true);
            }
            if (needsExactPlane) {
                const Weights byExact = weights(exact, exactArea, at);
                p.w = blend(byExact, w[0], w[1], w[2], true);
                unheldW = blend(byExact, w[0], w[1], w[2], false);
                if (textured) {
                    const auto& uv = t.uv;
                    uOverZ =
                        blend(byExact, uv[0]->u * w[0], uv[1]->u * w[1], uv[2]->u * w[2], false);
                    vOverZ =
                        blend(byExact, uv[0]->v * w[0], uv[1]->v * w[1], uv[2]->v * w[2], false);
                    p.u = uOverZ / p.w;
                    p.v = vOverZ / p.w;
                }
            }
            if (textured) {
                // A texel coordinate's whole part, held to 0 .. size - 1.
                const auto texelAlong = [](double q, int size) {
                    return static_cast<int>(
                        std::clamp(std::floor(q), 0.0, static_cast<double>(size - 1)));
                };
                p.column = texelAlong(p.u, texture->width);
                p.row = texelAlong(p.v, texture->height);
                const bool unheld = unheldW > 0.0 && unheldW != p.w;
                p.unheldColumn = unheld ? texelAlong(uOverZ / unheldW, texture->width) : p.column;
                p.unheldRow = unheld ? texelAlong(vOverZ / unheldW, texture->height) : p.row;
                const std::uint32_t texel =
                    texture->pixels[static_cast<std::size_t>(p.row) *
                                        static_cast<std::size_t>(texture->width) +
                                    static_cast<std::size_t>(p.column)];
                p.color = texel & 0xFF000000u;
                for (int c = 0; c < 3; ++c) {
                    const int shift = 16 - 8 * c;
                    const int scale = static_cast<int>(p.level[static_cast<std::size_t>(c)]);
                    p.color |= static_cast<std::uint32_t>(scale * channel(texel, shift) / 255)
                               << shift;
                }
            } else {
                for (int c = 0; c < 3; ++c) {
                    p.color |= static_cast<std::uint32_t>(p.level[static_cast<std::size_t>(c)])
                               << (16 - 8 * c);
                }
            }
            const std::ptrdiff_t index = p.y * pitch + p.x;
            p.drawn = true;
            if (t.depth != nullptr) {
                const auto nearness = static_cast<float>(p.w);
                p.drawn = t.depth[index] < nearness;
                if (p.drawn) {
                    t.depth[index] = nearness;
                }
            }
            if (p.drawn) {
                t.pixels[index] = p.color;
            }
            if (observer != nullptr) {
                observer->pixel(p);
            }
        }
    }
}

} // namespace vardel::exact
