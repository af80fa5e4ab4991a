#include "app/CommandLine.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace vardel {

namespace {

// A whole number in min ... max, and nothing else.
bool readWhole(const std::string& text, int min, int max, int& out) {
    const char* last = text.data() + text.size();
    int value = 0;
    const auto [end, problem] = std::from_chars(text.data(), last, value);
    if (problem != std::errc() || end != last || value < min || value > max) {
        return false;
    }
    out = value;
    return true;
}

// A finite number of seconds above zero.
bool readSeconds(const std::string& text, double& out) {
    const char* last = text.data() + text.size();
    double value = 0.0;
    const auto [end, problem] = std::from_chars(text.data(), last, value);
    if (problem != std::errc() || end != last || !std::isfinite(value) || value <= 0.0) {
        return false;
    }
    out = value;
    return true;
}

// The options that belong to one way of running, and whether that way was chosen.
bool checkCombinations(const DemoOptions& options, bool every, bool fps, bool scale,
                       std::string& error) {
    const int modes = int(options.headless) + int(options.bench) + int(!options.capturePath.empty());
    if (modes > 1) {
        error = "--headless, --bench and --capture each run the demo their own way: choose one";
        return false;
    }
    if (every && options.shotsDir.empty()) {
        error = "--every goes with --shots";
        return false;
    }
    if (!options.headless && (!options.shotsDir.empty() || options.hash)) {
        error = std::string(options.hash ? "--hash" : "--shots") + " goes with --headless";
        return false;
    }
    if (options.capturePath.empty() && (fps || scale || options.quiet)) {
        error = std::string(fps ? "--fps" : scale ? "--scale" : "--quiet") + " goes with --capture";
        return false;
    }
    if (options.lengthSeconds > 0.0 && !options.offline()) {
        error = "--length goes with --headless, --bench or --capture";
        return false;
    }
    if (options.threads != 0 && !options.offline()) {
        error = "--threads goes with --headless, --bench or --capture";
        return false;
    }
    if (options.audioOffsetMs && options.offline()) {
        error = "--audio-offset goes with the demo on screen, not --headless, --bench or --capture";
        return false;
    }
    return true;
}

} // namespace

int depthFromCommandLine(std::string_view words) {
    constexpr std::pair<std::string_view, int> depths[] = {{"16", 16}, {"32", 32}, {"24", 24}};
    for (const auto& [word, depth] : depths) {
        if (words == word) {
            return depth;
        }
    }
    return 0;
}

bool parseCommandLine(std::span<const std::string> args, DemoOptions& options, std::string& error) {
    std::string words;
    bool every = false, fps = false, scale = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        const auto whole = [&](int min, int max, int& out, const char* what) {
            const std::string* text = value();
            if (text != nullptr && !readWhole(*text, min, max, out)) {
                error = arg + " needs " + what + ", not \"" + *text + "\"";
                return false;
            }
            return text != nullptr;
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--window") {
            options.window = true;
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--hash") {
            options.hash = true;
        } else if (arg == "--bench") {
            options.bench = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--data" || arg == "--shots" || arg == "--capture") {
            const std::string* text = value();
            if (text == nullptr) {
                return false;
            }
            if (text->empty()) {
                error = arg + (arg == "--capture" ? " needs a file or folder" : " needs a folder");
                return false;
            }
            (arg == "--data"    ? options.dataRoot
             : arg == "--shots" ? options.shotsDir
                                : options.capturePath) = *text;
        } else if (arg == "--every") {
            if (!whole(1, 1 << 30, options.every, "a whole number of frames of 1 or more")) {
                return false;
            }
            every = true;
        } else if (arg == "--part") {
            if (!whole(1, 6, options.part, "a part number from 1 to 6")) {
                return false;
            }
        } else if (arg == "--audio-offset") {
            int milliseconds = 0;
            if (!whole(0, 1000, milliseconds, "a whole number of milliseconds from 0 to 1000")) {
                return false;
            }
            options.audioOffsetMs = milliseconds;
        } else if (arg == "--threads") {
            if (!whole(1, 2, options.threads, "1 or 2")) {
                return false;
            }
        } else if (arg == "--fps") {
            if (!whole(30, 60, options.fps, "60, 50 or 30")) {
                return false;
            }
            if (options.fps != 60 && options.fps != 50 && options.fps != 30) {
                error = "--fps needs 60, 50 or 30, not \"" + args[i] + "\"";
                return false;
            }
            fps = true;
        } else if (arg == "--scale") {
            if (!whole(1, 8, options.scale, "a whole number from 1 to 8")) {
                return false;
            }
            scale = true;
        } else if (arg == "--length") {
            const std::string* text = value();
            if (text == nullptr) {
                return false;
            }
            if (!readSeconds(*text, options.lengthSeconds)) {
                error = "--length needs a number of seconds above 0, not \"" + *text + "\"";
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            words += words.empty() ? arg : " " + arg;
        }
    }
    if (options.help || options.version) {
        return true;
    }
    if (!checkCombinations(options, every, fps, scale, error)) {
        return false;
    }
    options.colorDepth = depthFromCommandLine(words);
    return true;
}

const char* demoUsage() {
    return "usage: vardel [16|24|32] [--window] [--data DIR] [--part N] [--audio-offset MS]\n"
           "       vardel --headless [--hash] [--shots DIR [--every N]] [--length S] [--part N]\n"
           "       vardel --capture OUT [--fps N] [--scale N] [--length S] [--quiet] [--part N]\n"
           "       vardel --bench [--length S] [--part N]\n"
           "       (the last three also take [--threads N])\n"
           "Plays the Orvex Vardel demo: loads DIR/data (the textures, scenes and krs.xm), then\n"
           "shows seven parts in step with the music and ends by itself.\n"
           "  16, 24, 32     display depth; without one the display tries 32, 24 and 16 bits\n"
           "  --window       a window at three times 320 x 240 instead of full screen\n"
           "  --data DIR     the folder holding the data folder (default: the current folder\n"
           "                 when it has one, else the installed data)\n"
           "  --part N       start at part N (1 to 6), the music at that part's cue\n"
           "  --audio-offset MS\n"
           "                 on screen: the sound is heard MS milliseconds (0 to 1000) after\n"
           "                 it leaves SDL's buffer, and each cue waits as long; raise it when\n"
           "                 flashes come before the beat (default: one SDL buffer, 23 ms, on\n"
           "                 PulseAudio or PipeWire, else 0)\n"
           "  --headless     no window and no sound: the music is mixed in step with the\n"
           "                 frames, one tick (1/60 s) of demo time per frame, as fast as the\n"
           "                 machine allows; the demo ends by itself\n"
           "  --hash         headless: print a line per frame: frame number, part, pixel hash\n"
           "  --shots DIR    headless: write frames as DIR/NNNNNN.png (the frame number)\n"
           "  --every N      with --shots: only every Nth frame, from frame 0 (default 1)\n"
           "  --capture OUT  record the demo: OUT ending in .mp4 (H.264 + AAC), .mkv (H.264 +\n"
           "                 Opus) or .webm (VP9 + Opus) is a video made by ffmpeg (on PATH);\n"
           "                 any other OUT is a folder for NNNNNN.png frames and audio.wav\n"
           "  --fps N        capture: 60 (default), 50 or 30 frames per second\n"
           "  --scale N      capture: pixels scaled up N times, nearest neighbour (default 3\n"
           "                 for a video, 960 x 720; 1 for a folder)\n"
           "  --quiet        capture: no progress bar\n"
           "  --length S     headless, capture, bench: stop after S seconds of demo time\n"
           "  --bench        play headless as fast as possible and report frames per second\n"
           "                 and frame times per part, and the time loading took\n"
           "  --threads N    headless, capture, bench: fill the picture on N threads, 1 or 2\n"
           "                 (default: 2 on a machine with two cores or more); the frames are\n"
           "                 the same either way\n"
           "  --help         this text\n"
           "  --version      the program's version\n"
           "Keys: Escape ends the demo, n skips to the next part, Alt+Enter switches between\n"
           "full screen and a window, F12 saves the frame on screen as a PNG in the current\n"
           "folder.\n";
}

} // namespace vardel
