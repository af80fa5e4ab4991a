#pragma once

#include <memory>
#include <optional>
#include <string>

#include "demo/DemoMusic.h"
#include "demo/Timeline.h"
#include "music/MusicPlayer.h"
#include "music/SoundLibrary.h"
#include "web/AnimationFrameClock.h"
#include "web/PageOptions.h"
#include "web/WebDisplay.h"

namespace vardel {

struct DemoData;

// One showing of the demo on the page: the timeline driven by animation frames, drawing to the
// canvas, with the music on Web Audio (or, muted, mixed in step with demo time and thrown
// away, so that the parts still change on their cues). When it ends the page is told, with
// `owner` for the call that plays it again.
class LiveDemo {
public:
    LiveDemo(DemoData& data, const PageOptions& options, void* owner);
    LiveDemo(const LiveDemo&) = delete;
    LiveDemo& operator=(const LiveDemo&) = delete;

    // Loads the music and starts the frames. False, with the reason, when the music does not
    // load.
    bool start(std::string& reason);

private:
    static int animationFrame(double time, void* self);
    bool pass(double timeMs); // false when the demo is over

    DemoData& data;
    PageOptions options;
    void* owner;
    SoundLibrary library;
    MusicPlayer player{library};
    WebDisplay display;
    AnimationFrameClock clock;
    std::unique_ptr<DemoMusic> music;
    std::optional<Timeline> timeline;
    int shownPart = -1;
};

} // namespace vardel
