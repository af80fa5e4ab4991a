// The device output in a browser: the page's Web Audio graph (an AudioWorklet fed with mixed
// blocks, or a ScriptProcessor on the page's thread where worklets are missing) pulls blocks
// from the shared mixer through the two exported calls below, and reports where in the output
// each one is heard, on the audio context's clock.

#include <emscripten.h>

#include <string>
#include <vector>

#include "music/AudioOutput.h"
#include "music/WebAudio.h"

namespace vardel {

namespace {

// Frames per block handed to the page: 1024 frames (23.2 ms), as on the desktop.
constexpr int blockFrames = 1024;

// clang-format off
EM_JS(int, pageHasAudio, (), {
    return (typeof Module.vardelAudio === 'object' && Module.vardelAudio !== null) ? 1 : 0;
});
EM_JS(double, audioContextTime, (), {
    const audio = Module.vardelAudio;
    return audio ? audio.context.currentTime : performance.now() / 1000;
});
EM_JS(double, audioContextRate, (), {
    return Module.vardelAudio ? Module.vardelAudio.context.sampleRate : 0;
});
// The page connects the output to its audio graph (page/audio.js); 0 when it cannot.
EM_JS(int, attachToPage, (void* output, int frames), {
    return Module.vardelAudio ? Module.vardelAudio.attach(output, frames) : 0;
});
EM_JS(void, detachFromPage, (void* output), {
    if (Module.vardelAudio) Module.vardelAudio.detach(output);
});
// clang-format on

class WebAudioOutput final : public AudioOutput {
public:
    explicit WebAudioOutput(SharedMixer& shared)
        : shared(shared), scratch(2 * static_cast<std::size_t>(blockFrames)) {
        std::lock_guard guard(shared.lock);
        startFrame = shared.mixer.framesMixed();
    }
    ~WebAudioOutput() override {
        if (attached) {
            detachFromPage(this);
        }
    }
    WebAudioOutput(const WebAudioOutput&) = delete;
    WebAudioOutput& operator=(const WebAudioOutput&) = delete;

    bool open(std::string* reason) {
        if (audioContextRate() != mixRate) {
            *reason = "the page's audio context does not run at 44100 Hz";
            return false;
        }
        attached = attachToPage(this, blockFrames) != 0;
        if (!attached) {
            *reason = "the page could not connect its audio output";
        }
        return attached;
    }

    // The page reports positions already on the listener's time (see heard()).
    double latencySeconds() const override { return double(blockFrames) / mixRate; }
    double serverDelaySeconds() const override { return 0.0; }
    bool silent() const override { return false; }

    // The next block, mixed into the output's own memory.
    float* mix(int frames) {
        const auto count = static_cast<std::size_t>(frames < blockFrames ? frames : blockFrames);
        std::lock_guard guard(shared.lock);
        shared.mixer.mix(std::span(scratch).first(2 * count));
        return scratch.data();
    }

    // Output frame `frame` (counted from the first block the page took) leaves the audio graph
    // at context time `seconds` and reaches the listener `latency` seconds later, the context's
    // output latency.
    void heard(double frame, double seconds, double latency) {
        std::lock_guard guard(shared.lock);
        shared.heard.anchor(seconds + latency, double(startFrame) + frame,
                            shared.mixer.framesMixed() - 1);
    }

private:
    SharedMixer& shared;
    std::vector<float> scratch;
    std::int64_t startFrame = 0;
    bool attached = false;
};

} // namespace

bool startAudioSystem(std::string* reason) {
    if (pageHasAudio() != 0) {
        return true;
    }
    *reason = "no audio output (the page has no audio context)";
    return false;
}

void stopAudioSystem() {}

std::unique_ptr<AudioOutput> openDeviceOutput(SharedMixer& shared, const SoundClock&,
                                              std::string* reason) {
    auto output = std::make_unique<WebAudioOutput>(shared);
    if (!output->open(reason)) {
        return nullptr;
    }
    return output;
}

SoundClock webAudioClock() {
    return [] { return audioContextTime(); };
}

} // namespace vardel

// The calls the page's audio graph makes, with the output it was attached with.
extern "C" {

EMSCRIPTEN_KEEPALIVE float* vardel_audio_mix(void* output, int frames) {
    return static_cast<vardel::WebAudioOutput*>(output)->mix(frames);
}

EMSCRIPTEN_KEEPALIVE void vardel_audio_heard(void* output, double frame, double seconds,
                                             double latency) {
    static_cast<vardel::WebAudioOutput*>(output)->heard(frame, seconds, latency);
}

} // extern "C"
