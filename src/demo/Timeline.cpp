#include "demo/Timeline.h"

#include <array>
#include <cmath>
#include <utility>

#include "demo/DemoClock.h"
#include "demo/DemoMusic.h"
#include "platform/Display.h"
#include "render/Render.h"

namespace vardel {

namespace {

constexpr int partCount = 7;
constexpr double leadInTicks = 300.0;        // five seconds of black before the music
constexpr double trailLoopFrames = 420.0;    // scene 3 loops over this many of its frames
constexpr double lightFadeTicks = 255.0;     // the trail parts fade their lights in this long
constexpr double lightFadeEndTicks = 1845.0; // after this the level is left as it is
constexpr double flashTicks = 127.5;         // the white flash of parts 3 and 5 lasts this long
constexpr double fadeOutTicks = 255.0;       // the fade to black after the music's end
constexpr std::array<double, 3> gridRotation = {0, 0, 90};

class CoreRenderer final : public SceneRenderer {
public:
    void draw(Scene& scene, double sceneTime) override { render(scene, sceneTime); }
};

// The grid texture of part 5 for the high bits of a sync value, or none.
const Texture* gridTexture(DemoData& data, std::int32_t highBits) {
    switch (highBits) {
    case 16:
        return &data.texture(Resetke2);
    case 32:
        return &data.texture(Resetke22);
    case 48:
        return &data.texture(Resetke222);
    default:
        return nullptr;
    }
}

// Rows first .. end - 1 of a frame buffer, padding included, made 0.
void clearRows(FrameBuffer& frame, int first, int end) {
    FrameBuffer rows = rowsOf(frame, first, end);
    fillWithZero(rows);
}

} // namespace

SceneRenderer& coreRenderer() {
    static CoreRenderer renderer; // stateless
    return renderer;
}

Timeline::Timeline(DemoData& data, Display& display, DemoClock& clock, DemoMusic& music,
                   SceneRenderer& renderer)
    : data(data), display(display), clock(clock), music(music),
      renderer(renderer), slots{&display.frameBuffer(1), &display.frameBuffer(2),
                                &display.frameBuffer(3)} {
    clock.start();
}

PassResult Timeline::run() {
    PassResult result = PassResult::Continue;
    while (result == PassResult::Continue) {
        result = pass();
    }
    return result;
}

void Timeline::startAt(int part) {
    if (part < 1 || part >= partCount) {
        return;
    }
    state.partNumber = part;
    state.partEntered = true;
    // Part 1 starts the music from its beginning itself; a later part's music begins at the
    // cue that ends the part before it.
    startCue = part >= 2 ? part - 1 : 0;
}

PassResult Timeline::pass() {
    const double ticks = clock.advance();
    state.demoTime += ticks;
    music.advance(ticks);
    if (startCue != 0) {
        const int cue = std::exchange(startCue, 0);
        if (!music.playFromCue(cue)) {
            return PassResult::PlaybackFailed;
        }
    }

    if (music.playing()) {
        state.syncValue = music.poll();
    }
    const std::int32_t nibble = state.syncValue & 15;

    // At most one part change per pass; part 0 ends by time in its own body instead.
    if (state.partNumber >= 1 && state.partNumber <= 5 && nibble == state.partNumber) {
        ++state.partNumber;
        state.partEntered = true;
    }
    if (nibble == 6 && !state.musicStopped) {
        music.stop();
        state.musicStopTime = state.demoTime;
        state.musicStopped = true;
    }

    drawn = state.partNumber;
    if (const PassResult ended = drawPart(); ended != PassResult::Continue) {
        return ended; // nothing is presented
    }
    display.present(*slots.current);

    const DisplayInput input = display.pollInput();
    if (input.quit) {
        return PassResult::Quit;
    }
    pendingSkips += input.skips;
    // A skip waits until the part begun last has run its entry, so that no part's entry
    // (the music's start above all) is passed over.
    if (pendingSkips > 0 && (!state.partEntered || state.partNumber >= partCount)) {
        --pendingSkips;
        ++state.partNumber;
        state.partEntered = true;
    }
    return PassResult::Continue;
}

PassResult Timeline::drawPart() {
    switch (state.partNumber) {
    case 0:
        blackLeadIn();
        break;
    case 1:
        return firstScreen() ? PassResult::Continue : PassResult::PlaybackFailed;
    case 2:
    case 4:
        boatsWithTrails();
        break;
    case 3:
        secondScreen();
        break;
    case 5:
        switchedGrids();
        break;
    case 6:
        return finale() ? PassResult::Continue : PassResult::Finished;
    default:
        break; // past the last part: the last frame is shown again
    }
    return PassResult::Continue;
}

bool Timeline::enter() {
    if (!state.partEntered) {
        return false;
    }
    state.partStart = state.demoTime;
    state.partEntered = false;
    state.loopOffset = 0.0;
    return true;
}

void Timeline::renderInto(Scene& scene, FrameBuffer& slot, double sceneTime, const RowWork& work) {
    scene.target = slot.pixels;
    renderer.drawWithRows(scene, sceneTime, work);
}

void Timeline::renderFlashed(Scene& scene, double sceneTime) {
    FrameBuffer& frame = *slots.current;
    // The flash brightens by 255 at entry, down to 0 at 127.5 ticks, and then no more.
    const double f = 2.0 * elapsed();
    const int flash = f <= 2.0 * flashTicks ? static_cast<int>(255.0 - f) : -1;
    const auto clear = [&](int first, int end) { clearRows(frame, first, end); };
    const auto brighten = [&](int first, int end) { rowsOf(frame, first, end).brighten(flash); };
    renderInto(scene, frame, sceneTime, {clear, flash >= 0 ? RowsCall(brighten) : RowsCall()});
}

void Timeline::blackLeadIn() {
    enter();
    slots.current->clearBuffer();
    if (elapsed() > leadInTicks) {
        ++state.partNumber;
        state.partEntered = true;
    }
}

bool Timeline::firstScreen() {
    if (enter() && !music.play()) {
        return false;
    }
    renderInto(data.scene(4), *slots.current, partTime() / 9.0);
    return true;
}

void Timeline::boatsWithTrails() {
    // Part 4 shows the animation 150 frames later than part 2, and starts without trails.
    const bool again = state.partNumber == 4;
    const double sceneTimeBase = again ? 150.0 : 0.0;
    if (enter()) {
        std::swap(slots.current, slots.spare);
        if (again) {
            slots.current->clearBuffer();
            slots.auxiliary->clearBuffer();
        }
    }
    // Scene time runs at 1/6 of demo time and steps back by whole loops of 420 frames
    // (2520 ticks) whenever it would pass 420.
    const double over = partTime() / 6.0 - trailLoopFrames;
    if (over > 0.0) {
        state.loopOffset += 6.0 * trailLoopFrames * std::ceil(over / trailLoopFrames);
        if (partTime() / 6.0 > trailLoopFrames) { // rounding of the quotient above
            state.loopOffset += 6.0 * trailLoopFrames;
        }
    }

    Scene& boats = data.scene(3);
    const double e = elapsed();
    if (e <= lightFadeTicks) {
        boats.setLightLevel(e / lightFadeTicks);
    } else if (e < lightFadeEndTicks) {
        boats.setLightLevel(1.0);
    }
    // Trails: the auxiliary buffer becomes the mean of the new picture and the one before,
    // and is shown; the new picture is the blend partner of the next pass.
    FrameBuffer& frame = *slots.current;
    frame.destPixels = slots.auxiliary->pixels;
    frame.destPadding = 0;
    const auto blend = [&](int first, int end) { rowsOf(frame, first, end).averageInto(); };
    renderInto(boats, frame, sceneTimeBase + partTime() / 6.0, {RowsCall(), blend});
    std::swap(slots.current, slots.auxiliary);
}

void Timeline::secondScreen() {
    enter();
    renderFlashed(data.scene(5), partTime() / 9.0);
}

void Timeline::switchGrid() {
    const std::int32_t high = state.syncValue >> 4;
    const std::int32_t highBits = state.syncValue & ~15;
    if (high == state.lastSwitchValue || highBits == 0) {
        return;
    }
    SceneObject& grid = *data.gridObject;
    if (const Texture* texture = gridTexture(data, highBits)) {
        grid.applyPlanarMapping(*texture, gridRotation,
                                planarScale(grid, data.texture(Resetke2), ScaleAxes::YX, 1.1));
    }
    state.lastSwitchValue = high;
    state.switchTime = state.demoTime;
}

void Timeline::switchedGrids() {
    if (enter()) {
        state.switchTime = -1.0;
        state.lastSwitchValue = 1;
    }
    switchGrid();
    // The lights flash up at each switch and dim by 0.02 a tick, past 0 until the next one.
    if (state.switchTime != -1.0 && state.switchTime != state.demoTime) {
        data.scene(2).setLightLevel(1.0 - (state.demoTime - state.switchTime) * 0.02);
    }
    renderFlashed(data.scene(2), partTime() / 18.0);
}

bool Timeline::finale() {
    if (enter()) {
        SceneObject& credits = *data.overlayObject;
        const Texture& embora = data.texture(Embora);
        credits.applyPlanarMapping(embora, {0, 0, 0},
                                   planarScale(credits, embora, ScaleAxes::XY, 1.01));
        fillWithZero(*slots.auxiliary);
    }
    // After the music's end the finished picture fades to black; past the fade the demo is
    // over, and nothing more is presented.
    int fade = -1;
    bool over = false;
    if (state.musicStopped) {
        const double e = state.demoTime - state.musicStopTime;
        over = e > fadeOutTicks;
        fade = over ? 255 : static_cast<int>(e);
    }
    FrameBuffer& frame = *slots.current;
    const auto clear = [&](int first, int end) { clearRows(frame, first, end); };
    const auto fadeRows = [&](int first, int end) {
        if (fade >= 0) {
            rowsOf(frame, first, end).fadeToBlack(fade);
        }
    };
    const double t = partTime() * 0.1;
    const bool withCredits = t > 50.0;
    renderInto(data.scene(1), frame, t, {clear, withCredits ? RowsCall() : RowsCall(fadeRows)});
    if (withCredits) {
        // The credits fade in from elapsed 500 to 755 and are added where they are not black.
        const double e = elapsed();
        Scene& credits = data.scene(4);
        credits.setLightLevel(e > 755.0 ? 1.0 : (e - 500.0) / 255.0);
        FrameBuffer& layer = *slots.auxiliary;
        layer.destPixels = frame.pixels;
        layer.destPadding = 0;
        const auto addCredits = [&](int first, int end) {
            rowsOf(layer, first, end).addKeyed();
            fadeRows(first, end);
        };
        renderInto(credits, layer, t, {RowsCall(), addCredits});
    }
    return !over;
}

} // namespace vardel
