#include "capture/OfflineRun.h"

namespace vardel {

OfflineRun::OfflineRun(DemoData& data, MusicPlayer& player, SoundLibrary& library,
                       Settings chosen, FrameSink frames, OfflineMusic::AudioSink audio)
    : settings(std::move(chosen)), frameSink(std::move(frames)),
      display(settings.colorDepth,
              [this](const FrameBuffer& frame) {
                  if (frameSink) {
                      frameSink(frame, display.presentedFrames() - 1, demo.drawnPart());
                  }
              }),
      clock(settings.ticksPerFrame), music(player, library, std::move(audio)),
      demo(data, display, clock, music, chooseRenderer(settings, banded)) {
    if (settings.startPart > 0) {
        demo.startAt(settings.startPart);
    }
}

SceneRenderer& OfflineRun::chooseRenderer(const Settings& settings,
                                          std::unique_ptr<BandedRenderer>& banded) {
    if (settings.renderer != nullptr) {
        return *settings.renderer;
    }
    if (settings.threads >= 2) {
        banded = std::make_unique<BandedRenderer>();
        return *banded;
    }
    return coreRenderer();
}

bool OfflineRun::step() {
    if (lastResult != PassResult::Continue || !problem.empty()) {
        return false;
    }
    lastResult = demo.pass();
    const TimelineState& state = demo.status();
    if (state.musicStopped && state.partNumber < 6) {
        problem = "the music gave its end cue during part " + std::to_string(state.partNumber) +
                  ", so the demo cannot end by itself (the cues of " + settings.songFile +
                  " are out of order)";
    } else if (!state.musicStopped && music.wrapped()) {
        problem = "the music played to its end without the cue that ends part " +
                  std::to_string(state.partNumber) + " (" + settings.songFile + ")";
    } else if (lastResult == PassResult::PlaybackFailed) {
        problem = "cannot start playing the music " + settings.songFile;
    }
    if (!problem.empty()) {
        return false;
    }
    if (settings.frameLimit > 0 && frames() >= settings.frameLimit) {
        lastResult = PassResult::Finished;
    }
    return lastResult == PassResult::Continue;
}

} // namespace vardel
