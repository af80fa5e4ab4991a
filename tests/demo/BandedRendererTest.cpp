// The two-thread renderer's work on the rows around its drawing: every row is readied once
// before it is drawn and finished once after, by whichever thread draws it, and the pictures
// are those of the one-thread renderer doing the same work on all rows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "TinyDemo.h"
#include "demo/BandedRenderer.h"

namespace vardel {
namespace {

// Rows readied with a colour of their own, and finished by brightening what was drawn there:
// readied after the drawing, a row would show the colour; finished before, it would not be
// brightened.
struct MarkedRows {
    explicit MarkedRows(const Scene& scene)
        : scene(scene), readied(static_cast<std::size_t>(scene.height)),
          finished(static_cast<std::size_t>(scene.height)) {}

    RowWork work() { return {RowsCall(before), RowsCall(after)}; }

    const Scene& scene;
    std::vector<int> readied; // a count per row: bands never share a row
    std::vector<int> finished;
    std::function<void(int, int)> before = [this](int first, int end) {
        for (int y = first; y < end; ++y) {
            ++readied[static_cast<std::size_t>(y)];
            std::fill_n(scene.target + y * scene.width, scene.width, 0x00203040u);
        }
    };
    std::function<void(int, int)> after = [this](int first, int end) {
        for (int y = first; y < end; ++y) {
            ++finished[static_cast<std::size_t>(y)];
            std::uint32_t* row = scene.target + y * scene.width;
            for (int x = 0; x < scene.width; ++x) {
                row[x] = (row[x] & 0x00FEFEFEu) >> 1 | 0x00808080u;
            }
        }
    };
};

TEST(BandedRenderer, RowWorkRunsOnEveryRowOnceAroundItsDrawing) {
    const auto data = test::loadTinyDemo();
    BandedRenderer banded;
    for (int number = 1; number <= DemoData::sceneCount; ++number) {
        Scene& scene = data->scene(number);
        const auto size = static_cast<std::size_t>(scene.width) * scene.height;
        std::vector<std::uint32_t> two(size);
        std::vector<std::uint32_t> one(size);
        // Several frames, so that the boundary between the bands moves.
        for (int frame = 0; frame < 12; ++frame) {
            const double sceneTime = frame * 3.5;
            scene.target = two.data();
            MarkedRows rows(scene);
            banded.drawWithRows(scene, sceneTime, rows.work());
            for (int y = 0; y < scene.height; ++y) {
                ASSERT_EQ(rows.readied[static_cast<std::size_t>(y)], 1)
                    << "scene " << number << " frame " << frame << " row " << y;
                ASSERT_EQ(rows.finished[static_cast<std::size_t>(y)], 1)
                    << "scene " << number << " frame " << frame << " row " << y;
            }
            scene.target = one.data();
            MarkedRows whole(scene);
            coreRenderer().drawWithRows(scene, sceneTime, whole.work());
            ASSERT_EQ(two, one) << "scene " << number << " frame " << frame;
        }
    }
}

} // namespace
} // namespace vardel
