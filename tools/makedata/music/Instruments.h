#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

#include "formats/XmWriter.h"

namespace vardel::makedata::music {

// The song's instruments by their number in the module.
enum class Instrument : std::uint8_t {
    Kick = 1,
    Snare,
    ClosedHat,
    OpenHat,
    Crash,
    Riser,
    Bass,
    Pad,
    Pluck,
    Lead,
    Bell,
};
inline constexpr int instrumentCount = 11;

// The mix: each instrument's level (0 ... 64), its samples' default volume; the volumes the
// score writes are velocities scaled by it.
int mixLevel(Instrument instrument);

// All instruments, in the order of their numbers.
std::vector<formats::XmInstrument> makeInstruments();

// The single instruments (drums in Drums.cpp, pitched voices in Voices.cpp).
formats::XmInstrument makeKick();
formats::XmInstrument makeSnare();
formats::XmInstrument makeClosedHat();
formats::XmInstrument makeOpenHat();
formats::XmInstrument makeCrash();
formats::XmInstrument makeRiser();
formats::XmInstrument makeBass();
formats::XmInstrument makePad();
formats::XmInstrument makePluck();
formats::XmInstrument makeLead();
formats::XmInstrument makeBell();

// An instrument playing one sample on every note.
formats::XmInstrument singleSample(const char* name, formats::XmSample sample);
// A volume envelope of (tick, level 0 ... 64) points, holding at the sustain point until the
// note is released.
formats::XmEnvelope envelope(std::initializer_list<formats::XmEnvelope::Point> points,
                             std::optional<int> sustain = std::nullopt);

} // namespace vardel::makedata::music
