#include <algorithm>
#include <condition_variable>
#include <thread>
#include <vector>

#include "music/AudioOutput.h"

namespace vardel {

namespace {

// The thread mixes up to the clock at every wake-up, at most this many frames per lock.
constexpr std::int64_t blockFrames = 2048;
constexpr int defaultPollRate = 200;

class ClockOutput final : public AudioOutput {
public:
    ClockOutput(SharedMixer& shared, const SoundClock& clock, int pollRate)
        : shared(shared), clock(clock), period(1.0 / (pollRate > 0 ? pollRate : defaultPollRate)),
          scratch(2 * static_cast<std::size_t>(blockFrames)), startSeconds(clock()) {
        {
            std::lock_guard guard(shared.lock);
            startFrame = shared.mixer.framesMixed();
        }
        thread = std::thread([this] { run(); });
    }
    ~ClockOutput() override {
        {
            std::lock_guard guard(waitLock);
            stopping = true;
        }
        wake.notify_all();
        thread.join();
    }
    ClockOutput(const ClockOutput&) = delete;
    ClockOutput& operator=(const ClockOutput&) = delete;

    double latencySeconds() const override { return 0.0; }
    double serverDelaySeconds() const override { return 0.0; }
    bool silent() const override { return true; }

private:
    void run() {
        std::unique_lock waiting(waitLock);
        while (!stopping) {
            waiting.unlock();
            const double now = clock();
            const std::int64_t target =
                startFrame + static_cast<std::int64_t>((now - startSeconds) * mixRate);
            // One block per lock, so that a long catch-up does not hold off status calls.
            for (bool behind = true; behind;) {
                std::lock_guard guard(shared.lock);
                const std::int64_t missing = target - shared.mixer.framesMixed();
                behind = missing > 0;
                if (behind) {
                    const std::int64_t frames = std::min(missing, blockFrames);
                    shared.mixer.mix(
                        std::span(scratch).first(2 * static_cast<std::size_t>(frames)));
                }
                shared.heard.anchor(startSeconds, double(startFrame),
                                    shared.mixer.framesMixed() - 1);
            }
            waiting.lock();
            wake.wait_for(waiting, std::chrono::duration<double>(period),
                          [this] { return stopping; });
        }
    }

    SharedMixer& shared;
    SoundClock clock;
    double period;
    std::vector<float> scratch;
    double startSeconds;
    std::int64_t startFrame = 0;
    std::mutex waitLock;
    std::condition_variable wake;
    bool stopping = false;
    std::thread thread;
};

} // namespace

std::unique_ptr<AudioOutput> startClockOutput(SharedMixer& shared, const SoundClock& clock,
                                              int pollRate) {
    return std::make_unique<ClockOutput>(shared, clock, pollRate);
}

} // namespace vardel
