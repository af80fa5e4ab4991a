// The drum kit: kick, snare, hi-hats, crash and a noise riser, each one unpitched sample
// played at its own rate on C-4.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "music/Instruments.h"
#include "music/Synth.h"

namespace vardel::makedata::music {

namespace {

constexpr float twoPi = 2.0f * std::numbers::pi_v<float>;

int frames(float seconds) {
    return static_cast<int>(seconds * synthRate);
}

float time(int index) {
    return static_cast<float>(index) / synthRate;
}

formats::XmInstrument drum(const char* name, Instrument which, Sound sound, int panning) {
    endSmoothly(sound, frames(0.005f));
    return singleSample(name, makeSample(name, sound, middleC, mixLevel(which), 0, panning));
}

// Six detuned square waves and some noise: the metallic ring of cymbals, high-passed twice.
Sound metal(float seconds, float ring, float highPassHz, std::uint32_t seed) {
    static constexpr float partials[] = {263.0f, 401.0f, 527.5f, 593.0f, 807.0f, 1071.0f};
    Random random(seed);
    Sound sound(static_cast<std::size_t>(frames(seconds)));
    for (std::size_t n = 0; n < sound.size(); ++n) {
        float square = 0.0f;
        for (float hz : partials) {
            square +=
                std::sin(twoPi * hz * 1.41f * time(static_cast<int>(n))) >= 0.0f ? 1.0f : -1.0f;
        }
        sound[n] = square / 6.0f * 0.6f + random.noise() * 0.7f;
    }
    highPass(sound, highPassHz);
    highPass(sound, highPassHz);
    for (std::size_t n = 0; n < sound.size(); ++n) {
        sound[n] *= decay(static_cast<int>(n), ring);
    }
    return sound;
}

} // namespace

formats::XmInstrument makeKick() {
    Random random(0x6b1c);
    Sound sound(static_cast<std::size_t>(frames(0.45f)));
    float phase = 0.0f;
    for (std::size_t n = 0; n < sound.size(); ++n) {
        const int i = static_cast<int>(n);
        // The pitch falls fast from a click to a low thump.
        const float hz = 46.0f + 130.0f * decay(i, 0.03f) + 500.0f * decay(i, 0.003f);
        phase += twoPi * hz / synthRate;
        const float attack = std::min(1.0f, time(i) / 0.001f);
        const float body = std::sin(phase) * decay(i, 0.3f) * attack;
        const float click = random.noise() * decay(i, 0.0015f) * 0.4f;
        sound[n] = std::tanh(1.8f * (body + click));
    }
    return drum("kick", Instrument::Kick, sound, 128);
}

formats::XmInstrument makeSnare() {
    Random random(0x54a3);
    Sound noise(static_cast<std::size_t>(frames(0.32f)));
    for (float& value : noise) {
        value = random.noise();
    }
    highPass(noise, 1800.0f);
    Sound sound(noise.size());
    for (std::size_t n = 0; n < sound.size(); ++n) {
        const int i = static_cast<int>(n);
        const float t = time(i);
        const float tone = 0.6f * std::sin(twoPi * 185.0f * t) * decay(i, 0.045f) +
                           0.3f * std::sin(twoPi * 330.0f * t) * decay(i, 0.03f);
        sound[n] = std::tanh(1.3f * (tone + 0.9f * noise[n] * decay(i, 0.11f)));
    }
    return drum("snare", Instrument::Snare, sound, 118);
}

formats::XmInstrument makeClosedHat() {
    return drum("closed hat", Instrument::ClosedHat, metal(0.09f, 0.022f, 6500.0f, 0x4a7), 150);
}

formats::XmInstrument makeOpenHat() {
    return drum("open hat", Instrument::OpenHat, metal(0.55f, 0.16f, 6000.0f, 0x4a8), 150);
}

formats::XmInstrument makeCrash() {
    return drum("crash", Instrument::Crash, metal(2.4f, 0.7f, 3000.0f, 0xc4a5), 100);
}

formats::XmInstrument makeRiser() {
    // Noise through a band-pass that opens from 300 Hz to 5 kHz while it swells, one bar long.
    Random random(0x7153);
    const int length = frames(16 * 0.12f);
    Sound sound(static_cast<std::size_t>(length));
    StateVariableFilter filter(2.0f);
    for (int i = 0; i < length; ++i) {
        const float progress = static_cast<float>(i) / static_cast<float>(length);
        filter.run(random.noise(), 300.0f * std::pow(5000.0f / 300.0f, progress));
        sound[static_cast<std::size_t>(i)] = filter.band * std::pow(progress, 2.2f);
    }
    return drum("riser", Instrument::Riser, sound, 128);
}

} // namespace vardel::makedata::music
