#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "music/ListeningPosition.h"
#include "music/ModuleMixer.h"

namespace vardel {

// The mixer as the output thread and the library's calls share it.
struct SharedMixer {
    std::mutex lock;
    ModuleMixer mixer;
    ListeningPosition heard;
};

// A running output that pulls frames from the shared mixer in a thread of its own. Destroying
// it stops the thread.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Time between mixing a frame and hearing it, which the listening position allows for.
    virtual double latencySeconds() const = 0;
    // The best estimate of the time a sound server behind the output adds to that: the audio
    // offset unless one is given.
    virtual double serverDelaySeconds() const = 0;
    virtual bool silent() const = 0;
};

// The platform's audio system (SDL's audio subsystem; the page's audio context in a browser),
// brought up before a device output opens and shut down after the last one closes. False, with
// the reason, when there is none: the library then plays on the silent output.
bool startAudioSystem(std::string* reason);
void stopAudioSystem();

// Plays on SDL's default audio device (the SDL audio subsystem must be up) in SDL's audio
// thread. Null, with the reason, when no device opens, and also for SDL's dummy driver, whose
// callbacks run at whole milliseconds: the clock output keeps better time.
std::unique_ptr<AudioOutput> openDeviceOutput(SharedMixer& shared, const SoundClock& clock,
                                              std::string* reason);

// Mixes in a thread of its own, in step with the clock, and throws the sound away: playback
// and sync advance in real time with no sound card. Wakes `pollRate` times a second (0: 200), so
// the position heard lags the clock by at most one wake-up.
std::unique_ptr<AudioOutput> startClockOutput(SharedMixer& shared, const SoundClock& clock,
                                              int pollRate);

} // namespace vardel
