// The second picture: an old chart of the sea the paper boats sail, with islands, soundings,
// a compass rose, rhumb lines and the boats' route. Drawn in 4:3 design units for the screen.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "art/Font.h"
#include "art/Noise.h"
#include "art/Random.h"
#include "art/Shapes.h"
#include "art/Vector.h"
#include "textures/Textures.h"

namespace vardel::makedata {

namespace {

constexpr double kWidth = 640.0;
constexpr double kHeight = 480.0;
constexpr double kBorder = 16.0;
constexpr double kCoast = 0.6; // land where the height field is above this
constexpr Point2 kRose{500.0, 128.0};
const Rgb kInk = hex(0x3A2410);
const Rgb kRed = hex(0x9A2A1C);

// The fleet's route across the chart.
Point2 routeAt(double t) {
    return Point2{60.0 + 520.0 * t, 400.0 - 230.0 * t + 60.0 * std::sin(t * 7.0)};
}

// Distance to the route, from the height difference to the curve (the route runs left to
// right, one height for every x) scaled by the curve's slope; beyond its ends, the distance
// to the end.
double distanceToRoute(double x, double y) {
    const double t = (x - 60.0) / 520.0;
    if (t <= 0.0 || t >= 1.0) {
        const Point2 end = routeAt(std::clamp(t, 0.0, 1.0));
        return std::hypot(x - end.x, y - end.y);
    }
    const double slope = (-230.0 + 420.0 * std::cos(t * 7.0)) / 520.0; // dy/dx of the route
    return std::abs(y - routeAt(t).y) / std::sqrt(1.0 + slope * slope);
}

// The sea floor and the islands: fractal noise, pulled down toward the chart's edges, with a
// deep channel along the fleet's route and open water around the compass rose. Sampled every
// two design units and read back with bilinear interpolation.
class SeaFloor {
public:
    SeaFloor() : samples(static_cast<std::size_t>((kColumns + 1) * (kRows + 1))) {
        for (int row = 0; row <= kRows; ++row) {
            for (int column = 0; column <= kColumns; ++column) {
                const double x = column * kSpacing;
                const double y = row * kSpacing;
                const double n = fractalNoise(x * 0.006, y * 0.006, 6, 321u);
                const double edge = std::min({x, y, kWidth - x, kHeight - y}) / 80.0;
                const double channel = std::exp(-std::pow(distanceToRoute(x, y) / 34.0, 2.0));
                const double rose =
                    std::exp(-std::pow(std::hypot(x - kRose.x, y - kRose.y) / 110.0, 4.0));
                samples[index(column, row)] =
                    n - 0.12 * (1.0 - std::min(edge, 1.0)) - 0.22 * channel - 0.3 * rose;
            }
        }
    }

    double operator()(double x, double y) const {
        const double gx = std::clamp(x / kSpacing, 0.0, kColumns - 1e-9);
        const double gy = std::clamp(y / kSpacing, 0.0, kRows - 1e-9);
        const int ix = static_cast<int>(gx);
        const int iy = static_cast<int>(gy);
        const double fx = gx - ix;
        const double fy = gy - iy;
        const double top = samples[index(ix, iy)] * (1.0 - fx) + samples[index(ix + 1, iy)] * fx;
        const double bottom =
            samples[index(ix, iy + 1)] * (1.0 - fx) + samples[index(ix + 1, iy + 1)] * fx;
        return top * (1.0 - fy) + bottom * fy;
    }

private:
    static constexpr double kSpacing = 2.0; // design units between samples
    static constexpr int kColumns = static_cast<int>(kWidth / kSpacing);
    static constexpr int kRows = static_cast<int>(kHeight / kSpacing);
    static std::size_t index(int column, int row) {
        return static_cast<std::size_t>(row * (kColumns + 1) + column);
    }
    std::vector<double> samples;
};

Rgb parchment(const SeaFloor& height, double x, double y) {
    const double stain = fractalNoise(x * 0.01, y * 0.01, 4, 17u);
    const double grain = fractalNoise(x * 0.4, y * 0.4, 2, 18u) - 0.5;
    const double edge = std::min({x, y, kWidth - x, kHeight - y});
    const double dark = 0.3 * stain + 0.5 * smoothstep(60.0, 0.0, edge);
    Rgb colour = mix(hex(0xEAD8A8), hex(0xB88E55), dark) + Rgb{1, 1, 1} * (grain * 12.0);
    const double h = height(x, y);
    if (h > kCoast) {
        // Land: tinted, darker inland, with hatching.
        const double inland = std::min((h - kCoast) / 0.12, 1.0);
        colour = mix(colour, hex(0xB9A060), 0.35 + 0.3 * inland);
        if (std::fmod(x + y * 0.6, 5.0) < 1.0 && inland > 0.25) {
            colour = mix(colour, kInk, 0.35);
        }
    } else {
        // Shallow water around the coast in a faint blue.
        colour = mix(colour, hex(0x8FB0A8), 0.45 * smoothstep(kCoast - 0.08, kCoast, h));
    }
    return colour;
}

// How much of the texel at (x, y) a line `width` wide along the height field's crossing of
// `level` covers: the distance to the crossing is the height difference over the slope.
double contour(const SeaFloor& height, double x, double y, double level, double width,
               bool dashed) {
    const double h = height(x, y);
    const double slope = std::hypot(height(x + 1.0, y) - h, height(x, y + 1.0) - h) + 1e-6;
    const double share = std::clamp(width * 0.5 - std::abs(h - level) / slope + 0.5, 0.0, 1.0);
    return dashed && std::fmod(x * 0.7 + y * 0.7, 9.0) >= 5.0 ? 0.0 : share;
}

void compassRose(Image& image) {
    const double r = 70.0;
    image.paint(annulus(kRose.x, kRose.y, r + 6.0, r + 8.0), kInk);
    image.paint(annulus(kRose.x, kRose.y, r - 1.0, r), kInk);
    for (int i = 0; i < 16; ++i) {
        const double a = i * kPi / 8.0;
        const double length = i % 4 == 0 ? r : (i % 2 == 0 ? r * 0.7 : r * 0.45);
        const double half = i % 4 == 0 ? 0.2 : 0.26;
        const Point2 tip{kRose.x + std::sin(a) * length, kRose.y - std::cos(a) * length};
        const Point2 side1{kRose.x + std::sin(a - half) * length * 0.22,
                           kRose.y - std::cos(a - half) * length * 0.22};
        const Point2 side2{kRose.x + std::sin(a + half) * length * 0.22,
                           kRose.y - std::cos(a + half) * length * 0.22};
        // Each point in two halves, one inked and one left light, as if lit from one side.
        image.paint(polygon({kRose, side1, tip}), i % 4 == 0 ? kRed : kInk);
        image.paint(polygon({kRose, tip, side2}), hex(0xF2E4C0));
        image.paint(stroke(kRose, tip, 0.8), kInk);
        image.paint(stroke(side2, tip, 0.8), kInk);
    }
    image.paint(disc(kRose.x, kRose.y, 4.0), kInk);
    const TextStyle letter{2.0, 2.2, 1.0, 1.0, 0.0};
    drawTextCentred(image, largeFont(), "N", kRose.x, kRose.y - r - 26.0, letter, kInk);
}

// Sixteen lines radiating from the rose across the whole chart, alternately inked and red.
void rhumbLines(Image& image) {
    for (const int parity : {0, 1}) {
        image.blend(parity == 0 ? kInk : kRed, [=](double x, double y) {
            const double step = kPi / 8.0;
            const double angle = std::atan2(x - kRose.x, kRose.y - y);
            const double nearest = std::round(angle / step);
            if (static_cast<int>(std::abs(nearest)) % 2 != parity) {
                return 0.0;
            }
            const double away =
                std::hypot(x - kRose.x, y - kRose.y) * std::abs(std::sin(angle - nearest * step));
            return 0.35 * std::clamp(0.85 - away, 0.0, 1.0);
        });
    }
}

// The route of the fleet, dashed, with a little boat every so often.
void route(Image& image) {
    const auto at = routeAt;
    for (int i = 0; i < 60; i += 2) {
        image.paint(stroke(at(i / 60.0), at((i + 1) / 60.0), 2.0), kRed);
    }
    for (const double t : {0.18, 0.5, 0.82}) {
        const Point2 p = at(t);
        image.paint(polygon({{p.x - 9, p.y - 3},
                             {p.x - 4, p.y - 2},
                             {p.x, p.y - 11},
                             {p.x + 4, p.y - 2},
                             {p.x + 9, p.y - 3},
                             {p.x + 6, p.y + 2},
                             {p.x - 6, p.y + 2}}),
                    kInk);
    }
}

void soundings(Image& image, const SeaFloor& height) {
    Random random(4242);
    const TextStyle digits{1.3, 1.5, 1.0, 1.0, 0.0};
    std::vector<Point2> placed;
    for (int i = 0; i < 90; ++i) {
        const Point2 at{random.range(40.0, kWidth - 60.0), random.range(40.0, kHeight - 50.0)};
        const double h = height(at.x, at.y);
        const bool crowded = std::any_of(placed.begin(), placed.end(), [&](Point2 p) {
            return std::hypot(p.x - at.x, p.y - at.y) < 30.0;
        });
        if (h > kCoast - 0.03 || crowded || std::hypot(at.x - kRose.x, at.y - kRose.y) < 90.0) {
            continue;
        }
        placed.push_back(at);
        const int fathoms = static_cast<int>((kCoast - h) * 90.0) + 1;
        drawText(image, smallFont(), std::to_string(fathoms), at.x, at.y, digits, kInk, 0.8);
    }
}

void frameAndCartouche(Image& image) {
    // The border: a thick line with alternating scale ticks.
    image.paint(rect(kBorder - 4.0, kBorder - 4.0, kWidth - kBorder + 4.0, kBorder - 2.0), kInk);
    image.paint(rect(kBorder - 4.0, kHeight - kBorder + 2.0, kWidth - kBorder + 4.0,
                     kHeight - kBorder + 4.0),
                kInk);
    image.paint(rect(kBorder - 4.0, kBorder - 4.0, kBorder - 2.0, kHeight - kBorder + 4.0), kInk);
    image.paint(rect(kWidth - kBorder + 2.0, kBorder - 4.0, kWidth - kBorder + 4.0,
                     kHeight - kBorder + 4.0),
                kInk);
    for (double x = kBorder; x < kWidth - kBorder; x += 40.0) {
        image.paint(rect(x, kBorder - 2.0, x + 20.0, kBorder + 1.0), kInk);
        image.paint(rect(x + 20.0, kHeight - kBorder - 1.0, x + 40.0, kHeight - kBorder + 2.0),
                    kInk);
    }
    // The title in a double-ruled box.
    const Box box{36.0, 34.0, 262.0, 112.0};
    image.paint(rect(box.x0, box.y0, box.x1, box.y1), hex(0xF0E2BA), 0.9);
    image.paint(outline(box, 2.0), kInk);
    image.paint(outline({box.x0 + 5.0, box.y0 + 5.0, box.x1 - 5.0, box.y1 - 5.0}, 0.8), kInk);
    const double centre = (box.x0 + box.x1) * 0.5;
    drawTextCentred(image, largeFont(), "VELMORANE", centre, box.y0 + 14.0,
                    TextStyle{3.4, 3.6, 1.0, 1.0, 0.12}, kInk);
    drawTextCentred(image, largeFont(), "THE SEA OF PAPER BOATS", centre, box.y0 + 48.0,
                    TextStyle{1.4, 1.6, 1.0, 1.0, 0.0}, kRed);
    drawTextCentred(image, smallFont(), "SOUNDINGS IN FATHOMS", centre, box.y0 + 64.0,
                    TextStyle{1.2, 1.3, 1.0, 1.0, 0.0}, kInk);
}

} // namespace

Image seaChart() {
    Image image(640, 512, kWidth, kHeight);
    const SeaFloor height;
    image.shade([&](double x, double y) { return parchment(height, x, y); });
    rhumbLines(image);
    // Depth contours offshore, then the coastline itself.
    const Rgb sounding = hex(0x4A6A70);
    image.blend(sounding, [&](double x, double y) {
        return 0.7 * contour(height, x, y, kCoast - 0.05, 1.0, true) +
               0.5 * contour(height, x, y, kCoast - 0.1, 0.8, true);
    });
    image.blend(kInk,
                [&](double x, double y) { return contour(height, x, y, kCoast, 2.2, false); });
    soundings(image, height);
    route(image);
    compassRose(image);
    frameAndCartouche(image);
    return image;
}

} // namespace vardel::makedata
