#include <condition_variable>
#include <thread>

#include "music/ClockMixing.h"

namespace vardel {

namespace {

class ClockOutput final : public SilentOutput {
public:
    ClockOutput(SharedMixer& shared, const SoundClock& clock, int pollRate)
        : SilentOutput(shared, clock, pollRate) {
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

private:
    void run() {
        std::unique_lock waiting(waitLock);
        while (!stopping) {
            waiting.unlock();
            mixing.catchUp();
            waiting.lock();
            wake.wait_for(waiting, std::chrono::duration<double>(pollSeconds),
                          [this] { return stopping; });
        }
    }

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
