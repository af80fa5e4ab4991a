#pragma once

#include "app/CommandLine.h"

namespace vardel {

struct DemoData;
class MusicPlayer;
class SoundLibrary;

// The ways of playing the demo without a window or sound device. Each returns the program's
// exit status: 0 when the run ended as asked, 1 with a line on stderr when it failed.

// --headless: one tick per frame, as fast as possible, optionally keeping pictures and hashes.
int runHeadless(const DemoOptions& options, DemoData& data, MusicPlayer& player,
                SoundLibrary& library);
// --bench: as --headless without output, timing every frame; prints the report on stdout.
int runBench(const DemoOptions& options, DemoData& data, MusicPlayer& player,
             SoundLibrary& library, double loadSeconds);
// --capture: frames and audio at the capture's frame rate into a video or a folder.
int runCapture(const DemoOptions& options, DemoData& data, MusicPlayer& player,
               SoundLibrary& library);

} // namespace vardel
