#include "music/PcmConversion.h"

#include <algorithm>
#include <cmath>

namespace vardel {

/* Scale by 32767 so that +1 and -1 map to +32767 and -32767 (the scale stays symmetric and
   -32768 is never produced), after clipping to -1 ... 1 (NaN counts as 0); round to nearest,
   halves away from zero. */
void floatToPcm16(std::span<const float> in, std::span<std::int16_t> out) {
    const std::size_t count = std::min(in.size(), out.size());
    for (std::size_t i = 0; i < count; ++i) {
        const float sample = std::isnan(in[i]) ? 0.0f : std::clamp(in[i], -1.0f, 1.0f);
        out[i] = static_cast<std::int16_t>(std::lround(sample * 32767.0f));
    }
}

} // namespace vardel
