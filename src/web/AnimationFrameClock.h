#pragma once

#include "demo/DemoClock.h"

namespace vardel {

// Demo time from the browser's animation frames: the page hands each frame's timestamp (in
// milliseconds, on the clock of performance.now()) before the frame's pass.
class AnimationFrameClock final : public DemoClock {
public:
    explicit AnimationFrameClock(double nowMs) : now(nowMs), last(nowMs) {}

    void setFrameTime(double ms) { now = ms; }
    void start() override { last = now; }
    double advance() override {
        // A timestamp never runs backwards on purpose; a frame that seems to is no time at all.
        const double ticks = now > last ? (now - last) * ticksPerSecond / 1000.0 : 0.0;
        last = now > last ? now : last;
        return ticks;
    }

private:
    double now;
    double last;
};

} // namespace vardel
