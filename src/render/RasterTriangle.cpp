#include "render/RasterTriangle.h"

namespace vardel {

bool isBackFacing(const RasterTriangle& triangle) {
    const ScreenVertex& p0 = *triangle.screen[0];
    const ScreenVertex& p1 = *triangle.screen[1];
    const ScreenVertex& p2 = *triangle.screen[2];
    const double d = (p1.x - p0.x) * (p2.y - p0.y) - (p1.y - p0.y) * (p2.x - p0.x);
    // Written as !(d > 0) so that a d that is not a number counts as back-facing.
    return !(d > 0.0);
}

} // namespace vardel
