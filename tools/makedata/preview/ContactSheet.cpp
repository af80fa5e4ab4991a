// contact-sheet: renders every scene of a generated data folder at a few scene times, as the
// demo's parts show them, into one labelled PNG.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "art/Font.h"
#include "effects/FrameBuffer.h"
#include "image/PngWriter.h"
#include "preview/DemoScenes.h"
#include "render/Render.h"

namespace {

using namespace vardel;
using namespace vardel::makedata;

constexpr int kFrameWidth = 320;
constexpr int kFrameHeight = 240;
constexpr int kColumns = 4;
constexpr int kGap = 6;
constexpr int kLabel = 14;

const char* const kUsage =
    "usage: contact-sheet [--help] DATA_ROOT OUTPUT.png [FRAME_PREFIX]\n"
    "Renders the scenes in DATA_ROOT/data at a few times each, with the textures mapped as\n"
    "the demo maps them, into one labelled PNG; with FRAME_PREFIX also every frame on its own\n"
    "as FRAME_PREFIX-ROW-COLUMN.png.\n";

// One frame of the sheet: a scene at a time, with what the part does before rendering.
struct Shot {
    int scene;
    double time;
    TextureId grid = Resetke2; // the wall's grid, for the beat part
    bool credits = false;      // the finale: add the credits screen over the frame
};

struct Row {
    const char* title;
    std::array<Shot, kColumns> shots;
};

const Row kRows[] = {
    {"PART 1  TITLE  SCREEN.LWS", {{{4, 0}, {4, 30}, {4, 60}, {4, 100}}}},
    {"PART 2  CLOUDS  BRODIC3.LWS", {{{3, 0}, {3, 80}, {3, 160}, {3, 300}}}},
    {"PART 3  CHART  SCREEN.LWS", {{{5, 0}, {5, 30}, {5, 60}, {5, 100}}}},
    {"PART 4  CLOUDS AGAIN  BRODIC3.LWS", {{{3, 190}, {3, 260}, {3, 340}, {3, 450}}}},
    {"PART 5  GRIDS  BRODIC2.LWS",
     {{{2, 5, Resetke2}, {2, 35, Resetke22}, {2, 70, Resetke222}, {2, 104, Resetke2}}}},
    {"PART 6  FINALE  BRODIC1.LWS + CREDITS",
     {{{1, 10, Resetke2, true},
       {1, 65, Resetke2, true},
       {1, 120, Resetke2, true},
       {1, 200, Resetke2, true}}}},
};

class Sheet {
public:
    Sheet(int width, int height)
        : w(width), h(height), pixels(static_cast<std::size_t>(width) * height, 0x202020u) {}

    void place(const std::vector<std::uint32_t>& frame, int x, int y) {
        for (int row = 0; row < kFrameHeight; ++row) {
            std::copy_n(&frame[static_cast<std::size_t>(row * kFrameWidth)], kFrameWidth,
                        &pixels[static_cast<std::size_t>((y + row) * w + x)]);
        }
    }

    void label(const std::string& text, int x, int y, std::uint32_t colour) {
        const Font& font = largeFont();
        for (std::size_t i = 0; i < text.size(); ++i) {
            for (int row = 0; row < font.rows(); ++row) {
                for (int column = 0; column < font.columns(); ++column) {
                    const int px = x + static_cast<int>(i) * (font.columns() + 1) + column;
                    if (font.dot(text[i], column, row) && px < w && y + row < h) {
                        pixels[static_cast<std::size_t>((y + row) * w + px)] = colour;
                    }
                }
            }
        }
    }

    bool write(const std::string& path, std::string& reason) const {
        return writePng(path, pixels.data(), w, h, 0, &reason);
    }

private:
    int w;
    int h;
    std::vector<std::uint32_t> pixels;
};

void renderInto(Scene& scene, std::vector<std::uint32_t>& frame, double time) {
    scene.target = frame.data();
    render(scene, time);
}

// Draws one shot the way its part does: a cleared frame, the grid mapped for the beat part,
// and in the finale the credits screen rendered apart and added where it is not black.
void shoot(DemoScenes& demo, const Shot& shot, std::vector<std::uint32_t>& frame,
           std::vector<std::uint32_t>& overlay) {
    std::fill(frame.begin(), frame.end(), 0u);
    if (shot.scene == 2) {
        demo.mapGrid(shot.grid);
    }
    renderInto(demo.scene(shot.scene), frame, shot.time);
    if (shot.credits && shot.time > 50.0) {
        demo.mapCredits();
        std::fill(overlay.begin(), overlay.end(), 0u);
        // The credits fade in from scene time 50 to 75.5 (elapsed 500 to 755 ticks).
        demo.scene(4).setLightLevel(std::min(1.0, (shot.time * 10.0 - 500.0) / 255.0));
        renderInto(demo.scene(4), overlay, shot.time);
        FrameBuffer layer;
        layer.pixels = overlay.data();
        layer.width = kFrameWidth;
        layer.height = kFrameHeight;
        layer.destPixels = frame.data();
        layer.destWidth = kFrameWidth;
        layer.destHeight = kFrameHeight;
        layer.addKeyed();
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 3 && argc != 4) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    auto demo = std::make_unique<DemoScenes>();
    std::string reason;
    if (!demo->load(argv[1], reason)) {
        std::fprintf(stderr, "contact-sheet: %s\n", reason.c_str());
        return 1;
    }

    const int rows = static_cast<int>(std::size(kRows));
    const int cellHeight = kLabel + kFrameHeight + kGap;
    Sheet sheet(kGap + kColumns * (kFrameWidth + kGap), kGap + rows * (cellHeight + kLabel));
    std::vector<std::uint32_t> frame(kFrameWidth * kFrameHeight);
    std::vector<std::uint32_t> overlay(kFrameWidth * kFrameHeight);
    for (int r = 0; r < rows; ++r) {
        const int top = kGap + r * (cellHeight + kLabel);
        sheet.label(kRows[r].title, kGap, top + 2, 0xFFE0A0u);
        for (int c = 0; c < kColumns; ++c) {
            const Shot& shot = kRows[r].shots[static_cast<std::size_t>(c)];
            shoot(*demo, shot, frame, overlay);
            const int x = kGap + c * (kFrameWidth + kGap);
            char time[32];
            std::snprintf(time, sizeof time, "T = %g", shot.time);
            sheet.label(time, x, top + kLabel + 2, 0xC0C0C0u);
            sheet.place(frame, x, top + 2 * kLabel);
            if (argc == 4) {
                const std::string name = std::string(argv[3]) + "-" + std::to_string(r + 1) + "-" +
                                         std::to_string(c + 1) + ".png";
                if (!writePng(name, frame.data(), kFrameWidth, kFrameHeight, 0, &reason)) {
                    std::fprintf(stderr, "contact-sheet: %s\n", reason.c_str());
                    return 1;
                }
            }
        }
    }
    if (!sheet.write(argv[2], reason)) {
        std::fprintf(stderr, "contact-sheet: %s\n", reason.c_str());
        return 1;
    }
    return 0;
}
