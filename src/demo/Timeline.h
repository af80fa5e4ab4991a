#pragma once

#include <cstdint>

#include "demo/DemoData.h"
#include "demo/RowWork.h"
#include "effects/FrameBuffer.h"

namespace vardel {

class DemoClock;
class DemoMusic;
class Display;

// Draws a scene into its target at a scene time. The demo uses the renderer; tests put a
// recorder in its place.
class SceneRenderer {
public:
    virtual ~SceneRenderer() = default;
    virtual void draw(Scene& scene, double sceneTime) = 0;
    // draw() with work on the target's rows around it. A renderer that splits the rows among
    // threads has each do its own rows' work; this one does all of it on the calling thread.
    virtual void drawWithRows(Scene& scene, double sceneTime, const RowWork& work) {
        work.before(0, scene.height);
        draw(scene, sceneTime);
        work.after(0, scene.height);
    }
};

// The software renderer (render/Render.h).
SceneRenderer& coreRenderer();

// How a pass of the frame loop ended.
enum class PassResult {
    Continue,       // the frame was presented; run the next pass
    Finished,       // the fade after the music's end is complete: the demo is over
    Quit,           // the user pressed Escape or closed the window
    PlaybackFailed, // the music could not start
};

// What the frame loop keeps between passes.
struct TimelineState {
    int partNumber = 0;         // the running part; 7 and above draw nothing
    bool partEntered = true;    // the running part has not done its entry actions yet
    double demoTime = 0.0;      // ticks of 1/60 second since the first pass's clock reading
    double partStart = 0.0;     // demoTime at which the running part was entered
    double loopOffset = 0.0;    // taken off the part's elapsed time to loop its animation
    std::int32_t syncValue = 0; // from the last poll of the music
    bool musicStopped = false;
    double musicStopTime = 0.0;
    std::int32_t lastSwitchValue = 1; // grid switching of part 5
    double switchTime = -1.0;         // -1: no switch yet
};

// The demo's timeline: seven parts (0 to 6) driven by demo time and the music's sync value,
// each drawing one or two scenes per frame into the display's three frame buffers and
// compositing them. One call of pass() is one pass of the frame loop: clock, music, part
// change, the part's drawing, presentation, input. Nothing is allocated per pass.
class Timeline {
public:
    // Reads the clock's starting point; the first pass measures time from here.
    Timeline(DemoData& data, Display& display, DemoClock& clock, DemoMusic& music,
             SceneRenderer& renderer = coreRenderer());
    Timeline(const Timeline&) = delete;
    Timeline& operator=(const Timeline&) = delete;

    // Begins the demo at part 1 ... 6 instead of the black lead-in: the part is entered in the
    // first pass, and from part 2 on the music starts there at the cue that begins the part.
    // Call before the first pass.
    void startAt(int part);

    PassResult pass();
    // Runs passes until one ends the demo, and returns how it ended.
    PassResult run();
    // What the "n" key does: the next part begins in the next pass. Several requests are
    // taken one per pass, so that every part's entry runs.
    void skipPart() { ++pendingSkips; }

    const TimelineState& status() const { return state; }
    // The part whose drawing the last presented frame shows.
    int drawnPart() const { return drawn; }
    // The frame buffer presented at the end of the last pass.
    const FrameBuffer& current() const { return *slots.current; }

private:
    struct Slots {
        FrameBuffer* current;   // drawn into and presented
        FrameBuffer* spare;     // swapped in when the two trail parts begin
        FrameBuffer* auxiliary; // blend partner of the trails, layer of the credits
    };

    // Runs the running part's body; anything but Continue ends the demo.
    PassResult drawPart();
    // Part bodies. The first screen returns false when the music cannot start, the finale
    // when the demo is over; nothing is presented then.
    void blackLeadIn();
    bool firstScreen();
    void boatsWithTrails();
    void secondScreen();
    void switchedGrids();
    bool finale();

    // The common entry actions; true when the running part has just begun.
    bool enter();
    double elapsed() const { return state.demoTime - state.partStart; }
    double partTime() const { return state.demoTime - state.partStart - state.loopOffset; }
    void renderInto(Scene& scene, FrameBuffer& slot, double sceneTime, const RowWork& work = {});
    // Draws the scene into the current buffer cleared, and the white flash of parts 3 and 5
    // over it.
    void renderFlashed(Scene& scene, double sceneTime);
    void switchGrid();

    DemoData& data;
    Display& display;
    DemoClock& clock;
    DemoMusic& music;
    SceneRenderer& renderer;
    Slots slots;
    TimelineState state;
    int drawn = 0;
    int pendingSkips = 0;
    int startCue = 0; // the music starts at this cue in the next pass (0: as the parts say)
};

} // namespace vardel
