#include "shell/VardelApp.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "scene/DataPath.h"
#include "shell/CommandLine.h"
#include "shell/DemoClock.h"
#include "shell/DemoData.h"
#include "shell/DemoMusic.h"
#include "shell/FrameRecorder.h"
#include "shell/HeadlessDisplay.h"
#include "shell/MusicPlayer.h"
#include "shell/SdlDisplay.h"
#include "shell/SoundLibrary.h"
#include "shell/Timeline.h"

#ifndef VARDEL_VERSION
#define VARDEL_VERSION "unknown"
#endif

namespace vardel {

namespace {

int failure(const std::string& text) {
    std::fprintf(stderr, "vardel: %s\n", text.c_str());
    return 1;
}

std::string songFile(const DemoOptions& options) {
    return hostPath(options.dataRoot, musicFile).string();
}

int endOf(PassResult result, const DemoOptions& options) {
    return result == PassResult::PlaybackFailed
               ? failure("cannot start playing the music " + songFile(options))
               : 0;
}

// Headless: as fast as the machine allows, one tick per frame, the music mixed in step and
// thrown away. Without a user to press Escape, a run that cannot reach its end is stopped
// with the reason.
int runHeadless(const DemoOptions& options, DemoData& data, MusicPlayer& player,
                SoundLibrary& library) {
    FrameRecorder recorder({options.shotsDir, options.every, options.hash ? stdout : nullptr});
    std::string reason;
    if (!recorder.prepare(&reason)) {
        return failure(reason);
    }
    const Timeline* timeline = nullptr;
    std::int64_t frames = 0;
    HeadlessDisplay display(options.colorDepth, [&](const FrameBuffer& frame) {
        recorder.record(frame, frames++, timeline->drawnPart());
    });
    FixedStepClock clock;
    OfflineMusic music(player, library);
    Timeline demo(data, display, clock, music);
    timeline = &demo;

    const auto started = std::chrono::steady_clock::now();
    PassResult result = PassResult::Continue;
    while (result == PassResult::Continue) {
        result = demo.pass();
        const TimelineState& state = demo.status();
        if (!recorder.error().empty()) {
            return failure(recorder.error());
        }
        if (state.musicStopped && state.partNumber < 6) {
            return failure("the music gave its end cue during part " +
                           std::to_string(state.partNumber) +
                           ", so the demo cannot end by itself (the cues of " + songFile(options) +
                           " are out of order)");
        }
        if (!state.musicStopped && music.wrapped()) {
            return failure("the music played to its end without the cue that ends part " +
                           std::to_string(state.partNumber) + " (" + songFile(options) + ")");
        }
    }
    std::fflush(stdout);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::fprintf(stderr, "vardel: %lld frames, %.2f s of demo time, in %.2f s\n",
                 static_cast<long long>(frames), demo.status().demoTime / ticksPerSecond,
                 took.count());
    return endOf(result, options);
}

int runOnScreen(const DemoOptions& options, DemoData& data, MusicPlayer& player) {
    DisplayOptions displayOptions;
    displayOptions.colorDepth = options.colorDepth;
    displayOptions.window = options.window;
    const std::unique_ptr<SdlDisplay> display = SdlDisplay::open(displayOptions);
    if (!display) {
        return 1; // the display has said why
    }
    MillisecondClock clock;
    PlayerMusic music(player);
    Timeline demo(data, *display, clock, music);
    return endOf(demo.run(), options);
}

} // namespace

int runVardel(std::span<const std::string> args) {
    DemoOptions options;
    std::string reason;
    if (!parseCommandLine(args, options, reason)) {
        std::fprintf(stderr, "vardel: %s (see vardel --help)\n", reason.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(demoUsage(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("vardel %s\n", VARDEL_VERSION);
        return 0;
    }

    // Made first so that it goes last: the player shuts the sound library down on every way
    // out, returns from here and exits from anywhere alike.
    SoundLibrary library(options.headless ? SoundOutput::Offline : SoundOutput::Device);
    MusicPlayer player(library);

    const auto data = std::make_unique<DemoData>();
    const std::filesystem::path& root = options.dataRoot;
    if (!loadDemoTextures(*data, root, &reason)) {
        static constexpr const char* message = "Couldn't load textures!";
        if (!options.headless) {
            SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "ERROR", message, nullptr);
        }
        return failure(std::string(message) + " " + reason);
    }
    if (!loadDemoScenes(*data, root, &reason)) {
        return failure(reason);
    }
    if (!player.load(songFile(options))) {
        return 1; // the sound library has said why, naming the file
    }
    return options.headless ? runHeadless(options, *data, player, library)
                            : runOnScreen(options, *data, player);
}

} // namespace vardel
