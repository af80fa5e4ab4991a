#include "render/Lighting.h"

#include "math/MatrixMultiply.h"
#include "math/PointTransform.h"
#include "math/Rotation.h"

namespace vardel {

void prepareLights(Light* lights) {
    for (Light* light = lights; light != nullptr; light = light->next) {
        const CameraState rest{};
        const CameraState& camera = light->camera != nullptr ? *light->camera : rest;
        // World to camera: move by minus the camera position, then turn as the camera sees.
        light->workTransform = {
            {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-camera.posX, -camera.posY, -camera.posZ}}};
        light->workRotation = cameraRotation(camera.pitch, camera.heading, camera.bank);
        multiplyMatrices(light->workTransform, light->workRotation, light->viewTransform);
        light->viewPosition =
            transformPoint(light->viewTransform, {light->posX, light->posY, light->posZ});
    }
}

void lightPoint(bool grey, const Vec3& p, const Vec3& n, VertexShade& shade, const Light& light) {
    lightPoint(grey, p, SurfaceNormal(n), shade, light);
}

void computeVertexNormals(SceneObject& object) {
    for (Vec3& normal : object.vertexNormals) {
        normal = {};
    }
    for (const Polygon& polygon : object.polygons) {
        if (polygon.isLine()) {
            continue;
        }
        const Vec3 n = object.faceNormal(polygon);
        for (std::int32_t index : polygon.vertex) {
            Vec3& sum = object.vertexNormals[static_cast<std::size_t>(index)];
            sum = {sum.x + n.x, sum.y + n.y, sum.z + n.z};
        }
    }
}

} // namespace vardel
