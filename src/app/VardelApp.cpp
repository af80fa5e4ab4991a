#include "app/VardelApp.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "app/CommandLine.h"
#include "app/DataLocation.h"
#include "app/OfflineModes.h"
#include "app/ProgramMessages.h"
#include "demo/DemoClock.h"
#include "demo/DemoData.h"
#include "demo/DemoMusic.h"
#include "demo/Timeline.h"
#include "music/MusicPlayer.h"
#include "music/SoundLibrary.h"
#include "platform/SdlDisplay.h"

#ifndef VARDEL_VERSION
#define VARDEL_VERSION "unknown"
#endif

namespace vardel {

namespace {

std::string songFile(const DemoOptions& options) {
    return musicPath(options.dataRoot);
}

int endOf(PassResult result, const DemoOptions& options) {
    return result == PassResult::PlaybackFailed
               ? reportFailure("cannot start playing the music " + songFile(options))
               : 0;
}

std::unique_ptr<SdlDisplay> openDisplay(const DemoOptions& options) {
    DisplayOptions displayOptions;
    displayOptions.colorDepth = options.colorDepth;
    displayOptions.window = options.window;
    return SdlDisplay::open(displayOptions);
}

int runOnScreen(const DemoOptions& options, DemoData& data, Display& display, MusicPlayer& player) {
    MillisecondClock clock;
    PlayerMusic music(player);
    Timeline demo(data, display, clock, music);
    demo.startAt(options.part);
    return endOf(demo.run(), options);
}

} // namespace

int runVardel(std::span<const std::string> args) {
    const auto started = std::chrono::steady_clock::now();
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
    SoundLibrary library(options.offline() ? SoundOutput::Offline : SoundOutput::Device);
    if (options.audioOffsetMs) {
        library.setAudioOffset(*options.audioOffsetMs / 1000.0);
    }
    MusicPlayer player(library);

    if (options.dataRoot.empty()) {
        std::error_code error;
        options.dataRoot = chooseDataRoot(std::filesystem::current_path(error), runningProgram());
    }
    const auto data = std::make_unique<DemoData>();
    const std::filesystem::path& root = options.dataRoot;
    if (!loadDemoTextures(*data, root, &reason)) {
        static constexpr const char* message = "Couldn't load textures!";
        if (!options.offline()) {
            SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "ERROR", message, nullptr);
        }
        return reportFailure(std::string(message) + " " + reason);
    }
    if (!loadDemoScenes(*data, root, &reason)) {
        return reportFailure(reason);
    }
    // On screen, the display comes before the sound: without one the demo stops at once,
    // before the sound output has started or said anything.
    std::unique_ptr<SdlDisplay> display;
    if (!options.offline()) {
        display = openDisplay(options);
        if (!display) {
            return 1; // the display has said why
        }
    }
    if (!player.load(songFile(options))) {
        return 1; // the sound library has said why, naming the file
    }
    if (options.bench) {
        const std::chrono::duration<double> loading = std::chrono::steady_clock::now() - started;
        return runBench(options, *data, player, library, loading.count());
    }
    if (!options.capturePath.empty()) {
        return runCapture(options, *data, player, library);
    }
    return options.headless ? runHeadless(options, *data, player, library)
                            : runOnScreen(options, *data, *display, player);
}

} // namespace vardel
