#pragma once

#include <cstdint>
#include <vector>

#include "formats/XmWriter.h"

namespace vardel::test {

// A small song at speed 6, 125 BPM (a row is 5292 frames at 44.1 kHz) whose sync cues are
// reached through a pattern break, a pattern loop and a position jump. Played once it goes
// through the rows of `cueSongRows`, 15 in all.
formats::XmModule cueSong(bool withCues = true);
std::vector<std::uint8_t> cueSongBytes(bool withCues = true);

inline constexpr int framesPerRow = 5292;

struct PlayedRow {
    int order;
    int row;
    int sync;
    bool cue;
};
extern const std::vector<PlayedRow> cueSongRows;

// A one-channel instrument: a looped sine wave, loud enough to hear.
formats::XmInstrument sineInstrument();

} // namespace vardel::test
