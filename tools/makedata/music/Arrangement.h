#pragma once

#include <cstdint>

#include "formats/XmWriter.h"
#include "music/Score.h"

namespace vardel::makedata::music {

// The song's channels, each with one role.
namespace channel {
inline constexpr int kick = 0;
inline constexpr int snare = 1;
inline constexpr int hats = 2;
inline constexpr int cymbal = 3; // crash and riser
inline constexpr int bass = 4;
inline constexpr int pad = 5; // three voices: 5, 6, 7
inline constexpr int arp = 8;
inline constexpr int lead = 9;
inline constexpr int echo = 10;
inline constexpr int bell = 11; // three voices: 11, 12, 13
inline constexpr int cue = 14;  // the sync cues, nothing else
inline constexpr int count = 15;
} // namespace channel

// Writes lines of the score into one 64-row pattern, each role on its channels.
class PatternBuilder {
public:
    PatternBuilder();

    // Copies the line's non-empty cells into `channel` from `row` on; with a panning
    // (0 ... 255) every note also sets the channel's panning. Throws std::invalid_argument when
    // the line runs past the pattern or lands on a cell already written.
    PatternBuilder& put(int channel, const Line& line, int row = 0, int panning = -1);
    // The progression's chords on the three pad voices, spread across the stereo field.
    PatternBuilder& pads(const Progression& chords, int velocity);
    // A chord struck on the three bells, an octave above the pad's voicing.
    PatternBuilder& bells(const Chord& chord, int row, int velocity);
    // The lead, with a softer echo three rows later on the other side. Echoes falling past the
    // pattern's end are dropped.
    PatternBuilder& lead(const Line& line);
    PatternBuilder& crash(int row, int velocity = 64);
    // The riser swelling through the last bar, up to the next pattern.
    PatternBuilder& riser();

    formats::XmPattern take() { return std::move(pattern); }

private:
    formats::XmPattern pattern;
};

} // namespace vardel::makedata::music
