#pragma once

#include "music/ListeningPosition.h"

namespace vardel {

// In a browser: seconds on the page's audio context's clock (currentTime), the clock the Web
// Audio output reports its positions on; the page's clock in seconds before there is a context.
SoundClock webAudioClock();

} // namespace vardel
