// Per-frame cost of animating and transforming: track evaluation, and the matrices, camera-space
// transform and projection of an object's points.

#include <benchmark/benchmark.h>

#include <cmath>

#include "scene/Motion.h"
#include "scene/ObjectTransforms.h"
#include "scene/SceneObject.h"

namespace vardel {
namespace {

// Points on a sphere of radius 100 in front of a camera at (0, 0, -1000).
void BM_TransformProjectPoints(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    CameraState camera;
    camera.posZ = -1000;
    camera.focal = 317.0;
    SceneObject object;
    object.camera = &camera;
    for (std::size_t i = 0; i < count; ++i) {
        const double a = 0.37 * static_cast<double>(i), b = 0.011 * static_cast<double>(i);
        object.points.push_back(
            {100 * std::cos(a) * std::sin(b), 100 * std::cos(b), 100 * std::sin(a) * std::sin(b)});
    }
    object.pointCount = static_cast<int>(count);
    object.viewPoints.resize(count);
    object.screenPoints.resize(count);
    RenderContext context;
    context.objects = &object;
    context.width = 320;
    context.height = 240;
    double angle = 0;
    for (auto _ : state) {
        object.heading = angle;
        object.pitch = angle * 0.5;
        angle += 0.7;
        prepareObjects(context);
        benchmark::DoNotOptimize(object.screenPoints.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_TransformProjectPoints)->Arg(1000)->Arg(4096);

// One object track of 40 keys evaluated at times spread over it (items: tracks).
void BM_TransformEvaluateTrack(benchmark::State& state) {
    constexpr int kKeys = 40;
    SceneObject object;
    object.keys = std::make_shared<Key[]>(kKeys);
    object.keyCount = kKeys;
    for (int k = 0; k < kKeys; ++k) {
        Key& key = object.keys[static_cast<std::size_t>(k)];
        key.frame = 10.0 * k;
        key.x = std::sin(k);
        key.heading = 9.0 * k;
    }
    double t = 0;
    for (auto _ : state) {
        evaluateMotion(object, t);
        t = t > 400 ? 0 : t + 1.3;
        benchmark::DoNotOptimize(object.posX);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_TransformEvaluateTrack);

} // namespace
} // namespace vardel
