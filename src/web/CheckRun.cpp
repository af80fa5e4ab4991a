#include "web/CheckRun.h"

#include <emscripten/eventloop.h>

#include <cstdio>

#include "capture/FrameHash.h"
#include "demo/DemoData.h"
#include "web/PageCalls.h"

namespace vardel {

namespace {
// Each batch renders for about this long, or this many frames where the page's clock stands
// still while it runs (a headless browser's virtual time), before the page gets to draw its
// progress.
constexpr double batchMs = 40.0;
constexpr int batchFrames = 60;
constexpr std::size_t lineBytes = 40; // "<frame> <part> <16 hex digits>\n" and then some
} // namespace

CheckRun::CheckRun(DemoData& data, std::int64_t frames) : data(data), frameCount(frames) {}

bool CheckRun::start(std::string& reason) {
    const std::string song = musicPath("/");
    if (!player.load(song)) {
        reason = "cannot load the music " + song;
        return false;
    }
    OfflineRun::Settings settings;
    settings.frameLimit = frameCount;
    settings.songFile = song;
    lines.reserve(static_cast<std::size_t>(frameCount) * lineBytes);
    run.emplace(data, player, library, settings,
                [this](const FrameBuffer& frame, std::int64_t number, int part) {
                    char line[lineBytes + 24];
                    const int length = hashLine(line, sizeof line, number, part, frameHash(frame));
                    lines.append(line, static_cast<std::size_t>(length));
                });
    emscripten_set_timeout(&CheckRun::nextBatch, 0.0, this);
    return true;
}

void CheckRun::nextBatch(void* self) {
    auto& run = *static_cast<CheckRun*>(self);
    if (run.runBatch()) {
        emscripten_set_timeout(&CheckRun::nextBatch, 0.0, self);
    }
}

bool CheckRun::runBatch() {
    const double started = page::nowMs();
    bool going = true;
    for (int n = 0; going && n < batchFrames && page::nowMs() - started < batchMs; ++n) {
        going = run->step();
    }
    renderMs += page::nowMs() - started;
    if (going) {
        std::snprintf(statusText, sizeof statusText, "checking: frame %lld of %lld",
                      static_cast<long long>(run->frames()), static_cast<long long>(frameCount));
        page::status(statusText);
        return true;
    }
    if (!run->failure().empty()) {
        page::fail(run->failure().c_str());
        return false;
    }
    const double seconds = renderMs / 1000.0;
    page::checkDone(lines.c_str(), seconds > 0.0 ? double(run->frames()) / seconds : 0.0);
    return false;
}

} // namespace vardel
