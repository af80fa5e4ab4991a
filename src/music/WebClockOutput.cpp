// The silent output in a browser, where there are no threads: a page timer wakes it `pollRate`
// times a second to mix up to the clock and throw the sound away, as the desktop's output
// thread does.

#include <emscripten/eventloop.h>

#include <algorithm>
#include <vector>

#include "music/AudioOutput.h"

namespace vardel {

namespace {

constexpr std::int64_t blockFrames = 2048;
constexpr int defaultPollRate = 200;

class WebClockOutput final : public AudioOutput {
public:
    WebClockOutput(SharedMixer& shared, const SoundClock& clock, int pollRate)
        : shared(shared), clock(clock), scratch(2 * static_cast<std::size_t>(blockFrames)),
          startSeconds(clock()) {
        {
            std::lock_guard guard(shared.lock);
            startFrame = shared.mixer.framesMixed();
        }
        const int rate = pollRate > 0 ? pollRate : defaultPollRate;
        timer = emscripten_set_interval(&WebClockOutput::wake, 1000.0 / rate, this);
    }
    ~WebClockOutput() override { emscripten_clear_interval(timer); }
    WebClockOutput(const WebClockOutput&) = delete;
    WebClockOutput& operator=(const WebClockOutput&) = delete;

    double latencySeconds() const override { return 0.0; }
    double serverDelaySeconds() const override { return 0.0; }
    bool silent() const override { return true; }

private:
    static void wake(void* user) { static_cast<WebClockOutput*>(user)->catchUp(); }

    void catchUp() {
        const std::int64_t target =
            startFrame + static_cast<std::int64_t>((clock() - startSeconds) * mixRate);
        std::lock_guard guard(shared.lock);
        for (std::int64_t missing = target - shared.mixer.framesMixed(); missing > 0;
             missing = target - shared.mixer.framesMixed()) {
            const std::int64_t frames = std::min(missing, blockFrames);
            shared.mixer.mix(std::span(scratch).first(2 * static_cast<std::size_t>(frames)));
        }
        shared.heard.anchor(startSeconds, double(startFrame), shared.mixer.framesMixed() - 1);
    }

    SharedMixer& shared;
    SoundClock clock;
    std::vector<float> scratch;
    double startSeconds;
    std::int64_t startFrame = 0;
    long timer = 0;
};

} // namespace

std::unique_ptr<AudioOutput> startClockOutput(SharedMixer& shared, const SoundClock& clock,
                                              int pollRate) {
    return std::make_unique<WebClockOutput>(shared, clock, pollRate);
}

} // namespace vardel
