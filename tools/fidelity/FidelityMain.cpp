// vardel-fidelity: plays the demo headless and draws every Nth frame's scenes both with the
// renderer's own rasterizers and with the exact reference, and counts the pixels that differ
// by more than a texel or a shade level. Exits 1 when there are any (apart from pixels that an
// edge passes through).

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "capture/OfflineRun.h"
#include "demo/DemoData.h"
#include "fidelity/FrameComparison.h"
#include "image/PngWriter.h"
#include "music/MusicPlayer.h"
#include "music/SoundLibrary.h"

namespace {

using namespace vardel;

const char* const kUsage =
    "usage: vardel-fidelity [--data DIR] [--every N] [--length S] [--shots DIR]\n"
    "Plays the demo headless and draws every Nth frame (default 10) both with the renderer and\n"
    "with the exact reference; prints per part the pixels drawn, the pixels more than a texel or\n"
    "a shade level off, and those that differ only where an edge passes through them.\n"
    "  --data DIR     the folder holding data/ (default: the current folder)\n"
    "  --length S     stop after S seconds of demo time\n"
    "  --shots DIR    for frames with wrong pixels, write NNNNNN-fast.png, -exact.png and\n"
    "                 -wrong.png (the wrong pixels in red) of the frame's last compared scene\n"
    "Exit status: 0 when no pixel is off, 1 when some are or the demo cannot be played.\n";

bool parseCount(std::string_view text, long& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value > 0;
}

int fail(const std::string& text) {
    std::fprintf(stderr, "vardel-fidelity: %s\n", text.c_str());
    return 1;
}

bool writeShots(const std::filesystem::path& dir, std::int64_t frame,
                const fidelity::FrameComparison& comparison, std::string* reason) {
    char name[32];
    std::snprintf(name, sizeof name, "%06lld", static_cast<long long>(frame));
    std::vector<std::uint32_t> marked = comparison.lastFast();
    for (std::size_t i = 0; i < marked.size(); ++i) {
        const std::uint32_t p = marked[i];
        const std::uint32_t grey = ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) / 6;
        marked[i] = comparison.lastWrong()[i] != 0 ? 0x00FF0000u : grey * 0x010101u;
    }
    return writePng(dir / (std::string(name) + "-fast.png"), comparison.lastFast().data(), 320, 240,
                    0, reason) &&
           writePng(dir / (std::string(name) + "-exact.png"), comparison.lastExact().data(), 320,
                    240, 0, reason) &&
           writePng(dir / (std::string(name) + "-wrong.png"), marked.data(), 320, 240, 0, reason);
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path root = ".";
    std::filesystem::path shots;
    long every = 10;
    long seconds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--data" && hasValue) {
            root = argv[++i];
        } else if (arg == "--shots" && hasValue) {
            shots = argv[++i];
        } else if (arg == "--every" && hasValue && parseCount(argv[i + 1], every)) {
            ++i;
        } else if (arg == "--length" && hasValue && parseCount(argv[i + 1], seconds)) {
            ++i;
        } else {
            std::fprintf(stderr, "vardel-fidelity: unknown or incomplete option %s\n%s", argv[i],
                         kUsage);
            return 2;
        }
    }

    SoundLibrary library(SoundOutput::Offline);
    MusicPlayer player(library);
    const auto data = std::make_unique<DemoData>();
    std::string reason;
    if (!loadDemoTextures(*data, root, &reason) || !loadDemoScenes(*data, root, &reason)) {
        return fail(reason);
    }
    const std::string song = musicPath(root);
    if (!player.load(song)) {
        return 1; // the sound library has said why
    }
    if (!shots.empty()) {
        std::filesystem::create_directories(shots);
    }

    fidelity::FrameComparison comparison;
    OfflineRun::Settings settings;
    settings.songFile = song;
    settings.renderer = &comparison;
    settings.frameLimit = seconds * 60;
    OfflineRun run(*data, player, library, settings);
    std::map<int, fidelity::Tally> parts;
    std::map<int, std::int64_t> compared;
    bool going = true;
    while (going) {
        const std::int64_t frame = run.frames();
        comparison.compareNext(frame % every == 0);
        going = run.step();
        const fidelity::Tally found = comparison.take();
        if (frame % every != 0 || run.frames() == frame) {
            continue;
        }
        const int part = run.timeline().drawnPart();
        parts[part] += found;
        ++compared[part];
        if (found.wrong > 0 && !shots.empty() && !writeShots(shots, frame, comparison, &reason)) {
            return fail(reason);
        }
    }
    if (!run.failure().empty()) {
        return fail(run.failure());
    }

    fidelity::Tally all;
    std::printf("part  frames      drawn    wrong   edges\n");
    for (const auto& [part, tally] : parts) {
        std::printf("%-4d %7lld %10lld %8lld %7lld\n", part, static_cast<long long>(compared[part]),
                    static_cast<long long>(tally.drawn), static_cast<long long>(tally.wrong),
                    static_cast<long long>(tally.edge));
        all += tally;
    }
    std::printf("all  %7lld %10lld %8lld %7lld\n", static_cast<long long>(run.frames() / every),
                static_cast<long long>(all.drawn), static_cast<long long>(all.wrong),
                static_cast<long long>(all.edge));
    return all.wrong == 0 ? 0 : 1;
}
