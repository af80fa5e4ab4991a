#pragma once

#include <span>
#include <string>

namespace vardel {

// The demo program: reads the command line (the words after the program name), loads the
// data, opens the display (or runs headless) and plays the demo to its end. Returns the exit
// status: 0 when the demo ended by itself or by the user, 1 when something failed (with a
// line on stderr saying what), 2 for a wrong command line.
int runVardel(std::span<const std::string> args);

} // namespace vardel
