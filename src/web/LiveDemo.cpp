#include "web/LiveDemo.h"

#include <emscripten/html5.h>

#include "demo/DemoData.h"
#include "music/WebAudio.h"
#include "web/PageCalls.h"

namespace vardel {

LiveDemo::LiveDemo(DemoData& data, const PageOptions& options, void* owner)
    : data(data), options(options), owner(owner),
      library(options.muted ? SoundOutput::Offline : SoundOutput::Device, webAudioClock()),
      clock(page::nowMs()) {}

bool LiveDemo::start(std::string& reason) {
    const std::string song = musicPath("/");
    if (!player.load(song)) {
        reason = "cannot load the music " + song;
        return false;
    }
    if (options.muted) {
        music = std::make_unique<OfflineMusic>(player, library);
    } else {
        music = std::make_unique<PlayerMusic>(player);
    }
    timeline.emplace(data, display, clock, *music);
    timeline->startAt(options.part);
    page::status("");
    emscripten_request_animation_frame_loop(&LiveDemo::animationFrame, this);
    return true;
}

int LiveDemo::animationFrame(double time, void* self) {
    return static_cast<LiveDemo*>(self)->pass(time) ? EM_TRUE : EM_FALSE;
}

bool LiveDemo::pass(double timeMs) {
    clock.setFrameTime(timeMs);
    const PassResult result = timeline->pass();
    if (result == PassResult::Continue && timeline->drawnPart() != shownPart) {
        shownPart = timeline->drawnPart();
        page::partShown(shownPart);
    }
    switch (result) {
    case PassResult::Continue:
        return true;
    case PassResult::PlaybackFailed:
        page::fail(("cannot start playing the music " + musicPath("/")).c_str());
        return false;
    case PassResult::Finished:
    case PassResult::Quit:
        player.stop();
        page::ended(result == PassResult::Quit, owner);
        return false;
    }
    return false;
}

} // namespace vardel
