#pragma once

#include <cstdint>
#include <vector>

#include "formats/XmWriter.h"

// Building blocks of the synthesised instruments: a seeded noise source, simple filters,
// band-limited periodic waves and the conversion of a finished sound into an XM sample.
namespace vardel::makedata::music {

inline constexpr int synthRate = 44100;

using Sound = std::vector<float>;

// xorshift32: the same numbers on every machine, so the module is the same every time.
class Random {
public:
    explicit Random(std::uint32_t seed) : state(seed != 0 ? seed : 1) {}
    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // Uniform in [-1, 1).
    float noise() { return static_cast<float>(next() >> 8) / 8388608.0f - 1.0f; }
    // Uniform integer in [low, high].
    int between(int low, int high) {
        return low + static_cast<int>(next() % static_cast<std::uint32_t>(high - low + 1));
    }

private:
    std::uint32_t state;
};

// Chamberlin state-variable filter; the cutoff may change every sample. Stable for cutoffs
// below about a sixth of the rate, which is all the instruments ask of it.
class StateVariableFilter {
public:
    explicit StateVariableFilter(float resonance = 0.7f) : damping(1.0f / resonance) {}
    void run(float input, float cutoffHz);
    float low = 0.0f, band = 0.0f, high = 0.0f;

private:
    float damping;
};

// Amplitudes of the harmonics 1 ... n of a periodic wave, index 0 unused.
using Spectrum = std::vector<float>;
// A sawtooth's spectrum (1/k) up to `harmonics`, rolled off above `corner` like a gentle
// low-pass (amplitude / (1 + (k / corner)^2)).
Spectrum sawSpectrum(int harmonics, float corner);
// The same with only the odd harmonics: a square wave's.
Spectrum squareSpectrum(int harmonics, float corner);

// One period of `period` samples of the wave with that spectrum; harmonic phases come from
// `random` so that mixed waves do not line up into spikes.
Sound periodicWave(const Spectrum& spectrum, int period, Random& random);

// A long periodic wave: a sum of detuned copies of one cycle, each voice at a frequency that
// is a whole number of cycles in `frames`, so the result loops seamlessly over its length.
// `cycle` is one period of the wave at table resolution.
Sound detunedEnsemble(const Sound& cycle, const std::vector<int>& cyclesPerLoop, int frames,
                      Random& random);

// One-pole high-pass filter over the whole sound, in place.
void highPass(Sound& sound, float cutoffHz);
// Fades the last `frames` frames linearly to zero, so a sample that is cut off does not click.
void endSmoothly(Sound& sound, int frames);

// exp(-t / seconds) for the sample index t at synthRate.
float decay(int index, float seconds);

// The largest magnitude in the sound.
float peakOf(const Sound& sound);

// Scales the sound so that its peak is `peak` of full scale and rounds it to 16 bits.
std::vector<std::int16_t> toPcm16(const Sound& sound, float peak = 0.95f);

// Tunes a sample made at `sampleRate` holding a tone of `toneHz` so that each note plays at
// its equal-tempered pitch (A-4 = 440 Hz). For sounds without a pitch, pass the pitch of C-4
// (middleC) as toneHz: C-4 then plays the sample at its own rate.
void tune(formats::XmSample& sample, double sampleRate, double toneHz);
inline constexpr double middleC = 261.6255653005986;

// A sample holding `sound`; looped over its last `loopLength` frames when that is not 0.
formats::XmSample makeSample(const char* name, const Sound& sound, double toneHz, int volume,
                             int loopLength = 0, int panning = 128);

} // namespace vardel::makedata::music
