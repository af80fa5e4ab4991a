// Engraved brass for the rings. u runs across a band (the ring's depth), v around it; the
// band is seen from both sides, so every motif is symmetric across u.

#include <cmath>

#include "art/Noise.h"
#include "art/Shapes.h"
#include "art/Vector.h"
#include "textures/Textures.h"

namespace vardel::makedata {

namespace {

constexpr int kWidth = 60;
constexpr int kHeight = 600;
constexpr double kCentre = 30.0;
constexpr double kMotifPitch = 40.0; // distance between motifs along the band
const Rgb kEngraving = hex(0x4A3008);

// Polished brass: bright along the middle of the band, darker toward both edges, with faint
// brushing along the band.
Rgb brass(double u, double v) {
    const double across = std::abs(u - kCentre) / kCentre;
    const double sheen = 1.0 - 0.55 * across * across;
    const double brushing = fractalNoise(u * 0.8, v * 0.04, 2, 91u) - 0.5;
    const Rgb base = mix(hex(0x8A5E18), hex(0xF2CF72), sheen);
    return base + Rgb{1.0, 0.9, 0.6} * (brushing * 26.0);
}

void engraveMotif(Image& strip, double v, int index) {
    // Alternating lozenges holding an enamel dot and pairs of small rings.
    if (index % 2 == 0) {
        const auto lozenge = [&](double size) {
            return polygon({{kCentre, v - size},
                            {kCentre + size * 0.55, v},
                            {kCentre, v + size},
                            {kCentre - size * 0.55, v}});
        };
        strip.paint(lozenge(15.0), kEngraving);
        strip.paint(lozenge(12.5), hex(0xE8C060));
        strip.paint(disc(kCentre, v, 4.2), kEngraving);
        strip.paint(disc(kCentre, v, 3.3), index % 4 == 0 ? hex(0xB0182A) : hex(0x1A4FA8));
        strip.paint(disc(kCentre - 1.0, v - 1.0, 1.0), hex(0xFFFFFF), 0.7);
    } else {
        for (const double side : {-1.0, 1.0}) {
            strip.paint(annulus(kCentre + side * 7.0, v, 3.0, 4.6), kEngraving);
        }
        strip.paint(disc(kCentre, v, 1.6), kEngraving);
    }
}

} // namespace

Image ringStrip() {
    Image strip(kWidth, kHeight);
    strip.shade(brass);
    // Grooves along both edges, and a fine zigzag line between each groove and the motifs.
    for (const double side : {-1.0, 1.0}) {
        const double groove = kCentre + side * 23.0;
        strip.paint(rect(groove - 1.2, 0.0, groove + 1.2, kHeight), kEngraving);
        strip.paint(rect(groove + side * 2.0 - 0.4, 0.0, groove + side * 2.0 + 0.4, kHeight),
                    hex(0xFFF0B0), 0.8);
        for (double v = 0.0; v < kHeight; v += 8.0) {
            const double inner = kCentre + side * 17.0;
            strip.paint(stroke({inner, v}, {inner + side * 3.0, v + 4.0}, 1.0), kEngraving);
            strip.paint(stroke({inner + side * 3.0, v + 4.0}, {inner, v + 8.0}, 1.0), kEngraving);
        }
    }
    // Motifs along the middle. The very ends of the strip land on the top and bottom of the
    // rings, where the mapping smears them, so they stay plain.
    int index = 0;
    for (double v = 40.0; v <= kHeight - 40.0; v += kMotifPitch) {
        engraveMotif(strip, v, index++);
    }
    return strip;
}

} // namespace vardel::makedata
