#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vardel {

// What the demo was asked to do.
struct DemoOptions {
    int colorDepth = 0;             // 16, 24 or 32 from the command line; 0: the display chooses
    bool window = false;            // a window instead of full screen
    std::filesystem::path dataRoot; // the folder holding `data`; empty: found as usual
    bool help = false;
    bool version = false;
    int part = 0;                   // 1 ... 6: start at that part; 0: from the beginning
    double lengthSeconds = 0.0;     // offline runs stop after this much demo time; 0: the end

    bool headless = false;          // no window, no sound, a fixed step of one tick per frame
    std::filesystem::path shotsDir; // headless: PNG pictures of presented frames go here
    int every = 1;                  // headless: a picture of every Nth frame
    bool hash = false;              // headless: a line per frame with its part and pixel hash

    bool bench = false;             // headless as fast as possible, with a timing report
    int threads = 0;                // offline runs: the renderer's threads (1 or 2); 0: as
                                    // many as the machine has cores, at most 2

    std::filesystem::path capturePath; // a video file (.mp4, .mkv, .webm) or a folder
    int fps = 60;                      // capture: 60, 50 or 30 frames per second
    int scale = 0;                     // capture: upscaling; 0: 3 for video, 1 for a folder
    bool quiet = false;                // capture: no progress bar

    // On screen: milliseconds from a frame of music mixed and buffered to its being heard;
    // none: the sound output's own estimate.
    std::optional<int> audioOffsetMs;

    // The demo runs without a window or sound device, in fixed steps.
    bool offline() const { return headless || bench || !capturePath.empty(); }
};

// The depth the command line asks for: the words that are not options, joined by single
// spaces, must be exactly "16", "32" or "24"; anything else (nothing included) gives 0.
int depthFromCommandLine(std::string_view words);

// Reads the arguments after the program name. On a wrong command line returns false with a
// one-line reason in `error`.
bool parseCommandLine(std::span<const std::string> args, DemoOptions& options, std::string& error);

// The text of --help.
const char* demoUsage();

} // namespace vardel
