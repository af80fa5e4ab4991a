#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace vardel {

// What the demo was asked to do.
struct DemoOptions {
    int colorDepth = 0;             // 16, 24 or 32 from the command line; 0: the display chooses
    bool window = false;            // a window instead of full screen
    std::filesystem::path dataRoot; // the folder holding `data`; empty: the current one
    bool help = false;
    bool version = false;
    bool headless = false;          // no window, no sound, a fixed step of one tick per frame
    std::filesystem::path shotsDir; // headless: PNG pictures of presented frames go here
    int every = 1;                  // headless: a picture of every Nth frame
    bool hash = false;              // headless: a line per frame with its part and pixel hash
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
