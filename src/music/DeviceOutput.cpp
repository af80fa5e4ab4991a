#include <SDL.h>

#include <cstring>
#include <span>

#include "music/AudioOutput.h"

namespace vardel {

namespace {

// 1024 frames (23.2 ms) per device buffer: short enough that play and stop are heard at once,
// long enough not to break up while the renderer keeps both cores busy.
constexpr int deviceBufferFrames = 1024;

// SDL 2 reports no latency of its own, only the buffer it obtained and the driver. Its sound
// server drivers ask the server for a latency of one such buffer (PulseAudio's target length,
// PipeWire's node latency), heard after the buffer the callback fills; its other drivers write
// to the device, whose latency is that buffer alone.
double serverDelay(const char* driver, const SDL_AudioSpec& obtained) {
    const bool server = driver != nullptr && (std::strcmp(driver, "pulseaudio") == 0 ||
                                              std::strcmp(driver, "pipewire") == 0);
    return server && obtained.freq > 0 ? double(obtained.samples) / obtained.freq : 0.0;
}

class DeviceOutput final : public AudioOutput {
public:
    DeviceOutput(SharedMixer& shared, const SoundClock& clock) : shared(shared), clock(clock) {}
    ~DeviceOutput() override {
        if (device != 0) {
            SDL_CloseAudioDevice(device); // waits for a running callback to finish
        }
    }
    DeviceOutput(const DeviceOutput&) = delete;
    DeviceOutput& operator=(const DeviceOutput&) = delete;

    bool open(std::string* reason) {
        SDL_AudioSpec want{};
        want.freq = mixRate;
        want.format = AUDIO_F32SYS;
        want.channels = 2;
        want.samples = deviceBufferFrames;
        want.callback = &DeviceOutput::callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the device really takes.
        device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device == 0) {
            *reason = std::string("no audio device (SDL: ") + SDL_GetError() + ")";
            return false;
        }
        const char* driver = SDL_GetCurrentAudioDriver();
        if (driver != nullptr && std::strcmp(driver, "dummy") == 0) {
            *reason = "SDL's dummy audio driver";
            return false;
        }
        bufferFrames = have.samples;
        serverSeconds = serverDelay(driver, have);
        SDL_PauseAudioDevice(device, 0);
        return true;
    }

    // The device holds about one buffer ahead of the one being mixed.
    double latencySeconds() const override { return double(bufferFrames) / mixRate; }
    double serverDelaySeconds() const override { return serverSeconds; }
    bool silent() const override { return false; }

private:
    static void SDLCALL callback(void* user, Uint8* stream, int length) {
        auto& self = *static_cast<DeviceOutput*>(user);
        const double now = self.clock();
        std::span<float> out(reinterpret_cast<float*>(stream),
                             static_cast<std::size_t>(length) / sizeof(float));
        std::lock_guard guard(self.shared.lock);
        const std::int64_t first = self.shared.mixer.framesMixed();
        self.shared.mixer.mix(out);
        // While this buffer waits its turn, the listener hears the previous one, which began
        // `bufferFrames` before it.
        self.shared.heard.anchor(now, double(first - self.bufferFrames), first);
    }

    SharedMixer& shared;
    SoundClock clock;
    SDL_AudioDeviceID device = 0;
    int bufferFrames = deviceBufferFrames;
    double serverSeconds = 0.0;
};

} // namespace

bool startAudioSystem(std::string* reason) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        return true;
    }
    *reason = std::string("no audio output (SDL: ") + SDL_GetError() + ")";
    return false;
}

void stopAudioSystem() {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::unique_ptr<AudioOutput> openDeviceOutput(SharedMixer& shared, const SoundClock& clock,
                                              std::string* reason) {
    auto output = std::make_unique<DeviceOutput>(shared, clock);
    if (!output->open(reason)) {
        return nullptr;
    }
    return output;
}

} // namespace vardel
