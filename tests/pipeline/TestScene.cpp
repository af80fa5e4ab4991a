#include "TestScene.h"

namespace vardel::test {

TestScene::TestScene()
    : buffer(static_cast<std::size_t>((kWidth + 2 * kGuard) * (kHeight + 2 * kGuard)), kSentinel) {
    scene.width = kWidth;
    scene.height = kHeight;
    // The target starts inside the guard band; its rows are the guarded rows.
    scene.rowPadding = 2 * kGuard;
    scene.target = buffer.data() + kGuard * stride() + kGuard;
    scene.zoomFactor = 3.23; // focal length 320
    scene.ambientR = scene.ambientG = scene.ambientB = 0.2;
}

SceneObject& TestScene::addObject(std::vector<Vec3> points, std::vector<std::vector<int>> polygons,
                                  std::uint32_t color) {
    auto* object = new SceneObject;
    object->camera = &scene.camera;
    object->pointCount = static_cast<int>(points.size());
    object->points = std::move(points);
    object->viewPoints.resize(object->points.size());
    object->screenPoints.resize(object->points.size());
    object->vertexNormals.resize(object->points.size());
    object->vertexLight.resize(object->points.size());
    for (const auto& indices : polygons) {
        Polygon polygon;
        polygon.vertex = {indices[0], indices[1], indices.size() == 3 ? indices[2] : -1};
        polygon.color = color;
        polygon.object = object;
        object->polygons.push_back(polygon);
    }
    object->polygonCount = static_cast<int>(object->polygons.size());
    scene.context.appendObject(object);
    return *object;
}

Light& TestScene::addLight(Vec3 position, double intensity) {
    auto* light = new Light;
    light->posX = position.x;
    light->posY = position.y;
    light->posZ = position.z;
    light->colorR = light->colorG = light->colorB = intensity;
    light->camera = &scene.camera;
    scene.lights.append(light);
    return *light;
}

void TestScene::placeCamera(Vec3 position, double heading, double pitch) {
    scene.camera.posX = position.x;
    scene.camera.posY = position.y;
    scene.camera.posZ = position.z;
    scene.camera.heading = heading;
    scene.camera.pitch = pitch;
}

void TestScene::finish() { scene.buildPolygonTable(); }

std::uint32_t TestScene::pixel(int x, int y) const {
    return buffer[static_cast<std::size_t>((y + kGuard) * stride() + x + kGuard)];
}

std::uint32_t& TestScene::pixelAt(int x, int y) {
    return buffer[static_cast<std::size_t>((y + kGuard) * stride() + x + kGuard)];
}

int TestScene::coveredPixels() const {
    int covered = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            covered += pixel(x, y) != kSentinel ? 1 : 0;
        }
    }
    return covered;
}

bool TestScene::guardIntact() const {
    for (int y = -kGuard; y < kHeight + kGuard; ++y) {
        for (int x = -kGuard; x < kWidth + kGuard; ++x) {
            const bool inside = x >= 0 && x < kWidth && y >= 0 && y < kHeight;
            if (!inside && pixel(x, y) != kSentinel) {
                return false;
            }
        }
    }
    return true;
}

std::uint64_t TestScene::checksum() const {
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a over the target's pixels
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            hash = (hash ^ pixel(x, y)) * 1099511628211ull;
        }
    }
    return hash;
}

void TestScene::clearTarget() { std::fill(buffer.begin(), buffer.end(), kSentinel); }

} // namespace vardel::test
