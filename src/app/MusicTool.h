#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace vardel {

// vardel-music: plays a module once through offline, exactly as the demo's playback does, and
// lists every sync cue as the player reaches it (order, row, time, value) and the song's
// length; with --wav it also writes what it played to a 16-bit stereo WAV file. `args` are
// the words after the program name. Returns the exit status: 0, 1 for a file that fails, 2
// for a wrong command line.
int runMusicTool(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace vardel
