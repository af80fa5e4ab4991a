// The pitched instruments: a plucked bass, a slow detuned pad, a plucked arpeggio voice, the
// lead and an FM bell. Each sample is tuned so that its notes play at their true pitch.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "music/Instruments.h"
#include "music/Synth.h"

namespace vardel::makedata::music {

namespace {

constexpr float twoPi = 2.0f * std::numbers::pi_v<float>;
constexpr int tableSize = 2048;

// A bright attack that turns into a darker periodic wave: a low-pass "filter envelope" baked
// into the sample. Both waves have one period of `period` frames and the same phases; the
// cross-fade ends at `morphFrames` with a smooth step, after which the sound is exactly the
// dark wave, so a loop over its last period is seamless.
Sound morphingTone(const Spectrum& bright, const Spectrum& dark, int period, int morphFrames,
                   std::uint32_t seed) {
    Random brightPhases(seed), darkPhases(seed);
    const Sound from = periodicWave(bright, period, brightPhases);
    const Sound to = periodicWave(dark, period, darkPhases);
    Sound sound(static_cast<std::size_t>(morphFrames + period));
    for (std::size_t n = 0; n < sound.size(); ++n) {
        const float x = std::min(1.0f, static_cast<float>(n) / static_cast<float>(morphFrames));
        const float weight = x * x * (3.0f - 2.0f * x);
        const std::size_t at = n % static_cast<std::size_t>(period);
        sound[n] = from[at] + (to[at] - from[at]) * weight;
    }
    return sound;
}

} // namespace

formats::XmInstrument makeBass() {
    // One period of 800 frames: 55.125 Hz, the A of the bass's lowest octave.
    constexpr int period = 800;
    Sound sound = morphingTone(sawSpectrum(60, 18.0f), sawSpectrum(60, 3.5f), period,
                               static_cast<int>(0.3f * synthRate), 0xba55);
    // A little drive; it keeps the wave periodic, so the loop stays seamless.
    const float peak = peakOf(sound);
    for (float& value : sound) {
        value = std::tanh(1.5f * value / peak);
    }
    formats::XmInstrument bass =
        singleSample("bass", makeSample("bass", sound, double(synthRate) / period,
                                        mixLevel(Instrument::Bass), period, 128));
    bass.volumeEnvelope = envelope({{0, 64}, {8, 50}, {14, 0}}, 1);
    return bass;
}

formats::XmInstrument makePad() {
    // Five saws a few cents apart around 131 Hz (262 cycles in the two-second loop), so
    // the chorus beats slowly and the whole sample loops.
    constexpr int loop = 2 * synthRate;
    Random random(0x9ad);
    const Sound cycle = periodicWave(sawSpectrum(48, 7.0f), tableSize, random);
    const Sound sound = detunedEnsemble(cycle, {260, 261, 262, 263, 264}, loop, random);
    formats::XmInstrument pad = singleSample(
        "pad", makeSample("pad", sound, 262.0 / 2.0, mixLevel(Instrument::Pad), loop, 128));
    pad.volumeEnvelope = envelope({{0, 0}, {14, 64}, {50, 50}, {150, 0}}, 2);
    return pad;
}

formats::XmInstrument makePluck() {
    // A hollow, square-like tone whose brightness and level fall away quickly.
    constexpr int period = 84; // 525 Hz
    Random brightPhases(0x9107), darkPhases(0x9107);
    const Sound bright = periodicWave(squareSpectrum(17, 9.0f), period, brightPhases);
    const Sound dark = periodicWave(squareSpectrum(17, 2.0f), period, darkPhases);
    Sound sound(static_cast<std::size_t>(0.5f * synthRate));
    for (std::size_t n = 0; n < sound.size(); ++n) {
        const int i = static_cast<int>(n);
        const std::size_t at = n % period;
        const float tone = dark[at] + (bright[at] - dark[at]) * decay(i, 0.05f);
        sound[n] = tone * decay(i, 0.14f) * std::min(1.0f, static_cast<float>(i) / 40.0f);
    }
    endSmoothly(sound, 200);
    return singleSample("pluck", makeSample("pluck", sound, double(synthRate) / period,
                                            mixLevel(Instrument::Pluck), 0, 128));
}

formats::XmInstrument makeLead() {
    // A saw and a square a few cents apart around 525 Hz, looping over one second.
    constexpr int loop = synthRate;
    Random random(0x1ead);
    const Sound saw = periodicWave(sawSpectrum(20, 12.0f), tableSize, random);
    const Sound square = periodicWave(squareSpectrum(20, 10.0f), tableSize, random);
    Sound sound = detunedEnsemble(saw, {524}, loop, random);
    const Sound second = detunedEnsemble(square, {526}, loop, random);
    for (std::size_t n = 0; n < sound.size(); ++n) {
        sound[n] += 0.7f * second[n];
    }
    formats::XmInstrument lead = singleSample(
        "lead", makeSample("lead", sound, 525.0, mixLevel(Instrument::Lead), loop, 128));
    lead.volumeEnvelope = envelope({{0, 0}, {2, 64}, {14, 46}, {40, 0}}, 2);
    // A vibrato that fades in over the first fraction of a second of each note.
    lead.vibratoType = 0;
    lead.vibratoSweep = 40;
    lead.vibratoDepth = 3;
    lead.vibratoRate = 10;
    return lead;
}

formats::XmInstrument makeBell() {
    // Two-operator FM at the inharmonic ratio 3.5: a bell whose overtones die before its tone.
    constexpr float hz = 525.0f;
    Sound sound(static_cast<std::size_t>(3.2f * synthRate));
    for (std::size_t n = 0; n < sound.size(); ++n) {
        const int i = static_cast<int>(n);
        const float t = static_cast<float>(i) / synthRate;
        const float index = 2.4f * decay(i, 0.35f) + 0.3f;
        const float tone = std::sin(twoPi * hz * t + index * std::sin(twoPi * 3.5f * hz * t)) +
                           0.25f * std::sin(twoPi * 2.0f * hz * t) * decay(i, 0.5f);
        sound[n] = tone * decay(i, 0.9f) * std::min(1.0f, static_cast<float>(i) / 60.0f);
    }
    endSmoothly(sound, 2000);
    return singleSample("bell", makeSample("bell", sound, hz, mixLevel(Instrument::Bell), 0, 128));
}

} // namespace vardel::makedata::music
