#include "music/Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace vardel::makedata::music {

namespace {

constexpr float twoPi = 2.0f * std::numbers::pi_v<float>;

Spectrum spectrum(int harmonics, float corner, int step) {
    Spectrum amplitudes(static_cast<std::size_t>(harmonics) + 1, 0.0f);
    for (int k = 1; k <= harmonics; k += step) {
        const float ratio = static_cast<float>(k) / corner;
        amplitudes[static_cast<std::size_t>(k)] =
            1.0f / (static_cast<float>(k) * (1.0f + ratio * ratio));
    }
    return amplitudes;
}

} // namespace

void StateVariableFilter::run(float input, float cutoffHz) {
    const float f = 2.0f * std::sin(std::numbers::pi_v<float> * cutoffHz / synthRate);
    low += f * band;
    high = input - low - damping * band;
    band += f * high;
}

Spectrum sawSpectrum(int harmonics, float corner) {
    return spectrum(harmonics, corner, 1);
}

Spectrum squareSpectrum(int harmonics, float corner) {
    return spectrum(harmonics, corner, 2);
}

Sound periodicWave(const Spectrum& amplitudes, int period, Random& random) {
    Sound wave(static_cast<std::size_t>(period), 0.0f);
    for (std::size_t k = 1; k < amplitudes.size(); ++k) {
        // The phase is drawn for every harmonic, so waves made with equal seeds and spectra of
        // one length have equal phases and can be cross-faded without cancelling.
        const float phase = twoPi * (random.noise() + 1.0f) * 0.5f;
        if (amplitudes[k] == 0.0f) {
            continue;
        }
        for (int n = 0; n < period; ++n) {
            // k * n stays exact in integers; the angle is taken modulo one period first.
            const auto turn = static_cast<float>((static_cast<long long>(k) * n) % period) /
                              static_cast<float>(period);
            wave[static_cast<std::size_t>(n)] += amplitudes[k] * std::sin(twoPi * turn + phase);
        }
    }
    return wave;
}

Sound detunedEnsemble(const Sound& cycle, const std::vector<int>& cyclesPerLoop, int frames,
                      Random& random) {
    const auto table = static_cast<long long>(cycle.size());
    Sound out(static_cast<std::size_t>(frames), 0.0f);
    for (int cycles : cyclesPerLoop) {
        const long long offset = random.next() % static_cast<std::uint32_t>(frames);
        for (int n = 0; n < frames; ++n) {
            // Position in the loop as a fraction (n * cycles mod frames) / frames of a cycle,
            // computed in integers so that the last frame leads exactly into the first.
            const long long turn = ((n + offset) * cycles) % frames;
            const double position = static_cast<double>(turn * table) / frames;
            const auto index = static_cast<long long>(position);
            const auto fraction = static_cast<float>(position - static_cast<double>(index));
            const float a = cycle[static_cast<std::size_t>(index)];
            const float b = cycle[static_cast<std::size_t>((index + 1) % table)];
            out[static_cast<std::size_t>(n)] += a + (b - a) * fraction;
        }
    }
    return out;
}

void highPass(Sound& sound, float cutoffHz) {
    const float rc = 1.0f / (twoPi * cutoffHz);
    const float a = rc / (rc + 1.0f / synthRate);
    float previousIn = 0.0f, out = 0.0f;
    for (float& value : sound) {
        out = a * (out + value - previousIn);
        previousIn = value;
        value = out;
    }
}

void endSmoothly(Sound& sound, int frames) {
    const int size = static_cast<int>(sound.size());
    frames = std::min(frames, size);
    for (int i = 0; i < frames; ++i) {
        sound[static_cast<std::size_t>(size - 1 - i)] *=
            static_cast<float>(i) / static_cast<float>(frames);
    }
}

float decay(int index, float seconds) {
    return std::exp(-static_cast<float>(index) / (seconds * synthRate));
}

float peakOf(const Sound& sound) {
    float largest = 0.0f;
    for (float value : sound) {
        largest = std::max(largest, std::abs(value));
    }
    return largest;
}

std::vector<std::int16_t> toPcm16(const Sound& sound, float peak) {
    const float largest = peakOf(sound);
    const float scale = largest > 0.0f ? peak * 32767.0f / largest : 0.0f;
    std::vector<std::int16_t> pcm(sound.size());
    std::transform(sound.begin(), sound.end(), pcm.begin(), [scale](float value) {
        return static_cast<std::int16_t>(std::lround(value * scale));
    });
    return pcm;
}

void tune(formats::XmSample& sample, double sampleRate, double toneHz) {
    // Note n plays the data at 8363 Hz * 2^((n - C-4 + relativeNote + finetune / 128) / 12).
    // The sample sounds toneHz * rate / sampleRate, which must be middleC at n = C-4; the
    // shift is kept to the nearest 1/128 semitone, the finetune's unit, within -64 ... 63.
    const double semitones = 12.0 * std::log2(sampleRate * middleC / (toneHz * 8363.0));
    const long total = std::lround(semitones * 128.0);
    const long relative =
        static_cast<long>(std::floor((static_cast<double>(total) + 64.0) / 128.0));
    sample.relativeNote = static_cast<int>(relative);
    sample.finetune = static_cast<int>(total - relative * 128);
    if (sample.relativeNote < -96 || sample.relativeNote > 95) {
        throw std::invalid_argument(sample.name + ": pitch out of the format's range");
    }
}

formats::XmSample makeSample(const char* name, const Sound& sound, double toneHz, int volume,
                             int loopLength, int panning) {
    formats::XmSample sample;
    sample.name = name;
    sample.pcm = toPcm16(sound);
    sample.volume = volume;
    sample.panning = panning;
    sample.loopLength = loopLength;
    sample.loopStart = static_cast<int>(sound.size()) - loopLength;
    tune(sample, synthRate, toneHz);
    return sample;
}

} // namespace vardel::makedata::music
