#include "shell/CommandLine.h"

#include <charconv>
#include <utility>

namespace vardel {

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
    bool every = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return nullptr;
            }
            return &args[++i];
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
        } else if (arg == "--data" || arg == "--shots") {
            const std::string* text = value();
            if (text == nullptr) {
                return false;
            }
            if (text->empty()) {
                error = arg + " needs a folder";
                return false;
            }
            (arg == "--data" ? options.dataRoot : options.shotsDir) = *text;
        } else if (arg == "--every") {
            const std::string* text = value();
            if (text == nullptr) {
                return false;
            }
            const char* last = text->data() + text->size();
            const auto [end, problem] = std::from_chars(text->data(), last, options.every);
            if (problem != std::errc() || end != last || options.every < 1) {
                error =
                    "--every needs a whole number of frames of 1 or more, not \"" + *text + "\"";
                return false;
            }
            every = true;
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
    if (every && options.shotsDir.empty()) {
        error = "--every goes with --shots";
        return false;
    }
    if (!options.headless && (!options.shotsDir.empty() || options.hash)) {
        error = std::string(options.hash ? "--hash" : "--shots") + " goes with --headless";
        return false;
    }
    options.colorDepth = depthFromCommandLine(words);
    return true;
}

const char* demoUsage() {
    return "usage: vardel [16|24|32] [--window] [--data DIR] [--headless [--hash]\n"
           "              [--shots DIR [--every N]]] [--help] [--version]\n"
           "Plays the Orvex Vardel demo: loads DIR/data (the textures, scenes and krs.xm), then\n"
           "shows seven parts in step with the music and ends by itself.\n"
           "  16, 24, 32     display depth; without one the display tries 32, 24 and 16 bits\n"
           "  --window       a window at three times 320 x 240 instead of full screen\n"
           "  --data DIR     the folder holding the data folder (default: the current one)\n"
           "  --headless     no window and no sound: the music is mixed in step with the\n"
           "                 frames, one tick (1/60 s) of demo time per frame, as fast as the\n"
           "                 machine allows; the demo ends by itself\n"
           "  --hash         headless: print a line per frame: frame number, part, pixel hash\n"
           "  --shots DIR    headless: write frames as DIR/NNNNNN.png (the frame number)\n"
           "  --every N      with --shots: only every Nth frame, from frame 0 (default 1)\n"
           "  --help         this text\n"
           "  --version      the program's version\n"
           "Keys: Escape ends the demo, n skips to the next part, Alt+Enter switches between\n"
           "full screen and a window, F12 saves the frame on screen as a PNG in the current\n"
           "folder.\n";
}

} // namespace vardel
