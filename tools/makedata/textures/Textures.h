#pragma once

#include "art/Image.h"

namespace vardel::makedata {

// The demo's textures, each at the exact size the demo loads it with.

Image newspaperPage();    // 256 x 320: a front page, folded into the paper boats
Image ringStrip();        // 60 x 600: engraved brass, wrapped around the rings
Image squareLattice();    // 600 x 600: the first of the three grids switched on the beat
Image diamondLattice();   // 600 x 600: the second
Image honeycombLattice(); // 600 x 600: the third
Image titlePicture();     // 312 x 279: the title, shown on the 4:3 screen
Image seaChart();         // 640 x 512: a chart of the paper boats' sea, shown on the screen
Image cloudTexture();     // 319 x 320: soft clouds, turned a quarter on the cloud banks
Image creditsPage();      // 320 x 240: light text on pure black, added over the finale

} // namespace vardel::makedata
