#include "scene/Scene.h"

#include "scene/LinkedList.h"

namespace vardel {

void RenderContext::appendObject(SceneObject* object) {
    appendNode(objects, lastObject, object);
}

Scene::Scene() = default;

Scene::~Scene() {
    SceneObject* object = context.objects;
    while (object != nullptr) {
        SceneObject* following = object->next;
        delete object;
        object = following;
    }
}

void Scene::createDepthBuffer() {
    const int entries = depthBufferSize();
    depthBuffer =
        entries > 0 ? std::make_unique<float[]>(static_cast<std::size_t>(entries)) : nullptr;
}

void Scene::buildPolygonTable() {
    context.polygonTotal = 0;
    for (SceneObject* object = context.objects; object != nullptr; object = object->next) {
        context.polygonTotal += object->polygonCount;
    }
    context.polygonTable.clear();
    context.polygonTable.reserve(static_cast<std::size_t>(context.polygonTotal));
    for (SceneObject* object = context.objects; object != nullptr; object = object->next) {
        for (Polygon& polygon : object->polygons) {
            context.polygonTable.push_back(&polygon);
        }
    }
}

void Scene::setLightLevel(double factor) {
    if (!lightsSaved) {
        savedLights.copyFrom(lights);
        savedAmbient = {ambientR, ambientG, ambientB};
        lightsSaved = true;
    }
    lights.copyFrom(savedLights);
    ambientR = savedAmbient[0];
    ambientG = savedAmbient[1];
    ambientB = savedAmbient[2];
    for (currentLight = lights.head; currentLight != nullptr; currentLight = currentLight->next) {
        currentLight->colorR *= factor;
        currentLight->colorG *= factor;
        currentLight->colorB *= factor;
    }
    ambientR *= factor;
    ambientG *= factor;
    ambientB *= factor;
}

} // namespace vardel
