#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "demo/Timeline.h"

namespace vardel {

/*
 * The software renderer on two threads: the calling thread animates and transforms the scene
 * (prepareFrame), then it draws the upper band of rows while a helper thread draws the lower
 * one (drawFrameRows), each running the polygon pass over the same transformed points and
 * lighting only what its band draws, and each doing its band's row work before and after. The
 * pictures are exactly those of coreRenderer(). The boundary between the bands follows the
 * work: it moves a few rows a frame toward the side that finished first, for each scene on its
 * own (a part that draws two scenes a frame would otherwise pull one boundary two ways). A
 * scene with lines or edges is rendered on one thread.
 */
class BandedRenderer final : public SceneRenderer {
public:
    BandedRenderer();
    ~BandedRenderer() override;
    BandedRenderer(const BandedRenderer&) = delete;
    BandedRenderer& operator=(const BandedRenderer&) = delete;

    void draw(Scene& scene, double sceneTime) override;
    void drawWithRows(Scene& scene, double sceneTime, const RowWork& work) override;

private:
    // What is kept of a scene: whether it draws lines, and where its bands meet.
    struct SceneEntry {
        const Scene* scene = nullptr;
        bool lines = false;
        int split = 0; // the first row of the lower band; 0: not chosen yet
    };

    void helperLoop();
    SceneEntry& entryOf(const Scene& scene);

    // Hand-over to the helper: a band to fill (posted > finished) or the end (stopping). Both
    // sides spin a while before they sleep: a frame takes about a millisecond, and waking a
    // sleeping thread can take a good part of that on a busy machine.
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable done;
    std::atomic<std::uint64_t> posted{0};
    std::atomic<std::uint64_t> finished{0};
    std::atomic<bool> stopping{false};
    // The lower band: written before posted, read after it.
    const Scene* lowerScene = nullptr;
    const RowWork* lowerWork = nullptr;
    int lowerFirst = 0;
    int lowerEnd = 0;
    double lowerSeconds = 0.0; // written before finished, read after it

    // Scenes seen so far (the polygon table does not change after loading); past that many,
    // the spare entry serves the last other scene drawn.
    std::array<SceneEntry, 16> scenes{};
    SceneEntry spare;

    std::thread helper; // started last, once everything it reads exists
};

} // namespace vardel
