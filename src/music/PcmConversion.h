#pragma once

#include <cstdint>
#include <span>

namespace vardel {

// Float samples (full scale -1 ... 1) to 16-bit ones, as many as the shorter span holds.
void floatToPcm16(std::span<const float> in, std::span<std::int16_t> out);

} // namespace vardel
