// The newspaper the boats are folded from. The page is drawn in design units 480 wide and
// 320 high and stored 256 texels wide: the boats stretch it sideways about that much, so on
// a boat the print comes out upright and in proportion.

#include <cmath>
#include <string>

#include "art/Font.h"
#include "art/Noise.h"
#include "art/Random.h"
#include "art/Shapes.h"
#include "art/Vector.h"
#include "textures/Textures.h"

namespace vardel::makedata {

namespace {

constexpr double kWidth = 480.0;
constexpr double kHeight = 320.0;
constexpr double kMargin = 10.0;
const Rgb kInk = hex(0x25221E);

const TextStyle kPrint{1.05, 1.25, 1.0, 1.0, 0.0};  // body text, small font
const TextStyle kSubhead{1.5, 1.9, 1.0, 1.0, 0.0};  // column heads, large font
const TextStyle kHeadline{3.5, 4.0, 1.0, 1.0, 0.0}; // the front-page headline
const TextStyle kMasthead{5.0, 4.6, 1.0, 1.0, 0.0}; // the paper's name

// Made-up words from a few syllables: it reads as print without saying anything.
std::string makeWord(Random& random) {
    static const char* const kSyllables[] = {"ba", "do", "ri",  "vel", "mor", "an", "ka", "te",
                                             "lo", "si", "nu",  "pra", "zen", "ot", "ul", "ve",
                                             "ra", "mi", "sto", "ne",  "kro", "li", "da", "po"};
    std::string word;
    const int count = 1 + random.below(3);
    for (int i = 0; i < count; ++i) {
        word += kSyllables[random.below(24)];
    }
    return word;
}

// Fills a column with paragraphs of small print from `top` down to `bottom`.
void printColumn(Image& page, Random& random, double left, double right, double top,
                 double bottom) {
    const double lineHeight = 7.6;
    const double width = right - left;
    bool paragraphStart = true;
    for (double y = top; y + textHeight(smallFont(), kPrint) <= bottom; y += lineHeight) {
        std::string line = paragraphStart ? "  " : "";
        while (true) {
            const std::string word = makeWord(random);
            const std::string longer = line.empty() ? word : line + " " + word;
            if (textWidth(smallFont(), longer, kPrint) > width) {
                break;
            }
            line = longer;
        }
        // About one line in seven ends a paragraph early.
        paragraphStart = random.chance(0.14);
        if (paragraphStart) {
            line = line.substr(0, line.size() * 2 / 3);
        }
        drawText(page, smallFont(), line, left, y, kPrint, kInk);
    }
}

void rule(Image& page, double left, double right, double y, double thickness) {
    page.paint(rect(left, y, right, y + thickness), kInk);
}

// The front-page photograph: a paper boat on a swell under a low sun, given as darkness
// from 0 (paper) to 1 (full ink) over the unit square.
double photoDarkness(double x, double y) {
    double dark = 0.12 + 0.25 * y;
    const double sun = std::hypot(x - 0.7, (y - 0.42) * 1.3);
    dark -= 0.25 * smoothstep(0.2, 0.08, sun);
    if (y > 0.55) {
        const double wave = std::sin(x * 38.0 + std::sin(y * 21.0) * 2.0 + y * 60.0);
        dark = 0.5 + 0.2 * y + 0.15 * wave;
        dark -= 0.3 * smoothstep(0.12, 0.0, std::abs(x - 0.7)) * (0.6 + 0.4 * wave);
    }
    // The boat: hull trapezoid and sail triangle.
    const double hullTop = 0.5;
    const double hullBottom = 0.62;
    const double along = (y - hullTop) / (hullBottom - hullTop);
    if (along >= 0.0 && along <= 1.0 && std::abs(x - 0.35) < 0.22 - 0.08 * along) {
        dark = 0.92;
    }
    const double rise = (hullTop - y) / 0.3;
    if (rise >= 0.0 && rise <= 1.0 && std::abs(x - 0.35) < 0.11 * (1.0 - rise)) {
        dark = 0.82;
    }
    return std::clamp(dark + 0.05 * (fractalNoise(x * 9.0, y * 9.0, 3, 77u) - 0.5), 0.0, 1.0);
}

// Halftone: ink dots on a grid turned 45 degrees, each dot's area following the darkness
// of the picture at its centre.
void halftone(Image& page, Box box, double cell) {
    const double k = std::sqrt(0.5);
    const auto inside = [=](double x, double y) {
        const double u = (x + y) * k / cell;
        const double v = (y - x) * k / cell;
        const double cu = std::floor(u) + 0.5;
        const double cv = std::floor(v) + 0.5;
        const double cx = (cu - cv) * k * cell;
        const double cy = (cu + cv) * k * cell;
        const double dark =
            photoDarkness((cx - box.x0) / (box.x1 - box.x0), (cy - box.y0) / (box.y1 - box.y0));
        const double radius = std::sqrt(dark / kPi) * 1.05;
        return std::hypot(u - cu, v - cv) < radius;
    };
    page.paint(makeShape(box, inside), kInk);
}

void paper(Image& page) {
    page.shade([](double x, double y) {
        const double fibre = fractalNoise(x * 0.9, y * 0.12, 3, 5u) - 0.5;
        const double stain = fractalNoise(x * 0.02, y * 0.03, 3, 6u);
        const double edge = std::min({x, y, kWidth - x, kHeight - y});
        const double yellowing = smoothstep(14.0, 0.0, edge) * 0.5 + stain * 0.35;
        return mix(hex(0xEEE9DA), hex(0xD9CBA6), yellowing) + Rgb{1, 1, 1} * (fibre * 10.0);
    });
}

} // namespace

Image newspaperPage() {
    Image page(256, 320, kWidth, kHeight);
    Random random(1914);
    paper(page);
    const double left = kMargin;
    const double right = kWidth - kMargin;

    // Masthead, dateline and rules.
    drawText(page, smallFont(), "VOL. XII  NO. 214", left, 8.0, kPrint, kInk);
    drawText(page, smallFont(), "PRICE TWO COINS",
             right - textWidth(smallFont(), "PRICE TWO COINS", kPrint), 8.0, kPrint, kInk);
    rule(page, left, right, 16.0, 1.0);
    drawTextCentred(page, largeFont(), "THE DAILY FOLD", kWidth * 0.5, 20.0, kMasthead, kInk);
    rule(page, left, right, 56.0, 2.0);
    rule(page, left, right, 60.0, 0.8);
    drawTextCentred(page, smallFont(), "EVENING EDITION - WINDS FROM THE WEST - FAIR SKIES LATER",
                    kWidth * 0.5, 63.5, kPrint, kInk);
    rule(page, left, right, 71.0, 0.8);
    drawTextCentred(page, largeFont(), "PAPER FLEET SETS SAIL", kWidth * 0.5, 77.0, kHeadline,
                    kInk);

    // Three columns under the headline.
    const double gap = 10.0;
    const double columnWidth = (right - left - 2.0 * gap) / 3.0;
    const double columnsTop = 112.0;
    double x[3];
    for (int c = 0; c < 3; ++c) {
        x[c] = left + c * (columnWidth + gap);
    }
    for (int c = 1; c < 3; ++c) {
        page.paint(
            rect(x[c] - gap * 0.5 - 0.4, columnsTop, x[c] - gap * 0.5 + 0.4, kHeight - kMargin),
            kInk);
    }

    // Column 1: the photograph with its caption, then print.
    const Box photo{x[0], columnsTop, x[0] + columnWidth, columnsTop + 92.0};
    halftone(page, photo, 2.6);
    page.paint(rect(photo.x0, photo.y1, photo.x1, photo.y1 + 0.8), kInk);
    drawText(page, smallFont(), "THE FIRST BOAT LEAVES THE BAY", x[0], photo.y1 + 4.0, kPrint,
             kInk);
    printColumn(page, random, x[0], x[0] + columnWidth, photo.y1 + 14.0, kHeight - kMargin);

    // Column 2: a story under its own head.
    drawText(page, largeFont(), "CLOUDS OVER", x[1], columnsTop, kSubhead, kInk);
    drawText(page, largeFont(), "THE HARBOUR", x[1], columnsTop + 16.0, kSubhead, kInk);
    printColumn(page, random, x[1], x[1] + columnWidth, columnsTop + 34.0, 222.0);
    rule(page, x[1], x[1] + columnWidth, 226.0, 1.2);
    drawText(page, largeFont(), "RINGS FOUND", x[1], 232.0, kSubhead, kInk);
    printColumn(page, random, x[1], x[1] + columnWidth, 250.0, kHeight - kMargin);

    // Column 3: a story, then an advertisement in a box, ink reversed.
    drawText(page, largeFont(), "GRIDS GLOW", x[2], columnsTop, kSubhead, kInk);
    drawText(page, largeFont(), "ALL NIGHT", x[2], columnsTop + 16.0, kSubhead, kInk);
    printColumn(page, random, x[2], x[2] + columnWidth, columnsTop + 34.0, 236.0);
    const Box advert{x[2], 242.0, x[2] + columnWidth, kHeight - kMargin};
    page.paint(rect(advert.x0, advert.y0, advert.x1, advert.y1), kInk);
    const Rgb paperWhite = hex(0xEEE9DA);
    drawTextCentred(page, largeFont(), "FOLD YOUR", (advert.x0 + advert.x1) * 0.5, advert.y0 + 10.0,
                    kSubhead, paperWhite);
    drawTextCentred(page, largeFont(), "OWN BOAT", (advert.x0 + advert.x1) * 0.5, advert.y0 + 26.0,
                    kSubhead, paperWhite);
    drawTextCentred(page, smallFont(), "ANY PAGE WILL DO", (advert.x0 + advert.x1) * 0.5,
                    advert.y0 + 48.0, kPrint, paperWhite);
    return page;
}

} // namespace vardel::makedata
