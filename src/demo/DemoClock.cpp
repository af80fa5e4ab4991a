#include "demo/DemoClock.h"

#include <chrono>
#include <utility>

namespace vardel {

MillisecondClock::MillisecondClock(Reader read)
    : read(read ? std::move(read) : Reader(&steadyMilliseconds)) {}

void MillisecondClock::start() {
    lastClock = read();
}

double MillisecondClock::advance() {
    const std::uint32_t now = read();
    // The difference of two wrapping readings, taken as signed 32-bit, stays right across the
    // wrap (every 49.7 days); one millisecond is 0.06 ticks.
    const auto elapsed = static_cast<std::int32_t>(now - lastClock);
    lastClock = now;
    return elapsed * 0.06;
}

std::uint32_t steadyMilliseconds() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

} // namespace vardel
