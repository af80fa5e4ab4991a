// The synthesised instruments as the player plays them: in tune, with seamless loops.

#include <gtest/gtest.h>

#include <cmath>

#include "music/Instruments.h"
#include "music/SoundLibrary.h"
#include "support/TempDir.h"

namespace vardel::makedata::music {
namespace {

constexpr int rate = 44100;

// The left channel of one note of `instrument`, rendered by the sound library.
std::vector<float> playNote(const formats::XmInstrument& instrument, std::uint8_t note,
                            int frames) {
    formats::XmModule module;
    module.channels = 1;
    module.orders = {0};
    module.patterns.emplace_back(16, 1);
    module.patterns[0].at(0, 0) = {note, 1, 0, 0, 0};
    module.instruments.push_back(instrument);
    test::TempDir dir;
    const auto path = dir.write("note.xm", formats::writeXm(module));
    SoundLibrary library(SoundOutput::Offline);
    EXPECT_NE(library.MIDASplayModule(library.MIDASloadModule(path.string().c_str()), 0), 0u);
    std::vector<float> stereo(2 * static_cast<std::size_t>(frames));
    library.renderOffline(std::span(stereo));
    std::vector<float> left(static_cast<std::size_t>(frames));
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = stereo[2 * i];
    }
    return left;
}

// The pitch between `low` and `high` Hz: the lag of the strongest normalised autocorrelation
// over `window` frames from `start`, refined between frames by a parabola through its
// neighbours.
double pitch(const std::vector<float>& x, int start, int window, double low, double high) {
    auto correlation = [&](int lag) {
        double sum = 0, a = 0, b = 0;
        for (int i = start; i < start + window; ++i) {
            const double u = x[static_cast<std::size_t>(i)];
            const double v = x[static_cast<std::size_t>(i + lag)];
            sum += u * v, a += u * u, b += v * v;
        }
        return a > 0 && b > 0 ? sum / std::sqrt(a * b) : 0.0;
    };
    const int first = static_cast<int>(rate / high), last = static_cast<int>(rate / low);
    int best = first;
    for (int lag = first; lag <= last; ++lag) {
        if (correlation(lag) > correlation(best)) {
            best = lag;
        }
    }
    const double left = correlation(best - 1), middle = correlation(best),
                 right = correlation(best + 1);
    const double shift = 0.5 * (left - right) / (left - 2 * middle + right);
    return rate / (best + shift);
}

TEST(Instruments, PitchedVoicesPlayA4At440Hz) {
    const struct {
        const char* name;
        formats::XmInstrument instrument;
    } voices[] = {
        {"bass", makeBass()}, {"pad", makePad()}, {"pluck", makePluck()}, {"lead", makeLead()}};
    constexpr std::uint8_t a4 = formats::xmNote(9, 4);
    for (const auto& voice : voices) {
        const std::vector<float> sound = playNote(voice.instrument, a4, rate / 2);
        // 30 cents either way would put it on a neighbouring note; allow 6.
        EXPECT_NEAR(pitch(sound, rate / 10, 4096, 300, 600), 440.0, 440.0 * 0.0035) << voice.name;
    }
}

TEST(Instruments, NumbersNameTheirInstruments) {
    const std::vector<formats::XmInstrument> all = makeInstruments();
    ASSERT_EQ(all.size(), std::size_t{instrumentCount});
    const std::pair<Instrument, const char*> expected[] = {{Instrument::Kick, "kick"},
                                                           {Instrument::Snare, "snare"},
                                                           {Instrument::OpenHat, "open hat"},
                                                           {Instrument::Crash, "crash"},
                                                           {Instrument::Riser, "riser"},
                                                           {Instrument::Bass, "bass"},
                                                           {Instrument::Pad, "pad"},
                                                           {Instrument::Pluck, "pluck"},
                                                           {Instrument::Lead, "lead"},
                                                           {Instrument::Bell, "bell"},
                                                           {Instrument::ClosedHat, "closed hat"}};
    for (const auto& [number, name] : expected) {
        EXPECT_EQ(all.at(static_cast<std::size_t>(number) - 1).name, name);
    }
}

// A loop whose end does not lead into its start clicks at every pass: the jump from the
// last frame to the first may be no larger than the steps inside the loop.
TEST(Instruments, LoopsJoinWithoutAJump) {
    int loops = 0;
    for (const formats::XmInstrument& instrument : makeInstruments()) {
        for (const formats::XmSample& sample : instrument.samples) {
            if (sample.loopLength == 0) {
                continue;
            }
            ++loops;
            const int start = sample.loopStart, end = sample.loopStart + sample.loopLength;
            int largestStep = 0;
            for (int i = start; i + 1 < end; ++i) {
                largestStep = std::max(largestStep, std::abs(sample.pcm[i + 1] - sample.pcm[i]));
            }
            EXPECT_LE(std::abs(sample.pcm[start] - sample.pcm[end - 1]), largestStep)
                << instrument.name;
        }
    }
    EXPECT_EQ(loops, 3); // bass, pad, lead
}

} // namespace
} // namespace vardel::makedata::music
