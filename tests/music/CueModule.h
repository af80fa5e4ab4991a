#pragma once

// A small song at speed 6, 125 BPM (a row is 5292 frames at 44.1 kHz) whose sync cues are
// reached through a pattern break, a pattern loop and a position jump.

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "formats/XmWriter.h"

namespace vardel::test {

inline constexpr int framesPerRow = 5292;

// The rows the song goes through when played once, 15 in all, and the sync value from each.
struct PlayedRow {
    int order, row, sync;
};
inline const std::vector<PlayedRow> cueSongRows = {
    {0, 0, 0x01}, {0, 1, 0x01}, {0, 2, 0x02}, {0, 3, 0x02}, {1, 2, 0x03},
    {1, 3, 0x03}, {1, 4, 0x04}, {1, 5, 0x05}, {1, 4, 0x04}, {1, 5, 0x05},
    {1, 6, 0x05}, {2, 0, 0x05}, {2, 1, 0x24}, {2, 2, 0x24}, {2, 3, 0x00},
};

inline formats::XmModule cueSong(bool withCues = true) {
    using formats::xmEffect, formats::xmNote;
    formats::XmModule module;
    module.name = "cue test";
    module.channels = 2;
    module.orders = {0, 1, 2};
    formats::XmPattern first(8, 2), second(8, 2), third(4, 2);
    auto cue = [&](formats::XmPattern& pattern, int row, int channel, int value) {
        if (withCues)
            pattern.at(row, channel) = {0, 0, 0, xmEffect('W'), std::uint8_t(value)};
    };
    auto effect = [](formats::XmPattern& pattern, int row, char letter, int parameter) {
        pattern.at(row, 1) = {0, 0, 0, xmEffect(letter), std::uint8_t(parameter)};
    };
    cue(first, 0, 0, 0x01);
    cue(first, 2, 0, 0x02);
    effect(first, 3, 'D', 0x02); // break to row 2 of the next order
    cue(first, 5, 0, 0x77);      // skipped by the break
    cue(second, 2, 0, 0x03);
    cue(second, 4, 0, 0x04);
    effect(second, 4, 'E', 0x60); // loop start
    cue(second, 5, 0, 0x05);
    effect(second, 5, 'E', 0x61); // back to the loop start once
    effect(second, 6, 'B', 0x02); // jump to order 2
    cue(second, 7, 0, 0x66);      // skipped by the jump
    cue(third, 1, 0, 0x33);       // two cues on one row: the right-hand channel's wins
    cue(third, 1, 1, 0x24);
    cue(third, 3, 0, 0x00);
    // Notes of a looped sine wave, loud enough to hear, on channel 0.
    auto play = [](formats::XmPattern& pattern, int row, std::uint8_t note) {
        pattern.at(row, 0).note = note;
        pattern.at(row, 0).instrument = note == formats::xmKeyOff ? 0 : 1;
    };
    play(first, 0, xmNote(0, 4));
    play(first, 5, xmNote(7, 4)); // skipped by the break
    play(second, 2, xmNote(4, 4));
    play(third, 2, formats::xmKeyOff);
    module.patterns = {first, second, third};
    formats::XmInstrument sine;
    sine.name = "sine";
    sine.samples.resize(1);
    for (int i = 0; i < 64; ++i)
        sine.samples[0].pcm.push_back(std::int16_t(20000 * std::sin(i * std::numbers::pi / 32)));
    sine.samples[0].loopLength = 64;
    module.instruments = {sine};
    return module;
}

inline std::vector<std::uint8_t> cueSongBytes(bool withCues = true) {
    return formats::writeXm(cueSong(withCues));
}

} // namespace vardel::test
