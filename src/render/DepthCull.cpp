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
    // The fillers hold every pixel's 1/z within the corners' range, so no pixel is nearer than
    // the nearest corner. A triangle that can be seen mostly shows at its middle: its nearest
    // corner in front of the depth there settles it (saying "not hidden" is always safe).
    // Only the band's rows are read: another thread may be filling the rest. The rounded
    // corners' rows, which the fillers draw within, lie within top .. bottom.
    const int bandTop = std::max(t.firstRow, 0);
    const int bandBottom = std::min(t.endRow, t.height) - 1;
    const int top = std::max(roundClamped(std::min({a.y, b.y, c.y}), 0, t.height - 1), bandTop);
    const int bottom =
        std::min(roundClamped(std::max({a.y, b.y, c.y}), 0, t.height - 1), bandBottom);
    if (top > bottom) {
        return true; // nothing to draw in the band
    }
    const int middleX = roundClamped((a.x + b.x + c.x) / 3.0, 0, t.width - 1);
    const int middleY = roundClamped((a.y + b.y + c.y) / 3.0, top, bottom);
    const auto bound = static_cast<float>(1.0 / std::min({a.z, b.z, c.z}));
    if (!(bound < 1e30f) || depthAt(middleX, middleY) < bound) { // also not a number
        return false;
    }
    const int left = roundClamped(std::min({a.x, b.x, c.x}), 0, t.width - 1);
    const int right = roundClamped(std::max({a.x, b.x, c.x}), 0, t.width - 1);
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
