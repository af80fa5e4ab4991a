// Soft clouds from fractal noise, lit from above. The cloud banks carry this texture turned
// a quarter (its columns run up the bank, its rows across it), so the picture is made in the
// bank's own directions and stored turned.

#include <cmath>

#include "art/Noise.h"
#include "art/Vector.h"
#include "textures/Textures.h"

namespace vardel::makedata {

namespace {

constexpr int kColumns = 319; // texels along u: up the bank
constexpr int kRows = 320;    // texels along v: across the bank, left to right

// Cloud density: broad fractal noise, so that the puffs it lands on carry soft shapes a few
// dozen texels across rather than fine grain.
double density(double across, double up) {
    return fractalNoise(across * 0.011, up * 0.013, 5, 4711u, 0.48);
}

Rgb cloudAt(double across, double up) {
    const double here = density(across, up);
    // Light comes from above: brighter where the density falls away upward (the tops of
    // the billows), darker underneath, and a little brighter toward the top overall.
    const double above = density(across + 3.0, up + 9.0);
    const double lit =
        std::clamp(0.62 + (here - above) * 5.0 + (up / kColumns - 0.5) * 0.5, 0.0, 1.0);
    const double body = smoothstep(0.3, 0.7, here);
    const Rgb colour = mix(hex(0x9098BC), hex(0xFFF8EE), lit);
    // Thin parts let a cool haze through.
    return mix(hex(0xC4D2EC), colour, 0.5 + 0.5 * body);
}

} // namespace

Image cloudTexture() {
    Image image(kColumns, kRows);
    image.shade([](double u, double v) { return cloudAt(v, u); });
    return image;
}

} // namespace vardel::makedata
