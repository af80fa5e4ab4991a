#include "fidelity/FrameComparison.h"

#include <algorithm>
#include <cmath>

#include "render/Render.h"
#include "scene/Texture.h"

namespace vardel::fidelity {

namespace {

std::uint8_t channelOf(std::uint32_t color, int c) {
    return static_cast<std::uint8_t>(color >> (16 - 8 * c) & 0xFFu);
}

} // namespace

FrameComparison::FrameComparison() = default;

void FrameComparison::ExactDrawer::draw(const RasterTriangle& triangle) const {
    drawing = &triangle;
    exact::drawTriangle(triangle, const_cast<ExactDrawer*>(this));
    drawing = nullptr;
}

void FrameComparison::ExactDrawer::pixel(const exact::Pixel& found) {
    Allowance& a = owner.allowance[static_cast<std::size_t>(found.y * owner.pitch + found.x)];
    const bool edge = found.coverage == exact::Coverage::Edge;
    if (!found.drawn) {
        a.edge = a.edge || edge;
        return;
    }
    a.edge = edge;
    a.set = true;
    for (int c = 0; c < 3; ++c) {
        const auto whole = static_cast<int>(found.level[static_cast<std::size_t>(c)]);
        const int lowLevel = std::max(whole - 1, 0);
        const int highLevel = std::min(whole + 1, 255);
        const Texture* texture = drawing->texture;
        if (texture == nullptr) {
            a.low[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(lowLevel);
            a.high[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(highLevel);
            continue;
        }
        // The texel's neighbours within one column and row, scaled by the levels around; off
        // the triangle's own corners, those of the texel by the unheld 1/z too.
        int low = 255;
        int high = 0;
        const auto around = [&](int centreColumn, int centreRow) {
            for (int row = std::max(centreRow - 1, 0);
                 row <= std::min(centreRow + 1, texture->height - 1); ++row) {
                for (int column = std::max(centreColumn - 1, 0);
                     column <= std::min(centreColumn + 1, texture->width - 1); ++column) {
                    const int texel = channelOf(
                        texture->pixels[static_cast<std::size_t>(row * texture->width + column)],
                        c);
                    low = std::min(low, lowLevel * texel / 255);
                    high = std::max(high, highLevel * texel / 255);
                }
            }
        };
        around(found.column, found.row);
        if (found.unheldColumn != found.column || found.unheldRow != found.row) {
            around(found.unheldColumn, found.unheldRow);
        }
        a.low[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(low);
        a.high[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(high);
    }
}

void FrameComparison::draw(Scene& scene, double sceneTime) {
    if (!comparing) {
        render(scene, sceneTime);
        return;
    }
    pitch = scene.width + scene.rowPadding;
    const auto count = static_cast<std::size_t>(pitch) * static_cast<std::size_t>(scene.height);
    std::uint32_t* const target = scene.target;
    before.assign(target, target + count);
    render(scene, sceneTime);
    fast.assign(target, target + count);

    std::copy(before.begin(), before.end(), target);
    allowance.assign(count, Allowance{});
    render(scene, sceneTime, exactDrawer);
    exactPicture.assign(target, target + count);

    wrong.assign(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t mine = fast[i];
        const std::uint32_t theirs = exactPicture[i];
        if (mine == before[i] && theirs == before[i]) {
            continue;
        }
        ++tally.drawn;
        if (mine == theirs) {
            continue;
        }
        const Allowance& a = allowance[i];
        bool within = a.set;
        for (int c = 0; c < 3 && within; ++c) {
            const std::uint8_t value = channelOf(mine, c);
            within = value >= a.low[static_cast<std::size_t>(c)] &&
                     value <= a.high[static_cast<std::size_t>(c)];
        }
        if (within) {
            continue;
        }
        if (a.edge) {
            ++tally.edge;
        } else {
            ++tally.wrong;
            wrong[i] = 1;
        }
    }
    std::copy(fast.begin(), fast.end(), target); // the demo goes on with its own picture
}

Tally FrameComparison::take() {
    const Tally taken = tally;
    tally = {};
    return taken;
}

} // namespace vardel::fidelity
