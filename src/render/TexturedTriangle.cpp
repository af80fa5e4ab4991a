#include "render/TexturedTriangle.h"

#include "render/RasterMath.h"
#include "render/ScreenClip.h"

namespace vardel {

void drawTexturedTriangle(const RasterTriangle& triangle) {
    if (cornersWithinBand(triangle, true)) { // the common case: nothing to cut
        fillTexturedWithinBand(triangle);
        return;
    }
    // Cut to the guard band first; the pieces' new corners are checked before they are filled.
    clipToScreen(triangle, true, [](const RasterTriangle& piece) {
        if (cornersWithinBand(piece, true)) {
            fillTexturedWithinBand(piece);
        }
    });
}

} // namespace vardel
