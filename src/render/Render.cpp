#include "render/Render.h"

#include <algorithm>
#include <utility>

#include "math/Quotient.h"
#include "render/EdgePass.h"
#include "render/PolygonPass.h"
#include "scene/Motion.h"
#include "scene/ObjectTransforms.h"

namespace vardel {

double polygonDepthKey(const Polygon& polygon) {
    const std::vector<Vec3>& view = polygon.object->viewPoints;
    const double first = view[static_cast<std::size_t>(polygon.vertex[0])].z;
    const double second = view[static_cast<std::size_t>(polygon.vertex[1])].z;
    if (polygon.isLine()) {
        return (first + second) * 1.5;
    }
    return first + second + view[static_cast<std::size_t>(polygon.vertex[2])].z;
}

void sortPolygons(RenderContext& context) {
    std::vector<Polygon*>& table = context.polygonTable;
    const int count = static_cast<int>(table.size());
    int gap = count;
    bool clean = false;
    while (!(gap == 1 && clean)) {
        gap = std::max(gap * 8 / 11, 1);
        clean = true;
        for (int i = 0; i < count - gap; ++i) {
            Polygon*& nearer = table[static_cast<std::size_t>(i)];
            Polygon*& farther = table[static_cast<std::size_t>(i + gap)];
            if (polygonDepthKey(*farther) > polygonDepthKey(*nearer)) {
                std::swap(nearer, farther);
                clean = false;
            }
        }
    }
}

void clearDepthRows(const Scene& scene, int firstRow, int endRow) {
    if (scene.depthBuffer != nullptr) {
        const int pitch = scene.width + scene.rowPadding;
        float* const rows = scene.depthBuffer.get();
        std::fill(rows + static_cast<std::ptrdiff_t>(firstRow) * pitch,
                  rows + static_cast<std::ptrdiff_t>(endRow) * pitch, 0.0f);
    }
}

namespace {

// What comes before the polygon pass: the context's fields, the motion of objects, lights and
// camera (a camera without keys keeps its state), the transforms and the polygon order.
void animate(Scene& scene, double sceneTime) {
    RenderContext& context = scene.context;
    context.height = scene.height;
    context.width = scene.width;
    context.rowPadding = scene.rowPadding;
    context.target = scene.target;
    context.multiplyTable = scene.multiplyTable.get();
    context.depthBuffer = scene.depthBuffer.get();
    context.greyLighting = scene.greyLighting;
    context.ambient = {scene.ambientR, scene.ambientG, scene.ambientB};

    evaluateSceneMotion(scene, sceneTime);
    scene.camera.focal = quotient(scene.width, quotient(3.23, scene.zoomFactor));

    prepareObjects(context);
    if (scene.depthBuffer == nullptr) {
        sortPolygons(context);
    }
}

} // namespace

void render(Scene& scene, double sceneTime, const TriangleDrawer& drawer) {
    clearDepthRows(scene, 0, scene.height);
    animate(scene, sceneTime);
    if (scene.faceLighting != 0) {
        faceLitPass(scene.context, scene.lights.head, drawer);
    } else {
        vertexLitPass(scene.context, scene.lights.head, drawer);
    }
    if (scene.wireframe != 0) {
        edgePass(scene.context);
    }
}

void prepareFrame(Scene& scene, double sceneTime) {
    animate(scene, sceneTime);
    preparePolygonPass(scene.context, scene.lights.head, scene.faceLighting != 0);
}

void drawFrameRows(const Scene& scene, int firstRow, int endRow) {
    clearDepthRows(scene, firstRow, endRow);
    polygonPassRows(scene.context, scene.lights.head, scene.faceLighting != 0, firstRow, endRow);
}

} // namespace vardel
