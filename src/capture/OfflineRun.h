#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "capture/HeadlessDisplay.h"
#include "demo/BandedRenderer.h"
#include "demo/DemoClock.h"
#include "demo/DemoMusic.h"
#include "demo/Timeline.h"

namespace vardel {

// The demo played without a window or a sound device, in fixed steps of demo time with the
// music mixed in step: headless runs, benchmark runs and captures. Without a user to press
// Escape, a run that cannot reach its end is stopped with the reason.
class OfflineRun {
public:
    // Receives every presented frame with its number (from 0) and the part that drew it.
    using FrameSink = std::function<void(const FrameBuffer& frame, std::int64_t number, int part)>;

    struct Settings {
        int colorDepth = 32;
        double ticksPerFrame = 1.0;
        std::int64_t frameLimit = 0; // stop after this many frames; 0: at the demo's end
        int startPart = 0;           // 1 ... 6: begin there; 0: from the lead-in
        std::string songFile;        // named in the reasons
        SceneRenderer* renderer = nullptr; // draws the scenes; null: the software renderer
        int threads = 1; // the software renderer's threads: 1, or 2 to fill bands side by side
    };

    OfflineRun(DemoData& data, MusicPlayer& player, SoundLibrary& library, Settings settings,
               FrameSink frames = {}, OfflineMusic::AudioSink audio = {});

    // Runs one pass of the frame loop. False when the run is over: it ended (result()) or it
    // cannot go on (failure() says why).
    bool step();

    PassResult result() const { return lastResult; }
    const std::string& failure() const { return problem; }
    const Timeline& timeline() const { return demo; }
    std::int64_t frames() const { return display.presentedFrames(); }
    double demoSeconds() const { return demo.status().demoTime / ticksPerSecond; }

private:
    static SceneRenderer& chooseRenderer(const Settings& settings,
                                         std::unique_ptr<BandedRenderer>& banded);

    Settings settings;
    FrameSink frameSink;
    std::unique_ptr<BandedRenderer> banded; // the two-thread renderer, when asked for
    HeadlessDisplay display;
    FixedStepClock clock;
    OfflineMusic music;
    Timeline demo;
    PassResult lastResult = PassResult::Continue;
    std::string problem;
};

} // namespace vardel
