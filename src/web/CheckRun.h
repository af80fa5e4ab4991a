#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "capture/OfflineRun.h"
#include "music/MusicPlayer.h"
#include "music/SoundLibrary.h"

namespace vardel {

struct DemoData;

// The page's check mode: frames 0 ... N-1 rendered exactly as `vardel --headless --hash`
// renders them (the same offline run: a fixed tick per frame, the music mixed in step, no
// sound out), in batches with the page's own tasks in between, so that it shows its progress; at the end the
// hash lines and the speed go to the page.
class CheckRun {
public:
    CheckRun(DemoData& data, std::int64_t frames);
    CheckRun(const CheckRun&) = delete;
    CheckRun& operator=(const CheckRun&) = delete;

    // Loads the music and starts the batches. False, with the reason, when the music does not load.
    bool start(std::string& reason);

private:
    static void nextBatch(void* self);
    bool runBatch(); // false when the run is over

    DemoData& data;
    std::int64_t frameCount;
    SoundLibrary library{SoundOutput::Offline};
    MusicPlayer player{library};
    std::optional<OfflineRun> run;
    std::string lines; // reserved for every line at the start
    double renderMs = 0.0;
    char statusText[96] = {};
};

} // namespace vardel
