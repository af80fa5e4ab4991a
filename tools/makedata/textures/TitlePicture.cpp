// The title picture: a paper boat on an evening sea under a striped sun, and the name. Drawn
// in 4:3 design units because the demo shows it on a 4:3 screen.

#include <cmath>

#include "art/Font.h"
#include "art/Noise.h"
#include "art/Shapes.h"
#include "art/Vector.h"
#include "textures/Textures.h"

namespace vardel::makedata {

namespace {

constexpr double kWidth = 400.0;
constexpr double kHeight = 300.0;
constexpr double kHorizon = 196.0;
constexpr Point2 kSun{250.0, 178.0};
constexpr double kSunRadius = 74.0;

Rgb sky(double x, double y) {
    const double t = y / kHorizon;
    Rgb colour = t < 0.55 ? mix(hex(0x120C3A), hex(0x6A2A70), t / 0.55)
                          : mix(hex(0x6A2A70), hex(0xF5874A), (t - 0.55) / 0.45);
    // Long thin clouds catching the light.
    const double wisps = fractalNoise(x * 0.012, y * 0.07, 5, 11u);
    const double cloud = smoothstep(0.5, 0.72, wisps) * smoothstep(20.0, 120.0, y);
    colour = mix(colour, mix(hex(0x3A1A50), hex(0xFF9EA0), t), cloud * 0.75);
    // A few stars high up.
    const double star = valueNoise(x * 0.9, y * 0.9, 12u);
    if (y < 90.0 && star > 0.985) {
        colour = mix(colour, hex(0xFFFFFF), (1.0 - y / 90.0) * 0.8);
    }
    return colour;
}

Rgb sea(double x, double y) {
    const double depth = (y - kHorizon) / (kHeight - kHorizon);
    Rgb colour = mix(hex(0x4A2A66), hex(0x0C0A24), std::sqrt(depth));
    // The sun's path: broken horizontal streaks that widen toward the viewer.
    const double ripple = fractalNoise(x * 0.05 / (0.15 + depth), y * 0.9, 3, 13u);
    const double path = smoothstep(34.0 + 60.0 * depth, 0.0, std::abs(x - kSun.x));
    const double streak = smoothstep(0.55, 0.75, ripple) * path;
    return mix(colour, hex(0xFFB860), streak);
}

// The sun, cut by horizontal gaps that grow toward its lower edge.
bool sunInside(double x, double y) {
    if (std::hypot(x - kSun.x, y - kSun.y) > kSunRadius || y > kHorizon) {
        return false;
    }
    const double below = (y - (kSun.y - 22.0)) / (kSun.y + kSunRadius - (kSun.y - 22.0));
    if (below <= 0.0) {
        return true;
    }
    const double band = std::fmod(y - (kSun.y - 22.0), 11.0);
    return band > 11.0 * below * 0.8;
}

void boat(Image& image, double x, double y, double s, Rgb colour) {
    image.paint(polygon({{x - 46 * s, y - 14 * s},
                         {x - 20 * s, y - 8 * s},
                         {x, y - 48 * s},
                         {x + 20 * s, y - 8 * s},
                         {x + 46 * s, y - 14 * s},
                         {x + 30 * s, y + 8 * s},
                         {x - 30 * s, y + 8 * s}}),
                colour);
}

} // namespace

Image titlePicture() {
    Image image(312, 279, kWidth, kHeight);
    image.shade([](double x, double y) { return y < kHorizon ? sky(x, y) : sea(x, y); });

    // The sun, lit from yellow at the top to orange at the bottom (two passes over the same
    // gaps), then the haze where it meets the sea.
    image.paint(
        makeShape(Box{kSun.x - kSunRadius, kSun.y - kSunRadius, kSun.x + kSunRadius, kHorizon},
                  sunInside),
        hex(0xFFD25A));
    image.paint(
        makeShape(Box{kSun.x - kSunRadius, kSun.y, kSun.x + kSunRadius, kHorizon}, sunInside),
        hex(0xFF7A3C), 0.6);
    image.paint(rect(0.0, kHorizon - 1.0, kWidth, kHorizon + 1.0), hex(0xFFC080), 0.7);

    // A paper boat riding the swell, and its reflection.
    boat(image, 118.0, 222.0, 1.0, hex(0x140A22));
    image.paint(polygon({{88, 232}, {148, 232}, {128, 250}, {108, 250}}), hex(0x140A22), 0.5);
    image.paint(stroke({72, 208}, {98, 214}, 1.4), hex(0xFFB070), 0.8);
    image.paint(stroke({118, 174}, {138, 214}, 1.2), hex(0xFFB070), 0.7);

    // The name, with a shadow, and the line under it.
    const TextStyle title{5.0, 6.0, 1.0, 0.92, 0.0};
    drawTextCentred(image, largeFont(), "ORVEX VARDEL", kWidth * 0.5 + 3.0, 33.0, title,
                    hex(0x12062A), 0.8);
    drawTextCentred(image, largeFont(), "ORVEX VARDEL", kWidth * 0.5, 30.0, title, hex(0xFFF2D8));
    const TextStyle line{1.8, 2.0, 1.0, 1.0, 0.0};
    drawTextCentred(image, largeFont(), "FOLDED FROM YESTERDAY'S NEWS", kWidth * 0.5, 84.0, line,
                    hex(0xFFC8A0));
    return image;
}

} // namespace vardel::makedata
