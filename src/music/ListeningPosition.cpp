#include "music/ListeningPosition.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "music/ModuleMixer.h"

namespace vardel {

SoundClock steadySoundClock() {
    return [] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
}

void ListeningPosition::anchor(double seconds, double frame, std::int64_t newLimit) {
    anchorSeconds = seconds;
    anchorFrame = frame;
    limit = newLimit;
    running = true;
}

void ListeningPosition::place(std::int64_t frame) {
    limit = frame;
    running = false;
}

std::int64_t ListeningPosition::frameAt(double seconds) const {
    if (!running) {
        return limit;
    }
    const double frame =
        std::floor(anchorFrame + (seconds - anchorSeconds - delaySeconds) * mixRate);
    return std::min(static_cast<std::int64_t>(frame), limit);
}

} // namespace vardel
