// The credits, added over the finale: light text on pure black, which the overlay leaves out.
// At the end of the screen's camera move a texel lands on about one pixel, so the text is
// laid out in pixels, clear of the edges that the screen's frame cuts off.

#include "art/Font.h"
#include "textures/Textures.h"

namespace vardel::makedata {

Image creditsPage() {
    Image image(320, 240);
    const TextStyle title{3.0, 3.0, 1.0, 1.0, 0.0};
    const TextStyle line{1.0, 1.0, 1.0, 1.0, 0.0};
    const Rgb cream = hex(0xF6EAD0);
    const Rgb blue = hex(0xA6C4EE);
    drawTextCentred(image, largeFont(), "ORVEX VARDEL", 160.0, 18.0, title, cream);
    drawTextCentred(image, largeFont(), "PAPER BOATS, CLOUDS, RINGS AND GRIDS", 160.0, 48.0, line,
                    blue);
    const char* const lines[] = {
        "RENDERED IN SOFTWARE, 320 X 240",
        "MUSIC SYNTHESISED AND SEQUENCED",
        "EVERY PICTURE MADE BY CODE",
    };
    double y = 70.0;
    for (const char* text : lines) {
        drawTextCentred(image, largeFont(), text, 160.0, y, line, cream, 0.85);
        y += 12.0;
    }
    drawTextCentred(image, largeFont(), "THANKS FOR WATCHING", 160.0, 212.0,
                    TextStyle{2.0, 2.0, 1.0, 1.0, 0.0}, cream);
    return image;
}

} // namespace vardel::makedata
