#pragma once

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "music/AudioOutput.h"
#include "music/SoundApi.h"

namespace vardel {

struct LoadedModule;

enum class SoundOutput {
    Device,  // the default audio device; with none, the silent output below
    Silent,  // no sound: mixing paced by the clock, so position and sync run in real time
    Offline, // no thread: the owner mixes with renderOffline, in steps of its choosing
};

// The sound library: modules loaded and mixed by libopenmpt at 44.1 kHz stereo, played in a
// thread of the output's own, with the sync value read from the modules' W cues.
class SoundLibrary final : public SoundApi {
public:
    explicit SoundLibrary(SoundOutput output = SoundOutput::Device,
                          SoundClock clock = steadySoundClock());
    ~SoundLibrary() override;
    SoundLibrary(const SoundLibrary&) = delete;
    SoundLibrary& operator=(const SoundLibrary&) = delete;

    // Chooses the output; it takes effect at the next MIDASstartBackgroundPlay.
    void setOutput(SoundOutput output) { chosen = output; }
    // Real-time outputs: how much later than mixed and buffered the listener hears the music,
    // which the reported position allows for; without it, the output's own estimate. Takes
    // effect at the next MIDASstartBackgroundPlay.
    void setAudioOffset(double seconds) { audioOffset = seconds; }
    // Offline output only (false otherwise): mixes the next out.size() / 2 frames of what
    // plays into `out`, silence when nothing does, and places the listener at their last
    // frame, so the status follows the rendered position exactly.
    bool renderOffline(std::span<float> out);
    bool renderOffline(std::span<std::int16_t> out);
    // Offline mixing whose samples nobody hears: see ModuleMixer::setTimingOnly.
    void mixForTimingOnly(bool on);
    // The output buffer latency the reported position allows for (0 for the silent outputs).
    double outputLatencySeconds() const;
    // A sound device is playing (false for the silent and offline outputs).
    bool audible() const;
    // How long the module's song lasts when played once, in seconds; 0 for no module.
    double songSeconds(MIDASmodule module) const;
    // Loads a module from memory, called fileName in messages, as MIDASloadModule loads a
    // file; 0, with "<file>: <problem>" in *reason and nothing on stderr, when it cannot.
    MIDASmodule loadModuleFromMemory(std::span<const std::uint8_t> bytes,
                                     const std::string& fileName, std::string* reason);

    bool MIDASstartup() override;
    bool MIDASinit() override;
    bool MIDASstartBackgroundPlay(int pollRate) override;
    MIDASmodule MIDASloadModule(const char* fileName) override;
    MIDASmodulePlayHandle MIDASplayModule(MIDASmodule module, int loopSong) override;
    bool MIDASgetPlayStatus(MIDASmodulePlayHandle playHandle, MIDASplayStatus* status) override;
    bool MIDASstopModule(MIDASmodulePlayHandle playHandle) override;
    bool MIDASfreeModule(MIDASmodule module) override;
    bool MIDASstopBackgroundPlay() override;
    bool MIDASclose() override;
    bool jumpToCue(MIDASmodulePlayHandle playHandle, int nibble) override;

private:
    LoadedModule* find(MIDASmodule module) const;
    MIDASmodule keep(std::unique_ptr<LoadedModule> module); // 0 for none

    SoundOutput chosen;
    std::optional<double> audioOffset;
    SoundClock clock;
    SharedMixer shared;
    std::unique_ptr<AudioOutput> output;
    std::vector<std::unique_ptr<LoadedModule>> modules; // handle = index + 1
    MIDASmodulePlayHandle currentPlay = 0;
    MIDASmodulePlayHandle lastPlay = 0;
    bool audioSystemUp = false;
    std::string noDeviceReason;
    std::vector<float> conversionBuffer; // for 16-bit offline rendering
};

} // namespace vardel
