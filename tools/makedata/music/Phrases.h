#pragma once

#include <string_view>

// The song's material, by name: chord progressions (one chord a bar), melodies, bass and
// arpeggio figures and drum grooves in the notation of Score.h. The song is in A minor.
namespace vardel::makedata::music::phrase {

// Progressions, four bars each.
inline constexpr std::string_view verse = "Am F C G";
inline constexpr std::string_view lift = "Am F C E";
inline constexpr std::string_view floatingA = "F G Em Am";
inline constexpr std::string_view floatingB = "Dm Em F E";
inline constexpr std::string_view journey = "Am F Dm E";
inline constexpr std::string_view drive = "Am G F E";
inline constexpr std::string_view homecoming = "F G E Am";

// The main theme over the verse, and its answer over the lift.
inline constexpr std::string_view themeCall =
    "E5 . . . . . C5 . D5 . E5 . . . A4 . | C5 . . . . . A4 . C5 . F5 . E5 . C5 . | "
    "E5 . . . . . G5 . E5 . D5 . C5 . D5 . | D5 . . . . . . . B4 . . . G4 . = .";
inline constexpr std::string_view themeAnswer =
    "E5 . . . . . C5 . D5 . E5 . . . A5 . | G5 . . . F5 . E5 . F5 . . . C5 . . . | "
    "E5 . . . D5 . C5 . D5 . . . E5 . . . | B4 . . . . . G#4 . B4 . . . E5 . = .";
// The theme's climb, an octave's reach higher, over the lift.
inline constexpr std::string_view themeHigh =
    "A5 . . . G5 . E5 . . . C5 . E5 . G5 . | A5 . . . G5 . F5 . . . C5 . F5 . A5 . | "
    "G5 . . . E5 . C5 . . . E5 . G5 . C6 . | B5 . . . . . G#5 . . . E5 . . . = .";

// Long, quiet lines over the floating progressions of the second picture.
inline constexpr std::string_view floatingLineA =
    "A4:40 . . . . . . . C5:36 . . . . . . . | B4:40 . . . . . . . D5:36 . . . . . . . | "
    "E5:44 . . . . . . . . . . . G5:36 . . . | E5:40 . . . . . . . . . . . = . . .";
inline constexpr std::string_view floatingLineB =
    "F5:44 . . . . . . . E5:36 . . . D5:36 . . . | E5:44 . . . . . . . B4:36 . . . . . . . | "
    "C5:44 . . . . . . . A4:36 . . . C5:40 . . . | B4:44 . . . . . . . G#4:40 . . . . . = .";

// The second half's melody over the journey progression, then its variation.
inline constexpr std::string_view journeyLine =
    "C5 . E5 . A5 . . . G5 . E5 . . . C5 . | D5 . . . C5 . A4 . . . C5 . . . F5 . | "
    "F5 . . . E5 . D5 . . . A4 . D5 . F5 . | E5 . . . . . . . D5 . C5 . B4 . G#4 .";
inline constexpr std::string_view journeyReply =
    "C5 . E5 . A5 . . . B5 . C6 . . . B5 . | A5 . . . G5 . F5 . . . E5 . . . F5 . | "
    "A5 . . . G5 . F5 . . . E5 . D5 . F5 . | E5 . . . . . . . . . . . = . . .";

// Short, repeated figures over the drive, then the same reaching higher.
inline constexpr std::string_view driveLine =
    "A5 . A5 . C6 . A5 . E5 . . . A5 . C6 . | B5 . G5 . . . D5 . G5 . . . B5 . D6 . | "
    "C6 . A5 . . . F5 . A5 . . . C6 . A5 . | B5 . . . G#5 . . . E5 . . . B4 . = .";
inline constexpr std::string_view driveLineHigh =
    "E6 . . . C6 . A5 . C6 . E6 . . . D6 . | D6 . . . B5 . G5 . B5 . D6 . . . C6 . | "
    "C6 . . . A5 . F5 . A5 . C6 . . . A5 . | B5 . . . . . . . G#5 . . . E5 . = .";

// The way home, slowing to the tonic.
inline constexpr std::string_view homecomingLine =
    "C5 . . . . . . . A4 . . . C5 . . . | D5 . . . . . . . B4 . . . D5 . . . | "
    "E5 . . . . . . . G#4 . . . B4 . . . | A4 . . . . . . . . . . . = . . .";

// Arpeggio figures (one bar; digits count up through the chord's tones).
inline constexpr std::string_view arpGentle =
    "0:48 . 1:32 . 2:40 . 3:32 . 2:44 . 1:32 . 2:40 . 1:32 .";
inline constexpr std::string_view arpRolling =
    "0:56 1:34 2:44 1:34 3:56 2:34 1:44 2:34 0:56 1:34 2:44 1:34 4:56 3:34 2:44 1:34";
inline constexpr std::string_view arpClimbing =
    "0:56 2:34 4:44 2:34 3:56 5:34 4:44 3:34 1:56 3:34 5:44 3:34 4:56 2:34 3:44 1:34";

// Bass figures (one bar).
inline constexpr std::string_view bassHeld = "r . . . . . . . . . . . . . . .";
inline constexpr std::string_view bassOffbeat = ". . r = . . R = . . r = . r R =";
inline constexpr std::string_view bassEighths = "r . r . R . r . r . r . R . r .";
inline constexpr std::string_view bassPulse = "r . r r R . r r r . r r R . f R";

// Drum grooves, one bar each; a groove's last bar often has its own fill.
inline constexpr std::string_view kickFour = "x...x...x...x...";
inline constexpr std::string_view kickHalf = "x.......x.......";
inline constexpr std::string_view kickBuild = "x.......x...x.x.";
inline constexpr std::string_view snareBack = "....x.......x...";
inline constexpr std::string_view snareBackGhost = "....x.....g.x..g";
inline constexpr std::string_view snareHalf = "........x.......";
inline constexpr std::string_view snareFill = "....x...x.x.xxXX";
inline constexpr std::string_view snareRoll = "x...x...x.x.xxXX";
inline constexpr std::string_view hatsSoft = "g.g.g.g.g.g.g.g.";
inline constexpr std::string_view hatsOffbeat = "..x...x...x...x.";
inline constexpr std::string_view hatsEighths = "g.x.g.x.g.x.g.xo";
inline constexpr std::string_view hatsOpen = "x.O.x.O.x.O.x.O.";
inline constexpr std::string_view rest = "................";

} // namespace vardel::makedata::music::phrase
