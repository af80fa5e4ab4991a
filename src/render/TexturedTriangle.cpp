#include "render/TexturedTriangle.h"

#include "render/RasterMath.h"
#include "render/ScreenClip.h"

namespace vardel {

void drawTexturedTriangle(const RasterTriangle& triangle) {
    if (cornersWithinBand(triangle, true)) { // the common case: nothing to cut
        fillTexturedWithinBand(triangle);
        return;
    }
    TriangleFiller fill = nullptr;
    if (triangle.depth == nullptr) {
        fill = triangle.mono != 0 ? fillTexturedTriangleMono : fillTexturedTriangle;
    } else {
        fill = triangle.mono != 0 ? fillTexturedTriangleMonoDepth : fillTexturedTriangleDepth;
    }
    clipToScreen(triangle, true, fill);
}

} // namespace vardel
