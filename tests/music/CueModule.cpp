#include "music/CueModule.h"

#include <cmath>
#include <numbers>

namespace vardel::test {

using formats::xmEffect;
using formats::xmNote;

const std::vector<PlayedRow> cueSongRows = {
    {0, 0, 0x01, true}, {0, 1, 0x01, false}, {0, 2, 0x02, true},  {0, 3, 0x02, false},
    {1, 2, 0x03, true}, {1, 3, 0x03, false}, {1, 4, 0x04, true},  {1, 5, 0x05, true},
    {1, 4, 0x04, true}, {1, 5, 0x05, true},  {1, 6, 0x05, false}, {2, 0, 0x05, false},
    {2, 1, 0x24, true}, {2, 2, 0x24, false}, {2, 3, 0x00, true},
};

formats::XmInstrument sineInstrument() {
    formats::XmInstrument instrument;
    instrument.name = "sine";
    formats::XmSample sample;
    for (int i = 0; i < 64; ++i) {
        sample.pcm.push_back(
            static_cast<std::int16_t>(20000 * std::sin(i * 2 * std::numbers::pi / 64)));
    }
    sample.loopLength = 64;
    instrument.samples.push_back(sample);
    return instrument;
}

formats::XmModule cueSong(bool withCues) {
    formats::XmModule module;
    module.name = "cue test";
    module.channels = 2;
    module.orders = {0, 1, 2};
    formats::XmPattern first(8, 2), second(8, 2), third(4, 2);
    auto cue = [&](formats::XmPattern& pattern, int row, int channel, int value) {
        if (withCues) {
            pattern.at(row, channel).effect = xmEffect('W');
            pattern.at(row, channel).parameter = static_cast<std::uint8_t>(value);
        }
    };
    auto effect = [](formats::XmPattern& pattern, int row, char letter, int parameter) {
        pattern.at(row, 1).effect = xmEffect(letter);
        pattern.at(row, 1).parameter = static_cast<std::uint8_t>(parameter);
    };
    first.at(0, 0) = {xmNote(0, 4), 1, 0, 0, 0};
    cue(first, 0, 0, 0x01);
    cue(first, 2, 0, 0x02);
    effect(first, 3, 'D', 0x02);                 // break to row 2 of the next order
    first.at(5, 0) = {xmNote(7, 4), 1, 0, 0, 0}; // skipped by the break
    cue(first, 5, 0, 0x77);
    second.at(2, 0) = {xmNote(4, 4), 1, 0, 0, 0};
    cue(second, 2, 0, 0x03);
    cue(second, 4, 0, 0x04);
    effect(second, 4, 'E', 0x60); // loop start
    cue(second, 5, 0, 0x05);
    effect(second, 5, 'E', 0x61); // back to the loop start once
    effect(second, 6, 'B', 0x02); // jump to order 2
    cue(second, 7, 0, 0x66);      // skipped by the jump
    cue(third, 1, 0, 0x33);       // two cues on one row: the right-hand channel's wins
    cue(third, 1, 1, 0x24);
    third.at(2, 0) = {formats::xmKeyOff, 0, 0, 0, 0};
    cue(third, 3, 0, 0x00);
    module.patterns = {first, second, third};
    module.instruments = {sineInstrument()};
    return module;
}

std::vector<std::uint8_t> cueSongBytes(bool withCues) {
    return formats::writeXm(cueSong(withCues));
}

} // namespace vardel::test
