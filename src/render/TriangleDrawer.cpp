#include "render/TriangleDrawer.h"

#include "render/ShadedTriangle.h"
#include "render/TexturedTriangle.h"

namespace vardel {

namespace {

class Rasterizers final : public TriangleDrawer {
public:
    void draw(const RasterTriangle& triangle) const override {
        if (triangle.texture != nullptr) {
            drawTexturedTriangle(triangle);
        } else {
            drawShadedTriangle(triangle);
        }
    }
};

} // namespace

const TriangleDrawer& rasterizers() {
    static const Rasterizers drawer; // stateless
    return drawer;
}

} // namespace vardel
