#include "music/Instruments.h"

namespace vardel::makedata::music {

std::vector<formats::XmInstrument> makeInstruments() {
    // Listed in the order of the Instrument numbers.
    return {makeKick(), makeSnare(), makeClosedHat(), makeOpenHat(), makeCrash(), makeRiser(),
            makeBass(), makePad(),   makePluck(),     makeLead(),    makeBell()};
}

int mixLevel(Instrument instrument) {
    switch (instrument) {
    case Instrument::Kick:
        return 64;
    case Instrument::Snare:
        return 60;
    case Instrument::ClosedHat:
        return 40;
    case Instrument::OpenHat:
        return 34;
    case Instrument::Crash:
        return 44;
    case Instrument::Riser:
        return 44;
    case Instrument::Bass:
        return 62;
    case Instrument::Pad:
        return 42;
    case Instrument::Pluck:
        return 40;
    case Instrument::Lead:
        return 52;
    case Instrument::Bell:
        return 46;
    }
    return 0;
}

formats::XmInstrument singleSample(const char* name, formats::XmSample sample) {
    formats::XmInstrument instrument;
    instrument.name = name;
    instrument.samples.push_back(std::move(sample));
    return instrument; // sampleForNote is all zeros: every note plays sample 0
}

formats::XmEnvelope envelope(std::initializer_list<formats::XmEnvelope::Point> points,
                             std::optional<int> sustain) {
    formats::XmEnvelope result;
    result.points = points;
    result.sustain = sustain;
    return result;
}

} // namespace vardel::makedata::music
