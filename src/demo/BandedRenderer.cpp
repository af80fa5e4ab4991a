#include "demo/BandedRenderer.h"

#include <algorithm>
#include <chrono>

#include "render/Render.h"

namespace vardel {

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Spins until ready() or about a millisecond has passed; true when ready() came true.
template <class Ready> bool spinUntil(Ready&& ready) {
    const auto start = std::chrono::steady_clock::now();
    while (!ready()) {
        for (int i = 0; i < 64; ++i) {
            if (ready()) {
                return true;
            }
        }
        if (secondsSince(start) > 1e-3) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

// A band's rows readied, drawn and finished, by the thread that draws them.
void drawBand(const Scene& scene, const RowWork& work, int firstRow, int endRow) {
    work.before(firstRow, endRow);
    drawFrameRows(scene, firstRow, endRow);
    work.after(firstRow, endRow);
}

} // namespace

BandedRenderer::BandedRenderer() : helper([this] { helperLoop(); }) {}

BandedRenderer::~BandedRenderer() {
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopping.store(true, std::memory_order_release);
    }
    wake.notify_one();
    helper.join();
}

void BandedRenderer::helperLoop() {
    std::uint64_t seen = 0;
    while (true) {
        const auto ready = [&] {
            return stopping.load(std::memory_order_acquire) ||
                   posted.load(std::memory_order_acquire) != seen;
        };
        if (!spinUntil(ready)) {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, ready);
        }
        if (stopping.load(std::memory_order_acquire)) {
            return;
        }
        seen = posted.load(std::memory_order_acquire);
        const auto start = std::chrono::steady_clock::now();
        drawBand(*lowerScene, *lowerWork, lowerFirst, lowerEnd);
        lowerSeconds = secondsSince(start);
        {
            // Under the lock, so that a waiter between its check and its sleep cannot miss it.
            const std::lock_guard<std::mutex> lock(mutex);
            finished.store(seen, std::memory_order_release);
        }
        done.notify_one();
    }
}

BandedRenderer::SceneEntry& BandedRenderer::entryOf(const Scene& scene) {
    for (SceneEntry& entry : scenes) {
        if (entry.scene == &scene) {
            return entry;
        }
    }
    const auto& table = scene.context.polygonTable;
    const bool lines =
        std::any_of(table.begin(), table.end(), [](const Polygon* p) { return p->isLine(); });
    for (SceneEntry& entry : scenes) {
        if (entry.scene == nullptr) {
            entry = {&scene, lines, 0};
            return entry;
        }
    }
    if (spare.scene != &scene) {
        spare = {&scene, lines, 0};
    }
    return spare;
}

void BandedRenderer::draw(Scene& scene, double sceneTime) {
    drawWithRows(scene, sceneTime, RowWork{});
}

void BandedRenderer::drawWithRows(Scene& scene, double sceneTime, const RowWork& work) {
    const int height = scene.height;
    SceneEntry& entry = entryOf(scene);
    if (height < 2 || scene.wireframe != 0 || entry.lines) {
        coreRenderer().drawWithRows(scene, sceneTime, work); // whole, on this thread
        return;
    }
    // This thread animates and transforms the scene; then each thread draws its band, the
    // helper the lower one, clearing the band's depth rows first.
    prepareFrame(scene, sceneTime);
    // Rows are kept at least an eighth of the target on each side.
    const int margin = std::max(height / 8, 1);
    int& split = entry.split;
    split = split == 0 ? height / 2 : std::clamp(split, margin, height - margin);
    lowerScene = &scene;
    lowerWork = &work;
    lowerFirst = split;
    lowerEnd = height;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        posted.fetch_add(1, std::memory_order_release);
    }
    wake.notify_one();
    const auto start = std::chrono::steady_clock::now();
    drawBand(scene, work, 0, split);
    const double upperSeconds = secondsSince(start);
    const auto finishedBand = [&] {
        return finished.load(std::memory_order_acquire) == posted.load(std::memory_order_relaxed);
    };
    if (!spinUntil(finishedBand)) {
        std::unique_lock<std::mutex> lock(mutex);
        done.wait(lock, finishedBand);
    }
    const double helperSeconds = lowerSeconds;
    // Move the boundary toward the side that took longer, by a few rows a frame; within 5 %
    // the two count as even.
    const int stepRows = std::max(height / 80, 1);
    if (upperSeconds > helperSeconds * 1.05) {
        split -= stepRows;
    } else if (helperSeconds > upperSeconds * 1.05) {
        split += stepRows;
    }
}

} // namespace vardel
