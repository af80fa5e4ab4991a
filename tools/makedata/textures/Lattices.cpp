// The three grids of the beat-switched wall: bright lines that glow on a dark ground, each
// lattice in its own shape and colour so that every switch is plain to see.

#include <cmath>

#include "art/Vector.h"
#include "textures/Textures.h"

namespace vardel::makedata {

namespace {

constexpr int kSize = 600;

// A line of light at distance d: a sharp core of half-width `core` and a soft glow.
double glow(double d, double core, double spread) {
    return smoothstep(core + 1.0, core - 0.5, d) + 0.55 * std::exp(-d / spread);
}

// Distance to the nearest multiple of `pitch`.
double toLine(double x, double pitch) {
    const double m = std::fmod(std::abs(x), pitch);
    return std::min(m, pitch - m);
}

// Ground colour with a faint vignette toward the corners.
Rgb ground(Rgb centre, double x, double y) {
    const double r = std::hypot(x - kSize * 0.5, y - kSize * 0.5) / (kSize * 0.7);
    return centre * (1.0 - 0.5 * r * r);
}

Rgb light(Rgb ground, Rgb line, double amount) {
    return ground + line * std::min(amount, 1.6);
}

} // namespace

Image squareLattice() {
    Image image(kSize, kSize);
    image.shade([](double x, double y) {
        // Major lines every 50 texels, a faint minor grid every 10, and bright nodes.
        const double major = std::min(toLine(x, 50.0), toLine(y, 50.0));
        const double minor = std::min(toLine(x, 10.0), toLine(y, 10.0));
        const double node = std::hypot(toLine(x, 50.0), toLine(y, 50.0));
        const double amount = glow(major, 1.8, 5.0) + 0.18 * smoothstep(1.2, 0.2, minor) +
                              0.9 * smoothstep(7.0, 3.0, node);
        return light(ground(hex(0x081430), x, y), hex(0x60E8FF), amount);
    });
    return image;
}

Image diamondLattice() {
    Image image(kSize, kSize);
    image.shade([](double x, double y) {
        // Lines at 45 degrees both ways, and inside every diamond a smaller one.
        const double k = std::sqrt(0.5);
        const double a = (x + y) * k;
        const double b = (x - y) * k;
        const double pitch = 60.0;
        const double lattice = std::min(toLine(a, pitch), toLine(b, pitch));
        const double inner = std::max(std::abs(std::fmod(std::abs(a), pitch) - pitch * 0.5),
                                      std::abs(std::fmod(std::abs(b), pitch) - pitch * 0.5));
        const double amount =
            glow(lattice, 2.0, 6.0) + 0.7 * glow(std::abs(inner - 12.0), 0.8, 2.5);
        return light(ground(hex(0x200A2E), x, y), hex(0xFF50D0), amount);
    });
    return image;
}

Image honeycombLattice() {
    Image image(kSize, kSize);
    image.shade([](double x, double y) {
        // Hexagonal cells: the distance to the nearest cell centre against the distance to
        // the second nearest gives the walls between them.
        const double r = 34.0;
        const double w = r * std::sqrt(3.0);
        double best = 1e9;
        double second = 1e9;
        const double rowStep = r * 1.5;
        const int row0 = static_cast<int>(std::floor(y / rowStep));
        for (int row = row0 - 1; row <= row0 + 2; ++row) {
            const double offset = (row % 2 == 0) ? 0.0 : w * 0.5;
            const int col0 = static_cast<int>(std::floor((x - offset) / w));
            for (int col = col0 - 1; col <= col0 + 2; ++col) {
                const double d = std::hypot(x - (col * w + offset), y - row * rowStep);
                if (d < best) {
                    second = best;
                    best = d;
                } else if (d < second) {
                    second = d;
                }
            }
        }
        const double wall = (second - best) * 0.5;
        const double amount = glow(wall, 1.6, 5.0) + 0.35 * smoothstep(10.0, 0.0, best);
        return light(ground(hex(0x241004), x, y), hex(0xFFB030), amount);
    });
    return image;
}

} // namespace vardel::makedata
