#include "music/SoundLibrary.h"

#include <libopenmpt/libopenmpt.hpp>

#include <cstdio>

#include "music/LoadedModule.h"
#include "music/PcmConversion.h"

namespace vardel {

namespace {

constexpr std::size_t conversionFrames = 4096;

void report(const std::string& text) {
    std::fprintf(stderr, "vardel: %s\n", text.c_str());
}

} // namespace

SoundLibrary::SoundLibrary(SoundOutput output, SoundClock clock)
    : chosen(output), clock(std::move(clock)) {}

SoundLibrary::~SoundLibrary() {
    MIDASclose();
}

LoadedModule* SoundLibrary::find(MIDASmodule module) const {
    if (module == 0 || module > modules.size()) {
        return nullptr;
    }
    return modules[module - 1].get();
}

bool SoundLibrary::MIDASstartup() {
    return true;
}

bool SoundLibrary::MIDASinit() {
    if (chosen != SoundOutput::Device || audioSystemUp) {
        return true;
    }
    audioSystemUp = startAudioSystem(&noDeviceReason);
    // Without a device the library still works, on the silent output.
    return true;
}

bool SoundLibrary::MIDASstartBackgroundPlay(int pollRate) {
    if (output != nullptr || chosen == SoundOutput::Offline) {
        return true;
    }
    if (chosen == SoundOutput::Device && audioSystemUp) {
        std::string reason;
        output = openDeviceOutput(shared, clock, &reason);
        // The dummy driver was asked for: no need to say that there is no sound.
        if (output == nullptr && reason.find("dummy") == std::string::npos) {
            noDeviceReason = reason;
        }
    }
    if (output == nullptr) {
        if (chosen == SoundOutput::Device && !noDeviceReason.empty()) {
            report(noDeviceReason + "; the music plays on a silent output");
            noDeviceReason.clear();
        }
        output = startClockOutput(shared, clock, pollRate);
    }
    std::lock_guard guard(shared.lock);
    shared.heard.delay(audioOffset.value_or(output->serverDelaySeconds()));
    return true;
}

MIDASmodule SoundLibrary::MIDASloadModule(const char* fileName) {
    if (fileName == nullptr) {
        report("no module file name");
        return 0;
    }
    std::string reason;
    const MIDASmodule module = keep(loadModuleFile(fileName, &reason));
    if (module == 0) {
        report(reason);
    }
    return module;
}

MIDASmodule SoundLibrary::loadModuleFromMemory(std::span<const std::uint8_t> bytes,
                                               const std::string& fileName, std::string* reason) {
    return keep(loadModuleBytes(bytes, fileName, reason));
}

MIDASmodule SoundLibrary::keep(std::unique_ptr<LoadedModule> module) {
    if (module == nullptr) {
        return 0;
    }
    modules.push_back(std::move(module));
    return static_cast<MIDASmodule>(modules.size());
}

MIDASmodulePlayHandle SoundLibrary::MIDASplayModule(MIDASmodule module, int loopSong) {
    LoadedModule* loaded = find(module);
    if (loaded == nullptr) {
        report("cannot play module " + std::to_string(module) + ": no such module");
        return 0;
    }
    std::lock_guard guard(shared.lock);
    if (shared.mixer.playing() != nullptr) {
        report("cannot play " + loaded->fileName + ": another module is playing");
        return 0;
    }
    shared.mixer.start(*loaded, loopSong != 0);
    currentPlay = ++lastPlay;
    return currentPlay;
}

bool SoundLibrary::MIDASgetPlayStatus(MIDASmodulePlayHandle playHandle, MIDASplayStatus* status) {
    if (playHandle == 0 || playHandle != currentPlay || status == nullptr) {
        return false;
    }
    const double now = clock();
    std::lock_guard guard(shared.lock);
    const RowEvent heard = shared.mixer.rowAt(shared.heard.frameAt(now));
    status->position = static_cast<std::uint32_t>(heard.order);
    status->pattern = static_cast<std::uint32_t>(heard.pattern);
    status->row = static_cast<std::uint32_t>(heard.row);
    status->syncInfo = heard.sync;
    status->songLoopCount = heard.loops;
    return true;
}

bool SoundLibrary::MIDASstopModule(MIDASmodulePlayHandle playHandle) {
    if (playHandle == 0 || playHandle != currentPlay) {
        return false;
    }
    std::lock_guard guard(shared.lock);
    shared.mixer.stop();
    currentPlay = 0;
    return true;
}

bool SoundLibrary::jumpToCue(MIDASmodulePlayHandle playHandle, int nibble) {
    if (playHandle == 0 || playHandle != currentPlay) {
        return false;
    }
    std::lock_guard guard(shared.lock);
    return shared.mixer.jumpToCue(nibble);
}

bool SoundLibrary::MIDASfreeModule(MIDASmodule module) {
    LoadedModule* loaded = find(module);
    if (loaded == nullptr) {
        return false;
    }
    {
        std::lock_guard guard(shared.lock);
        if (shared.mixer.playing() == loaded) {
            shared.mixer.stop();
            currentPlay = 0;
        }
    }
    modules[module - 1].reset();
    return true;
}

bool SoundLibrary::MIDASstopBackgroundPlay() {
    // Not under the lock: stopping waits for the output thread, which takes it.
    output.reset();
    return true;
}

bool SoundLibrary::MIDASclose() {
    MIDASstopBackgroundPlay();
    {
        std::lock_guard guard(shared.lock);
        shared.mixer.stop();
        currentPlay = 0;
    }
    modules.clear();
    if (audioSystemUp) {
        stopAudioSystem();
        audioSystemUp = false;
    }
    return true;
}

bool SoundLibrary::renderOffline(std::span<float> out) {
    if (chosen != SoundOutput::Offline) {
        return false;
    }
    std::lock_guard guard(shared.lock);
    shared.mixer.mix(out);
    shared.heard.place(shared.mixer.framesMixed() - 1);
    return true;
}

void SoundLibrary::mixForTimingOnly(bool on) {
    std::lock_guard guard(shared.lock);
    shared.mixer.setTimingOnly(on);
}

bool SoundLibrary::renderOffline(std::span<std::int16_t> out) {
    if (chosen != SoundOutput::Offline) {
        return false;
    }
    conversionBuffer.resize(2 * conversionFrames); // once: later calls keep the size
    for (std::size_t done = 0; done < out.size();) {
        const std::size_t count = std::min(out.size() - done, conversionBuffer.size());
        const std::span<float> block = std::span(conversionBuffer).first(count);
        renderOffline(block);
        floatToPcm16(block, out.subspan(done, count));
        done += count;
    }
    return true;
}

double SoundLibrary::outputLatencySeconds() const {
    return output != nullptr ? output->latencySeconds() : 0.0;
}

double SoundLibrary::songSeconds(MIDASmodule module) const {
    const LoadedModule* loaded = find(module);
    return loaded != nullptr ? loaded->player->get_duration_seconds() : 0.0;
}

bool SoundLibrary::audible() const {
    return output != nullptr && !output->silent();
}

} // namespace vardel
