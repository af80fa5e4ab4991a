#include "app/OfflineModes.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/ProgramMessages.h"
#include "capture/BenchReport.h"
#include "capture/Capture.h"
#include "capture/CaptureProgress.h"
#include "capture/FrameRecorder.h"
#include "capture/InterruptSignals.h"
#include "capture/OfflineRun.h"
#include "demo/DemoData.h"
#include "music/MusicPlayer.h"
#include "music/SoundLibrary.h"

namespace vardel {

namespace {

using Clock = std::chrono::steady_clock;

constexpr double leadInSeconds = 5.0;
constexpr double fadeOutSeconds = 255.0 / 60.0;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The threads asked for, or two where the machine has two cores or more.
int renderThreads(const DemoOptions& options) {
    if (options.threads != 0) {
        return options.threads;
    }
    return std::thread::hardware_concurrency() >= 2 ? 2 : 1;
}

OfflineRun::Settings runSettings(const DemoOptions& options, int fps) {
    OfflineRun::Settings settings;
    settings.colorDepth = options.colorDepth;
    settings.ticksPerFrame = ticksPerSecond / fps;
    settings.frameLimit =
        options.lengthSeconds > 0.0 ? std::max<std::int64_t>(1, std::llround(options.lengthSeconds * fps)) : 0;
    settings.startPart = options.part;
    settings.songFile = musicPath(options.dataRoot);
    settings.threads = renderThreads(options);
    return settings;
}

} // namespace

int runHeadless(const DemoOptions& options, DemoData& data, MusicPlayer& player,
                SoundLibrary& library) {
    FrameRecorder recorder({options.shotsDir, options.every, options.hash ? stdout : nullptr});
    std::string reason;
    if (!recorder.prepare(&reason)) {
        return reportFailure(reason);
    }
    OfflineRun run(data, player, library, runSettings(options, 60),
                   [&](const FrameBuffer& frame, std::int64_t number, int part) {
                       recorder.record(frame, number, part);
                   });
    const auto started = Clock::now();
    while (run.step() && recorder.error().empty()) {
    }
    std::fflush(stdout);
    if (!recorder.error().empty()) {
        return reportFailure(recorder.error());
    }
    if (!run.failure().empty()) {
        return reportFailure(run.failure());
    }
    std::fprintf(stderr, "vardel: %lld frames, %.2f s of demo time, in %.2f s\n",
                 static_cast<long long>(run.frames()), run.demoSeconds(), secondsSince(started));
    return 0;
}

int runBench(const DemoOptions& options, DemoData& data, MusicPlayer& player,
             SoundLibrary& library, double loadSeconds) {
    BenchReport report;
    report.setLoadSeconds(loadSeconds);
    report.setThreads(renderThreads(options));
    OfflineRun run(data, player, library, runSettings(options, 60));
    bool going = true;
    while (going) {
        const std::int64_t before = run.frames();
        const auto started = Clock::now();
        going = run.step();
        if (run.frames() > before) { // the last pass of the demo presents nothing
            report.addFrame(run.timeline().drawnPart(), secondsSince(started));
        }
    }
    if (!run.failure().empty()) {
        return reportFailure(run.failure());
    }
    std::fputs(report.text().c_str(), stdout);
    return 0;
}

int runCapture(const DemoOptions& options, DemoData& data, MusicPlayer& player,
               SoundLibrary& library) {
    // Ctrl+C or SIGTERM: the capture stops and removes what it made instead of leaving it.
    const InterruptSignals interrupt;
    Capture capture;
    std::string reason;
    if (!capture.open({options.capturePath, options.fps, options.scale, std::getenv("PATH"),
                       InterruptSignals::flag()},
                      &reason)) {
        return reportFailure(reason);
    }
    OfflineRun run(
        data, player, library, runSettings(options, options.fps),
        [&](const FrameBuffer& frame, std::int64_t, int) { capture.addFrame(frame); },
        [&](std::span<const float> samples) { capture.addAudio(samples); });

    // The whole demo: the lead-in, the song up to its end cue (close to its end) and the fade.
    double total = options.lengthSeconds;
    if (total == 0.0 && options.part == 0) {
        total = leadInSeconds + library.songSeconds(player.module) + fadeOutSeconds;
    }
    CaptureProgress progress(stderr, ::isatty(STDERR_FILENO) != 0, total);
    while (interrupt.caught() == 0 && run.step() && !capture.failed()) {
        if (!options.quiet) {
            progress.update(run.timeline().drawnPart(), run.frames(), run.demoSeconds());
        }
    }
    // Looked at again after each step that a signal may cut short: a write to ffmpeg (the capture
    // then fails, as it does when ffmpeg, which gets a terminal's Ctrl+C too, ends first) and
    // the last encoding and the mux in finish().
    const bool finished =
        interrupt.caught() == 0 && run.failure().empty() && capture.finish(&reason);
    if (const int caught = interrupt.caught(); caught != 0) {
        capture.discard();
        progress.clear();
        std::fprintf(stderr, "vardel: capture to %s interrupted; nothing was written\n",
                     options.capturePath.c_str());
        return InterruptSignals::exitStatus(caught);
    }
    if (!run.failure().empty()) {
        return reportFailure(run.failure());
    }
    if (!finished) {
        return reportFailure("capture to " + options.capturePath.string() + " failed: " + reason);
    }
    if (!options.quiet) {
        progress.done(run.frames(), run.demoSeconds());
    }
    return 0;
}

} // namespace vardel
