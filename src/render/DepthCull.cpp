#include "render/DepthCull.h"

#include <algorithm>
#include <cmath>

#include "render/RasterMath.h"

namespace vardel {

bool hiddenByDepth(const RasterTriangle& t) {
    if (t.depth == nullptr || !usableTarget(t)) {
        return false;
    }
    const ScreenVertex& a = *t.screen[0];
    const ScreenVertex& b = *t.screen[1];
    const ScreenVertex& c = *t.screen[2];
    const auto depthAt = [&](int x, int y) {
        return t.depth[static_cast<std::ptrdiff_t>(y) * t.pitch() + x];
    };
    // A triangle that can be seen mostly shows at its middle. Its nearest corner in front of
    // the depth there settles it with one division (saying "not hidden" is always safe).
    const int middleX = roundClamped((a.x + b.x + c.x) / 3.0, 0, t.width - 1);
    const int middleY = roundClamped((a.y + b.y + c.y) / 3.0, 0, t.height - 1);
    if (depthAt(middleX, middleY) < static_cast<float>(1.0 / std::min({a.z, b.z, c.z}))) {
        return false;
    }
    const double wa = 1.0 / a.z;
    const double wb = 1.0 / b.z;
    const double wc = 1.0 / c.z;
    const double dx1 = b.x - a.x;
    const double dy1 = b.y - a.y;
    const double dx2 = c.x - a.x;
    const double dy2 = c.y - a.y;
    const double det = dy1 * dx2 - dy2 * dx1;
    if (!(det != 0.0)) {
        return false;
    }
    /*
     * 1/z is linear across the screen. The pixels drawn lie within a pixel's width (across)
     * and half a pixel (down) of the exact triangle: corners round to whole pixels and span
     * starts to whole columns. So no pixel's 1/z exceeds the nearest corner's by more than
     * one step of the gradient in each direction; a millionth more covers the rounding of
     * the sums along the way.
     */
    const double inverseDet = 1.0 / det;
    const double gx = (dy1 * (wc - wa) - dy2 * (wb - wa)) * inverseDet;
    const double gy = ((wb - wa) * dx2 - (wc - wa) * dx1) * inverseDet;
    const double nearest = (std::max({wa, wb, wc}) + std::abs(gx) + std::abs(gy)) * (1.0 + 1e-6);
    if (!(nearest < 1e30)) { // also not a number
        return false;
    }
    const auto bound = static_cast<float>(nearest);
    const int left = roundClamped(std::min({a.x, b.x, c.x}), 0, t.width - 1);
    const int right = roundClamped(std::max({a.x, b.x, c.x}), 0, t.width - 1);
    const int top = roundClamped(std::min({a.y, b.y, c.y}), 0, t.height - 1);
    const int bottom = roundClamped(std::max({a.y, b.y, c.y}), 0, t.height - 1);
    for (int y = top; y <= bottom; ++y) {
        // A whole row at a time, without a branch per pixel.
        const float* row = &t.depth[static_cast<std::ptrdiff_t>(y) * t.pitch()];
        int nearer = 0;
        for (int x = left; x <= right; ++x) {
            nearer += row[x] < bound ? 1 : 0;
        }
        if (nearer != 0) {
            return false;
        }
    }
    return true;
}

} // namespace vardel
