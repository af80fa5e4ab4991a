#pragma once

#include <array>
#include <string_view>

#include "art/Image.h"

namespace vardel::makedata {

// A bitmap font of our own: each glyph a grid of dots, `columns` wide and `rows` high.
class Font {
public:
    struct Glyph {
        char character;
        std::array<const char*, 7> rows; // top down, '#' for a dot, '.' for none
    };

    Font(int columns, int rows, const Glyph* glyphs, int count)
        : cols(columns), rowCount(rows), glyphs(glyphs), count(count) {}

    int columns() const { return cols; }
    int rows() const { return rowCount; }
    bool has(char c) const { return find(c) != nullptr; }
    // Whether the glyph of c has a dot at (column, row); lowercase letters use the capitals,
    // characters without a glyph are blank.
    bool dot(char c, int column, int row) const;

private:
    const Glyph* find(char c) const;

    int cols;
    int rowCount;
    const Glyph* glyphs;
    int count;
};

// Capitals, digits and common punctuation, 5 x 7 dots.
const Font& largeFont();
// Capitals, digits and a little punctuation, 3 x 5 dots, for small print.
const Font& smallFont();

// How a run of text is laid out: the size of one dot in design units, the gap between glyphs
// in dots, the share of each dot cell that is inked (below 1 gives a dotted look), and a
// slant (dots of sideways shift per row from the baseline up).
struct TextStyle {
    double dotWidth = 1.0;
    double dotHeight = 1.0;
    double gap = 1.0;
    double ink = 1.0;
    double slant = 0.0;
};

double textWidth(const Font& font, std::string_view text, const TextStyle& style);
double textHeight(const Font& font, const TextStyle& style);

// Paints text with its top left corner at (x, y) in design units.
void drawText(Image& image, const Font& font, std::string_view text, double x, double y,
              const TextStyle& style, Rgb colour, double opacity = 1.0);
// The same, centred on x.
void drawTextCentred(Image& image, const Font& font, std::string_view text, double x, double y,
                     const TextStyle& style, Rgb colour, double opacity = 1.0);

} // namespace vardel::makedata
