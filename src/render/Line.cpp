#include "render/Line.h"

#include <cmath>
#include <cstddef>
#include <utility>

#include "render/RasterMath.h"

namespace vardel {

void plotLine(const RasterTriangle& t, int x0, int y0, int x1, int y1, std::uint32_t color) {
    auto inside = [&](int x, int y) { return x >= 0 && x < t.width && y >= 0 && y < t.height; };
    if (!usableTarget(t) || !inside(x0, y0) || !inside(x1, y1)) {
        return;
    }
    if (x1 < x0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    const std::ptrdiff_t pitch = t.pitch();

    // The four slope classes (dy/dx in [0, 1), [1, inf], [-1, 0), below -1 or 0/0) become one
    // walk: `major` steps once per pixel, `minor` when the error term says so. With
    // e = 2 * minor - major to start, a positive e moves along the minor axis as well and adds
    // 2 * (minor - major), otherwise e grows by 2 * minor.
    int major = 0;
    int minor = 0;
    std::ptrdiff_t majorStep = 0;
    std::ptrdiff_t minorStep = 0;
    if (dy >= 0 && dy < dx) { // mostly horizontal, going down or level
        major = dx;
        minor = dy;
        majorStep = 1;
        minorStep = pitch;
    } else if (dy > 0) { // mostly vertical, going down
        major = dy;
        minor = dx;
        majorStep = pitch;
        minorStep = 1;
    } else if (-dy <= dx && dx > 0) { // mostly horizontal, going up
        major = dx;
        minor = -dy;
        majorStep = 1;
        minorStep = -pitch;
    } else { // mostly vertical, going up, or a single point
        major = -dy;
        minor = dx;
        majorStep = -pitch;
        minorStep = 1;
    }
    std::uint32_t* p = t.pixels + static_cast<std::ptrdiff_t>(y0) * pitch + x0;
    int e = 2 * minor - major;
    *p = color;
    for (int i = 0; i < major; ++i) {
        if (e > 0) {
            p += minorStep;
            e += 2 * (minor - major);
        } else {
            e += 2 * minor;
        }
        p += majorStep;
        *p = color;
    }
}

namespace {

// Moves end a along the line through a and b onto `limit` of the clipped axis; `across` is the
// other coordinate, interpolated.
void clipEnd(double& aAlong, double& aAcross, double bAlong, double bAcross, double limit) {
    aAcross = bAcross + (aAcross - bAcross) / (aAlong - bAlong) * (limit - bAlong);
    aAlong = limit;
}

// Clips the segment on one axis to 0..last; false when both ends lie beyond the same side.
// Each end is moved at most once per boundary.
bool clipAxis(double& a0, double& c0, double& a1, double& c1, double last) {
    if ((a0 < 0.0 && a1 < 0.0) || (a0 > last && a1 > last)) {
        return false;
    }
    if (a0 < 0.0) {
        clipEnd(a0, c0, a1, c1, 0.0);
    } else if (a1 < 0.0) {
        clipEnd(a1, c1, a0, c0, 0.0);
    }
    if (a0 > last) {
        clipEnd(a0, c0, a1, c1, last);
    } else if (a1 > last) {
        clipEnd(a1, c1, a0, c0, last);
    }
    return true;
}

} // namespace

void drawEdge(const RasterTriangle& t, int i, int j) {
    if (!usableTarget(t) || i < 0 || i > 2 || j < 0 || j > 2) {
        return;
    }
    double x0 = t.screen[i]->x;
    double y0 = t.screen[i]->y;
    double x1 = t.screen[j]->x;
    double y1 = t.screen[j]->y;
    const double lastColumn = t.width - 1;
    const double lastRow = t.height - 1;
    const bool inside = x0 >= 0.0 && x1 >= 0.0 && y0 >= 0.0 && y1 >= 0.0 && x0 <= lastColumn &&
                        x1 <= lastColumn && y0 <= lastRow && y1 <= lastRow;
    // Rows first, then columns on the row-clipped segment: both ends then lie within the rows
    // already, and clipping the columns along the same line keeps them there.
    if (!inside && (!clipAxis(y0, x0, y1, x1, lastRow) || !clipAxis(x0, y0, x1, y1, lastColumn))) {
        return;
    }
    if (std::isnan(x0) || std::isnan(y0) || std::isnan(x1) || std::isnan(y1)) {
        return; // the clipping overflowed
    }
    plotLine(t, roundClamped(x0, 0, t.width - 1), roundClamped(y0, 0, t.height - 1),
             roundClamped(x1, 0, t.width - 1), roundClamped(y1, 0, t.height - 1), t.color);
}

void drawTriangleEdges(const RasterTriangle& t) {
    drawEdge(t, 0, 1);
    drawEdge(t, 0, 2);
    drawEdge(t, 1, 2);
}

} // namespace vardel
