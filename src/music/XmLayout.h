#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vardel {

// What an XM module (version 0x0104) lacks of what its headers announce, found by walking its
// layout as libopenmpt reads it. Each text names the part cut short, or is empty.
struct XmTruncation {
    // The header or the pattern data is cut short. libopenmpt would play the missing rows as
    // empty ones, losing their sync cues without a word, so the sound library refuses the file.
    std::string patterns;
    // An instrument or sample is cut short, often the last sample's data in files from other
    // trackers. libopenmpt plays them as far as the file goes, and so does the sound library.
    std::string instruments;
};

// Both texts are empty for a complete file and for anything that is not an XM module of that
// version (those are left to libopenmpt).
XmTruncation findXmTruncation(std::span<const std::uint8_t> bytes);

} // namespace vardel
