#include <cmath>

#include "scene/SceneObject.h"

namespace vardel {

void SceneObject::computeExtents() {
    extentX = extentY = extentZ = 0.0;
    for (const Vec3& point : points) {
        extentX = std::abs(point.x) > extentX ? std::abs(point.x) : extentX;
        extentY = std::abs(point.y) > extentY ? std::abs(point.y) : extentY;
        extentZ = std::abs(point.z) > extentZ ? std::abs(point.z) : extentZ;
    }
    extentX *= 2.0;
    extentY *= 2.0;
    extentZ *= 2.0;
}

} // namespace vardel
