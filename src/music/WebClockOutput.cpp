// The silent output in a browser, where there are no threads: a page timer wakes it `pollRate`
// times a second to mix up to the clock and throw the sound away, as the desktop's output
// thread does.

#include <emscripten/eventloop.h>


#include "music/ClockMixing.h"

namespace vardel {

namespace {

constexpr int defaultPollRate = 200;

class WebClockOutput final : public AudioOutput {
public:
    WebClockOutput(SharedMixer& shared, const SoundClock& clock, int pollRate)
        : mixing(shared, clock) {
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
    static void wake(void* user) { static_cast<WebClockOutput*>(user)->mixing.catchUp(); }

    ClockMixing mixing;
    long timer = 0;
};

} // namespace

std::unique_ptr<AudioOutput> startClockOutput(SharedMixer& shared, const SoundClock& clock,
                                              int pollRate) {
    return std::make_unique<WebClockOutput>(shared, clock, pollRate);
}

} // namespace vardel
