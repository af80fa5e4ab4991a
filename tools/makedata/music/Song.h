#pragma once

#include <cstdint>
#include <vector>

#include "formats/XmWriter.h"

namespace vardel::makedata::music {

// A sync cue: the value the song's sync reads from that order's row on.
struct SyncCue {
    int order;
    int row;
    std::uint8_t value;
};

// The song's sync cues in the order they play: the demo's part changes and the grid switches.
std::vector<SyncCue> syncCues();

// The demo's music: 20 patterns of 64 rows at speed 6 and 125 BPM, one pattern per order.
formats::XmModule composeSong();

} // namespace vardel::makedata::music
