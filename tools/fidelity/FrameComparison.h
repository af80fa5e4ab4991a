#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "demo/Timeline.h"
#include "fidelity/ExactRaster.h"
#include "render/TriangleDrawer.h"

namespace vardel::fidelity {

// How one render call, or a run of them, compares with the exact reference.
struct Tally {
    std::int64_t drawn = 0; // pixels that either renderer changed
    std::int64_t wrong = 0; // of those, pixels more than a texel or a shade level off
    std::int64_t edge = 0;  // pixels that differ only where an edge passes through them

    Tally& operator+=(const Tally& other) {
        drawn += other.drawn;
        wrong += other.wrong;
        edge += other.edge;
        return *this;
    }
};

// A scene renderer for the demo's timeline that, when asked, draws each scene twice from the
// same picture: with the renderer's own rasterizers, whose picture is kept and goes on through
// the demo, and with the exact reference. Every pixel of the two pictures must agree within
// one texel and one shade level, except where a triangle's edge passes through the pixel.
class FrameComparison final : public SceneRenderer {
public:
    FrameComparison();

    // Whether the next render calls are compared (the others draw the renderer's picture only).
    void compareNext(bool compare) { comparing = compare; }
    void draw(Scene& scene, double sceneTime) override;

    // What the compared calls found since the last take, and the pixels found wrong in the
    // last compared call's picture (true where wrong).
    Tally take();
    const std::vector<std::uint32_t>& lastFast() const { return fast; }
    const std::vector<std::uint32_t>& lastExact() const { return exactPicture; }
    const std::vector<std::uint8_t>& lastWrong() const { return wrong; }

private:
    // The colours a reference pixel may take within one texel and one shade level, and whether
    // an edge passes through it.
    struct Allowance {
        std::array<std::uint8_t, 3> low{};
        std::array<std::uint8_t, 3> high{};
        bool edge = false;
        bool set = false;
    };

    class ExactDrawer final : public TriangleDrawer, public exact::PixelObserver {
    public:
        explicit ExactDrawer(FrameComparison& owner) : owner(owner) {}
        void draw(const RasterTriangle& triangle) const override;
        void pixel(const exact::Pixel& found) override;

    private:
        FrameComparison& owner;
        mutable const RasterTriangle* drawing = nullptr; // the triangle being drawn
    };

    bool comparing = false;
    ExactDrawer exactDrawer{*this};
    Tally tally;
    int pitch = 0;
    std::vector<std::uint32_t> before;
    std::vector<std::uint32_t> fast;
    std::vector<std::uint32_t> exactPicture;
    std::vector<Allowance> allowance;
    std::vector<std::uint8_t> wrong;
};

} // namespace vardel::fidelity
