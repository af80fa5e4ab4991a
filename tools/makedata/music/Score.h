#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "formats/XmWriter.h"
#include "music/Instruments.h"
#include "music/Synth.h"

// The song's notation: lines of notes and drum hits written as text, chords and the lines
// derived from a progression of chords (pad voices, arpeggios, bass).
namespace vardel::makedata::music {

inline constexpr int rowsPerBeat = 4;
inline constexpr int rowsPerBar = 16;
inline constexpr int rowsPerPattern = 64;

// One channel's cells, one a row.
using Line = std::vector<formats::XmCell>;

// Notes, one whitespace-separated token a row:
//   .             nothing
//   =             key off
//   C4  F#5  Bb3  a note: letter, optional sharp or flat, octave 0 ... 7
//   A4:40         a note with a velocity 0 ... 64 (scaled by the instrument's mix level)
//   |             a bar line; it must stand after a whole number of bars
// Throws std::invalid_argument naming the bad token.
Line notes(std::string_view text, Instrument instrument);

// Drum hits, one character a row (spaces ignored, bar lines checked as above):
//   X x g   accented, normal and ghost hits of `instrument`
//   O o     accented and normal hits of `other` (an open hi-hat after closed ones)
//   .       nothing
// Each hit's velocity varies a little, drawn from `random`.
Line hits(std::string_view text, Instrument instrument, Random& random,
          Instrument other = Instrument::OpenHat);

struct Chord {
    std::string_view name;
    std::array<std::uint8_t, 3> voicing; // the pad's three notes, low to high
    std::uint8_t root;                   // the bass's note in its lowest octave
};
using Progression = std::vector<const Chord*>;

// Chords by name ("Am", "F", ...); throws std::invalid_argument for one not in the table.
const Chord& chord(std::string_view name);
// One chord a bar: "Am F C G".
Progression progression(std::string_view names);

// One pad voice (0 ... 2) playing each bar's chord tone; a tone held over from the bar before
// is not struck again.
Line padVoice(const Progression& chords, int voice, int velocity);
// An arpeggio over each bar's chord. `steps` is one bar, one token a row: a digit i plays the
// chord's i-th tone counting upward through the octaves from its voicing `octaves` octaves up,
// '.' nothing; an optional ":v" gives the velocity. The bar repeats for each chord.
Line arpeggio(const Progression& chords, std::string_view steps, int octaves);
// A bass line over each bar's chord. `rhythm` is one bar, one character a row: 'r' the root,
// 'R' the root an octave up, 'f' the fifth above the root, '=' key off, '.' nothing.
Line bassLine(const Progression& chords, std::string_view rhythm);

// A volume column byte for a velocity (0 ... 64) of an instrument at its mix level.
std::uint8_t volumeFor(Instrument instrument, int velocity);

} // namespace vardel::makedata::music
