#include "scene/ObjectTransforms.h"

#include "math/FaceNormal.h"
#include "math/PointTransform.h"
#include "math/Rotation.h"
#include "math/ViewTransform.h"
#include "scene/SceneObject.h"

namespace vardel {

namespace {

// Objects read from a file have their work arrays sized already; this only allocates for an
// object whose points were set some other way.
void matchSize(std::vector<Vec3>& work, std::size_t count) {
    if (work.size() != count) {
        work.resize(count);
    }
}

} // namespace

void SceneObject::buildMatrices() {
    // An object outside any scene sees from a camera at rest at the origin.
    const CameraState detached{};
    const CameraState& view = camera != nullptr ? *camera : detached;
    // The view centre sits one pixel up and left of the middle: (159, 119) on 320 x 240.
    const int centreX = viewWidth / 2 - 1;
    const int centreY = viewHeight / 2 - 1;
    rotation = objectRotation(pitch, heading, bank);
    relativePosition = {posX - view.posX, posY - view.posY, posZ - view.posZ};
    cameraRotation = vardel::cameraRotation(view.pitch, view.heading, view.bank);
    modelView =
        modelViewMatrix(rotation, relativePosition, cameraRotation, {scaleX, scaleY, scaleZ});
    projection = projectionMatrix(centreX, centreY, view.focal);
}

void SceneObject::transformPoints() {
    matchSize(viewPoints, points.size());
    vardel::transformPoints(modelView, points, viewPoints);
}

void SceneObject::projectPoints() {
    matchSize(screenPoints, viewPoints.size());
    vardel::projectPoints(projection, viewPoints, screenPoints);
}

void SceneObject::projectPoint(Vec3& point) const {
    point = vardel::projectPoint(projection, point);
}

Vec3 SceneObject::faceNormal(const Polygon& polygon) const {
    if (polygon.isLine()) {
        return {};
    }
    const auto at = [&](int corner) -> const Vec3& {
        return viewPoints[static_cast<std::size_t>(
            polygon.vertex[static_cast<std::size_t>(corner)])];
    };
    return vardel::faceNormal(at(0), at(1), at(2));
}

void prepareObjects(RenderContext& context) {
    for (SceneObject* object = context.objects; object != nullptr; object = object->next) {
        object->viewWidth = context.width;
        object->viewHeight = context.height;
        object->buildMatrices();
        object->transformPoints();
        object->projectPoints();
    }
}

} // namespace vardel
