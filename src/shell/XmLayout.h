#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vardel {

// Checks that an XM module (version 0x0104) holds every pattern, instrument and sample its
// headers announce. libopenmpt plays a cut-off file as far as it goes, which would lose the
// sync cues past the cut without a word; the sound library refuses such files instead.
// Returns the problem, or an empty string for a complete file and for anything that is not
// an XM module of that version (those are left to libopenmpt).
std::string findXmTruncation(std::span<const std::uint8_t> bytes);

} // namespace vardel
