// Whole frames through render(): a textured torus, depth buffer, face-lit by two lights.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "render/Render.h"
#include "scene/Scene.h"
#include "scene/Texture.h"

namespace {

using namespace vardel;

// A torus of 40 x 25 segments (2,000 triangles) in the plane z = 0, radii 100 and 40 world
// units, wound so that its outside faces the viewer.
SceneObject* makeTorus(Scene& scene) {
    constexpr int kAround = 40;
    constexpr int kTube = 25;
    auto* torus = new SceneObject;
    for (int i = 0; i < kAround; ++i) {
        const double a = 2.0 * std::numbers::pi * i / kAround;
        for (int j = 0; j < kTube; ++j) {
            const double b = 2.0 * std::numbers::pi * j / kTube;
            const double r = 100.0 + 40.0 * std::cos(b);
            torus->points.push_back({r * std::cos(a), r * std::sin(a), 40.0 * std::sin(b)});
        }
    }
    const auto at = [&](int i, int j) { return ((i % kAround) * kTube + (j % kTube)); };
    for (int i = 0; i < kAround; ++i) {
        for (int j = 0; j < kTube; ++j) {
            Polygon first;
            first.vertex = {at(i, j), at(i, j + 1), at(i + 1, j + 1)};
            Polygon second;
            second.vertex = {at(i, j), at(i + 1, j + 1), at(i + 1, j)};
            for (Polygon* polygon : {&first, &second}) {
                polygon->color = 0x00C0A080;
                polygon->object = torus;
                torus->polygons.push_back(*polygon);
            }
        }
    }
    torus->pointCount = static_cast<int>(torus->points.size());
    torus->polygonCount = static_cast<int>(torus->polygons.size());
    for (auto* work : {&torus->viewPoints, &torus->screenPoints, &torus->vertexNormals}) {
        work->resize(torus->points.size());
    }
    torus->vertexLight.resize(torus->points.size());
    torus->camera = &scene.camera;
    scene.context.appendObject(torus);
    return torus;
}

void addLight(Scene& scene, double x, double y, double z, double level) {
    auto* light = new Light;
    light->posX = x;
    light->posY = y;
    light->posZ = z;
    light->colorR = light->colorG = light->colorB = level;
    light->camera = &scene.camera;
    scene.lights.append(light);
}

Texture checkerTexture() {
    Texture texture;
    texture.width = texture.height = 256;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const bool light = ((x / 16) + (y / 16)) % 2 != 0;
            texture.pixels.push_back(light ? 0x00F0E0C0u : 0x00304060u ^ static_cast<std::uint32_t>(x));
        }
    }
    return texture;
}

void BM_RenderTorusTexturedDepth(benchmark::State& state) {
    Scene scene;
    scene.width = 320;
    scene.height = 240;
    scene.zoomFactor = 3.2;
    scene.ambientR = scene.ambientG = scene.ambientB = 0.15;
    SceneObject* torus = makeTorus(scene);
    addLight(scene, -300, 300, -400, 0.9);
    addLight(scene, 400, -100, -200, 0.5);
    scene.buildPolygonTable();
    scene.createDepthBuffer();
    const Texture texture = checkerTexture();
    torus->computeExtents();
    torus->applyPlanarMapping(texture, {0, 0, 0}, {torus->extentX / 256 * 1.1, torus->extentY / 256 * 1.1});
    // Close and nearly face-on, a little below the centre: the torus fills about two thirds
    // of the picture and runs off the top edge.
    scene.camera.posY = -40;
    scene.camera.posZ = -295;
    std::vector<std::uint32_t> frame(320 * 240);
    scene.target = frame.data();
    double angle = 0.0;
    const auto pose = [&] {
        torus->pitch = 12.0 + 4.0 * std::sin(angle * 0.05);
        torus->bank = angle;
        angle += 0.7;
    };
    for (auto _ : state) {
        pose(); // a new pose every frame
        render(scene, 0.0);
        benchmark::DoNotOptimize(frame.data());
    }
    state.SetItemsProcessed(state.iterations());
    // Share of the picture the torus covers, from one more frame drawn on black.
    std::fill(frame.begin(), frame.end(), 0u);
    render(scene, 0.0);
    const auto covered = std::count_if(frame.begin(), frame.end(), [](std::uint32_t p) { return p != 0; });
    state.counters["coverage"] = static_cast<double>(covered) / static_cast<double>(frame.size());
}
BENCHMARK(BM_RenderTorusTexturedDepth);

} // namespace
