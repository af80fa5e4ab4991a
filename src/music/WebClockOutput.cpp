// The silent output in a browser, where there are no threads: a page timer wakes it `pollRate`
// times a second to mix up to the clock and throw the sound away, as the desktop's output
// thread does.

#include <emscripten/eventloop.h>


#include "music/ClockMixing.h"

namespace vardel {

namespace {

class WebClockOutput final : public SilentOutput {
public:
    WebClockOutput(SharedMixer& shared, const SoundClock& clock, int pollRate)
        : SilentOutput(shared, clock, pollRate) {
        timer = emscripten_set_interval(&WebClockOutput::wake, 1000.0 * pollSeconds, this);
    }
    ~WebClockOutput() override { emscripten_clear_interval(timer); }
    WebClockOutput(const WebClockOutput&) = delete;
    WebClockOutput& operator=(const WebClockOutput&) = delete;

private:
    static void wake(void* user) { static_cast<WebClockOutput*>(user)->mixing.catchUp(); }

    long timer = 0;
};

} // namespace

std::unique_ptr<AudioOutput> startClockOutput(SharedMixer& shared, const SoundClock& clock,
                                              int pollRate) {
    return std::make_unique<WebClockOutput>(shared, clock, pollRate);
}

} // namespace vardel
