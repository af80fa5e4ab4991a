#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "TinyDemo.h"
#include "capture/HeadlessDisplay.h"
#include "demo/DemoClock.h"
#include "demo/DemoMusic.h"
#include "demo/Timeline.h"
#include "render/Render.h"

namespace vardel::test {

class ScriptedClock final : public DemoClock {
public:
    void start() override {}
    double advance() override { return next; }
    double next = 1.0;
};

class ScriptedMusic final : public DemoMusic {
public:
    bool play() override { return ++plays, isPlaying = canPlay; }
    bool playFromCue(int nibble) override { return startCue = nibble, play(); }
    bool playing() const override { return isPlaying; }
    std::int32_t poll() override { return ++polls, sync; }
    void stop() override { ++stops, isPlaying = false; }

    std::int32_t sync = 0;
    bool canPlay = true;
    bool isPlaying = false;
    int plays = 0, polls = 0, stops = 0;
    int startCue = 0; // the cue the last play started at; 0: the song's start
};

// Records each render and, unless told to draw, fills the target with a colour of its own
// per call; scene 4 leaves the left half black, the credits' key colour.
class RecordingRenderer final : public SceneRenderer {
public:
    struct Call {
        int scene;
        double sceneTime;
        const std::uint32_t* target;
        double ambient; // the scene's ambient red: its light level
        std::uint32_t color;
    };
    explicit RecordingRenderer(DemoData& data) : data(data) {}

    void draw(Scene& scene, double sceneTime) override {
        const int number = static_cast<int>(&scene - data.scenes.data()) + 1;
        const auto k = static_cast<std::uint32_t>(calls.size() + 1);
        const std::uint32_t color =
            (k * 37 + 11) % 256 << 16 | (k * 91 + 7) % 256 << 8 | k * 53 % 256;
        calls.push_back({number, sceneTime, scene.target, scene.ambientR, color});
        if (drawScenes) {
            return render(scene, sceneTime);
        }
        for (int y = 0; y < scene.height; ++y) {
            std::uint32_t* row = scene.target + y * scene.width;
            std::fill(row, row + (number == 4 ? scene.width / 2 : 0), 0u);
            std::fill(row + (number == 4 ? scene.width / 2 : 0), row + scene.width, color);
        }
    }

    bool drawScenes = false;
    std::vector<Call> calls;

private:
    DemoData& data;
};

// The timeline on the tiny demo's data with a scripted clock and music, the recording
// renderer and a display that keeps a copy of the frame it last presented.
struct TimelineHarness {
    TimelineHarness()
        : data(loadTinyDemo()), display(32,
                                        [this](const FrameBuffer& frame) {
                                            presented = &frame;
                                            std::copy_n(frame.pixels, shown.size(), shown.begin());
                                        }),
          renderer(*data), timeline(*data, display, clock, music, renderer) {}

    PassResult step(double ticks = 1.0) {
        clock.next = ticks;
        return timeline.pass();
    }
    // From the start to the first pass of `part`: the lead-in ends in its first pass past
    // 300 ticks, every later part after one pass on its cue.
    void reachPart(int part) {
        for (const double ticks : {1.0, 300.0, 1.0}) {
            step(ticks);
        }
        for (int cue = 1; cue < part; ++cue) {
            step(1.0);
            music.sync = cue;
        }
        step(1.0);
    }
    int part() const { return timeline.status().partNumber; }
    const RecordingRenderer::Call& last() const { return renderer.calls.back(); }
    bool frameIs(std::uint32_t color) const {
        return std::all_of(shown.begin(), shown.end(), [=](std::uint32_t p) { return p == color; });
    }

    std::unique_ptr<DemoData> data;
    const FrameBuffer* presented = nullptr;
    std::vector<std::uint32_t> shown = std::vector<std::uint32_t>(320 * 240);
    HeadlessDisplay display;
    ScriptedClock clock;
    ScriptedMusic music;
    RecordingRenderer renderer;
    Timeline timeline;
};

// Per channel: f(a, b) clamped to 0 ... 255.
template <class F> std::uint32_t perChannel(std::uint32_t a, std::uint32_t b, F f) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int value = f(int(a >> shift & 0xFF), int(b >> shift & 0xFF));
        result |= std::uint32_t(std::clamp(value, 0, 255)) << shift;
    }
    return result;
}

} // namespace vardel::test
