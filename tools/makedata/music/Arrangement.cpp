#include "music/Arrangement.h"

#include <stdexcept>
#include <string>

namespace vardel::makedata::music {

using formats::xmEffect;
using formats::xmNote;

namespace {

constexpr int echoDelayRows = 3;
constexpr int echoPercent = 40;
constexpr int leadPanning = 0x70;
constexpr int echoPanning = 0xC0;
constexpr int voicePanning[3] = {0x50, 0x80, 0xB0};

bool empty(const formats::XmCell& cell) {
    return cell.note == 0 && cell.instrument == 0 && cell.volume == 0 && cell.effect == 0 &&
           cell.parameter == 0;
}

} // namespace

PatternBuilder::PatternBuilder() : pattern(rowsPerPattern, channel::count) {}

PatternBuilder& PatternBuilder::put(int channel, const Line& line, int row, int panning) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        formats::XmCell cell = line[i];
        if (empty(cell)) {
            continue;
        }
        const int at = row + static_cast<int>(i);
        if (at < 0 || at >= rowsPerPattern) {
            throw std::invalid_argument("arrangement: channel " + std::to_string(channel) +
                                        " has a note past the pattern, at row " +
                                        std::to_string(at));
        }
        formats::XmCell& target = pattern.at(at, channel);
        if (!empty(target)) {
            throw std::invalid_argument("arrangement: two notes on channel " +
                                        std::to_string(channel) + " at row " + std::to_string(at));
        }
        if (panning >= 0 && cell.note != 0 && cell.note != formats::xmKeyOff) {
            cell.effect = xmEffect('8');
            cell.parameter = static_cast<std::uint8_t>(panning);
        }
        target = cell;
    }
    return *this;
}

PatternBuilder& PatternBuilder::pads(const Progression& chords, int velocity) {
    for (int voice = 0; voice < 3; ++voice) {
        put(channel::pad + voice, padVoice(chords, voice, velocity), 0, voicePanning[voice]);
    }
    return *this;
}

PatternBuilder& PatternBuilder::bells(const Chord& chord, int row, int velocity) {
    for (int voice = 0; voice < 3; ++voice) {
        const formats::XmCell strike{static_cast<std::uint8_t>(chord.voicing[voice] + 12),
                                     static_cast<std::uint8_t>(Instrument::Bell),
                                     volumeFor(Instrument::Bell, velocity), 0, 0};
        put(channel::bell + voice, Line{strike}, row, voicePanning[2 - voice]);
    }
    return *this;
}

PatternBuilder& PatternBuilder::lead(const Line& line) {
    put(channel::lead, line, 0, leadPanning);
    Line echo(line.begin(),
              line.begin() + std::max<std::ptrdiff_t>(0, std::ssize(line) - echoDelayRows));
    for (formats::XmCell& cell : echo) {
        if (cell.note != 0 && cell.note != formats::xmKeyOff) {
            const int velocity = cell.volume != 0 ? cell.volume - 0x10 : mixLevel(Instrument::Lead);
            cell.volume = static_cast<std::uint8_t>(0x10 + velocity * echoPercent / 100);
        }
    }
    return put(channel::echo, echo, echoDelayRows, echoPanning);
}

PatternBuilder& PatternBuilder::crash(int row, int velocity) {
    const formats::XmCell hit{xmNote(0, 4), static_cast<std::uint8_t>(Instrument::Crash),
                              volumeFor(Instrument::Crash, velocity), 0, 0};
    return put(channel::cymbal, Line{hit}, row);
}

PatternBuilder& PatternBuilder::riser() {
    const formats::XmCell swell{xmNote(0, 4), static_cast<std::uint8_t>(Instrument::Riser), 0, 0,
                                0};
    return put(channel::cymbal, Line{swell}, rowsPerPattern - rowsPerBar);
}

} // namespace vardel::makedata::music
