#pragma once

// The silent outputs' one job, shared by the desktop's thread and the browser's timer: mix the
// shared mixer up to where the clock says playback is, throwing the sound away, and anchor the
// position heard there.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "music/AudioOutput.h"

namespace vardel {

class ClockMixing {
public:
    ClockMixing(SharedMixer& shared, const SoundClock& clock)
        : shared(shared), clock(clock), scratch(2 * static_cast<std::size_t>(blockFrames)),
          startSeconds(clock()) {
        std::lock_guard guard(shared.lock);
        startFrame = shared.mixer.framesMixed();
    }

    // Mixes up to the clock's present, one block per lock so that a long catch-up does not
    // hold off status calls.
    void catchUp() {
        const std::int64_t target =
            startFrame + static_cast<std::int64_t>((clock() - startSeconds) * mixRate);
        for (bool behind = true; behind;) {
            std::lock_guard guard(shared.lock);
            const std::int64_t missing = target - shared.mixer.framesMixed();
            behind = missing > 0;
            if (behind) {
                const std::int64_t frames = std::min(missing, blockFrames);
                shared.mixer.mix(std::span(scratch).first(2 * static_cast<std::size_t>(frames)));
            }
            shared.heard.anchor(startSeconds, double(startFrame), shared.mixer.framesMixed() - 1);
        }
    }

private:
    static constexpr std::int64_t blockFrames = 2048; // at most this many frames per lock

    SharedMixer& shared;
    SoundClock clock;
    std::vector<float> scratch;
    double startSeconds;
    std::int64_t startFrame = 0;
};

// The base of the silent outputs: nothing is played, so nothing is heard late, and the clock
// sets how far the mixer runs. `pollRate` wake-ups a second (200 when not positive).
class SilentOutput : public AudioOutput {
public:
    double latencySeconds() const override { return 0.0; }
    double serverDelaySeconds() const override { return 0.0; }
    bool silent() const override { return true; }

protected:
    SilentOutput(SharedMixer& shared, const SoundClock& clock, int pollRate)
        : mixing(shared, clock), pollSeconds(1.0 / (pollRate > 0 ? pollRate : 200)) {}

    ClockMixing mixing;
    const double pollSeconds; // between two wake-ups
};

} // namespace vardel
