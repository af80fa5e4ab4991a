#pragma once

#include <cstdint>
#include <functional>

namespace vardel {

// Seconds on a steady clock. The sound library reads it from its output threads too.
using SoundClock = std::function<double()>;
SoundClock steadySoundClock();

// Which output frame the listener hears at a given time: frame `frame` at `seconds`, running on
// at the mix rate but never past `limit` (the output cannot be ahead of what was mixed), and
// reaching the listener `delay` seconds later still (a sound server behind the output).
class ListeningPosition {
public:
    void anchor(double seconds, double frame, std::int64_t limit);
    // Real-time only: `place` puts the listener at its frame without delay.
    void delay(double seconds) { delaySeconds = seconds; }
    // The listener is exactly at `frame`, whatever the time (offline rendering).
    void place(std::int64_t frame);
    std::int64_t frameAt(double seconds) const;

private:
    double anchorSeconds = 0.0;
    double delaySeconds = 0.0;
    double anchorFrame = -1.0;
    std::int64_t limit = -1;
    bool running = false;
};

} // namespace vardel
