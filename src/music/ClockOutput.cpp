#include <condition_variable>
#include <thread>

#include "music/ClockMixing.h"

namespace vardel {

namespace {

constexpr int defaultPollRate = 200;

class ClockOutput final : public AudioOutput {
public:
    ClockOutput(SharedMixer& shared, const SoundClock& clock, int pollRate)
        : mixing(shared, clock), period(1.0 / (pollRate > 0 ? pollRate : defaultPollRate)) {
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
            mixing.catchUp();
            waiting.lock();
            wake.wait_for(waiting, std::chrono::duration<double>(period),
                          [this] { return stopping; });
        }
    }

    ClockMixing mixing;
    double period;
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
