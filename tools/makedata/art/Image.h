#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vardel::makedata {

// A colour with channels in 0..255 as doubles, so that blending does not lose precision
// before the final rounding.
struct Rgb {
    double r = 0.0, g = 0.0, b = 0.0;
};

inline Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb operator*(Rgb a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}
inline Rgb mix(Rgb a, Rgb b, double t) {
    return a * (1.0 - t) + b * t;
}
inline Rgb hex(std::uint32_t rgb) {
    return {static_cast<double>((rgb >> 16) & 0xFF), static_cast<double>((rgb >> 8) & 0xFF),
            static_cast<double>(rgb & 0xFF)};
}

// A rectangle in design units: x0 <= x < x1, y0 <= y < y1.
struct Box {
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
};

// Something to paint: a bounding box and an inside test, both in design units.
template <class Inside> struct Shape {
    Box bounds;
    Inside inside;
};

template <class Inside> Shape<Inside> makeShape(Box bounds, Inside inside) {
    return {bounds, inside};
}

// An RGB picture drawn in design units. The design size may differ from the texel size in
// proportion: a picture that the demo stretches onto a 4:3 screen is drawn in 4:3 design
// units, so that circles and letters come out round and upright where it is shown.
class Image {
public:
    Image(int width, int height) : Image(width, height, width, height) {}
    Image(int width, int height, double designWidth, double designHeight)
        : w(width), h(height), designW(designWidth), designH(designHeight),
          texelsPerUnitX(width / designWidth), texelsPerUnitY(height / designHeight),
          texels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

    int width() const { return w; }
    int height() const { return h; }
    double designWidth() const { return designW; }
    double designHeight() const { return designH; }

    Rgb& at(int x, int y) { return texels[static_cast<std::size_t>(y) * w + x]; }
    const Rgb& at(int x, int y) const { return texels[static_cast<std::size_t>(y) * w + x]; }

    // Sets every texel from colourAt(x, y), evaluated at the texel's centre in design units.
    template <class ColourAt> void shade(ColourAt colourAt) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                at(x, y) = colourAt((x + 0.5) / texelsPerUnitX, (y + 0.5) / texelsPerUnitY);
            }
        }
    }

    // Blends colour over every texel by amount(x, y), a share from 0 to 1 evaluated at the
    // texel's centre in design units: for soft or distance-based shapes that need no
    // sampling.
    template <class Amount> void blend(Rgb colour, Amount amount) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const double share = amount((x + 0.5) / texelsPerUnitX, (y + 0.5) / texelsPerUnitY);
                if (share > 0.0) {
                    at(x, y) = mix(at(x, y), colour, std::min(share, 1.0));
                }
            }
        }
    }

    // Blends colour over every texel in proportion to the share of it the shape covers
    // (4 x 4 samples per texel), times opacity.
    template <class Inside>
    void paint(const Shape<Inside>& shape, Rgb colour, double opacity = 1.0) {
        const int left = clampX(std::floor(shape.bounds.x0 * texelsPerUnitX));
        const int right = clampX(std::ceil(shape.bounds.x1 * texelsPerUnitX));
        const int top = clampY(std::floor(shape.bounds.y0 * texelsPerUnitY));
        const int bottom = clampY(std::ceil(shape.bounds.y1 * texelsPerUnitY));
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                int covered = 0;
                for (int j = 0; j < kSamples; ++j) {
                    const double sy = (y + (j + 0.5) / kSamples) / texelsPerUnitY;
                    for (int i = 0; i < kSamples; ++i) {
                        const double sx = (x + (i + 0.5) / kSamples) / texelsPerUnitX;
                        covered += shape.inside(sx, sy) ? 1 : 0;
                    }
                }
                if (covered > 0) {
                    at(x, y) = mix(at(x, y), colour, opacity * covered / (kSamples * kSamples));
                }
            }
        }
    }

    // The texels as the demo's raw files hold them: red, green, blue bytes, rows top down.
    std::vector<std::uint8_t> rawBytes() const;

private:
    static constexpr int kSamples = 4;
    int clampX(double x) const { return static_cast<int>(std::clamp(x, 0.0, double(w))); }
    int clampY(double y) const { return static_cast<int>(std::clamp(y, 0.0, double(h))); }

    int w;
    int h;
    double designW;
    double designH;
    double texelsPerUnitX;
    double texelsPerUnitY;
    std::vector<Rgb> texels;
};

} // namespace vardel::makedata
