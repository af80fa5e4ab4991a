#include "app/MusicTool.h"

#include <libopenmpt/libopenmpt.hpp>

#include <cstdio>
#include <optional>
#include <ostream>
#include <vector>

#include "capture/WavWriter.h"
#include "music/LoadedModule.h"
#include "music/ModuleMixer.h"
#include "music/PcmConversion.h"

namespace vardel {

namespace {

constexpr const char* usage =
    "usage: vardel-music FILE.xm [--wav OUT.wav]\n"
    "Plays the module once through, as the demo does, and lists each sync cue (W command)\n"
    "as the player reaches it: order, row, time in seconds and value in hex; then the\n"
    "song's length.\n"
    "  --wav OUT.wav  also write the song to OUT.wav (16-bit stereo, 44100 Hz)\n"
    "  --help         show this text\n";

// Stops a song that never ends (one that keeps jumping to rows it has not played yet).
constexpr std::int64_t maxFrames = std::int64_t{mixRate} * 3600;
constexpr std::size_t blockFrames = 4096;

struct Options {
    std::string module;
    std::optional<std::string> wav;
    bool help = false;
};

// Parses the words; on a mistake returns nothing and puts the complaint in `problem`.
std::optional<Options> parse(std::span<const std::string> args, std::string& problem) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--help" || word == "-h") {
            options.help = true;
        } else if (word == "--wav") {
            if (i + 1 >= args.size()) {
                problem = "--wav needs a file name";
                return std::nullopt;
            }
            options.wav = args[++i];
        } else if (word.size() > 1 && word[0] == '-') {
            problem = "unknown option " + word;
            return std::nullopt;
        } else if (!options.module.empty()) {
            problem = "more than one module file (" + options.module + ", " + word + ")";
            return std::nullopt;
        } else {
            options.module = word;
        }
    }
    if (options.module.empty() && !options.help) {
        problem = "no module file given";
        return std::nullopt;
    }
    return options;
}

std::string seconds(std::int64_t frames) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", double(frames) / mixRate);
    return text;
}

std::string minutes(std::int64_t frames) {
    const std::int64_t milliseconds = (frames * 1000 + mixRate / 2) / mixRate;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%06.3f", static_cast<long long>(milliseconds / 60000),
                  double(milliseconds % 60000) / 1000.0);
    return text;
}

void printCue(std::ostream& out, const RowEvent& row) {
    char line[64];
    std::snprintf(line, sizeof line, "%5d %4d %9s  0x%02X\n", row.order, row.row,
                  seconds(row.frame).c_str(), static_cast<unsigned>(row.sync));
    out << line;
}

} // namespace

int runMusicTool(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    std::string problem;
    const std::optional<Options> options = parse(args, problem);
    if (!options) {
        err << "vardel-music: " << problem << "\n" << usage;
        return 2;
    }
    if (options->help) {
        out << usage;
        return 0;
    }
    std::unique_ptr<LoadedModule> module = loadModuleFile(options->module, &problem);
    if (module == nullptr) {
        err << "vardel-music: " << problem << "\n";
        return 1;
    }
    if (!module->warning.empty()) {
        err << "vardel-music: warning: " << module->warning << "\n";
    }
    WavWriter wav;
    if (options->wav && !wav.open(*options->wav, 2, mixRate, &problem)) {
        err << "vardel-music: " << problem << "\n";
        return 1;
    }
    const bool xm = module->player->get_metadata("type") == "xm";
    out << options->module << ": " << module->cues.count() << " sync cues"
        << (xm ? "" : " (not an XM module: only XM modules carry them)") << "\n";
    if (module->cues.count() > 0) {
        out << "order  row      time  value\n";
    }

    ModuleMixer mixer;
    mixer.start(*module, false);
    std::vector<float> block(2 * blockFrames);
    std::vector<std::int16_t> pcm(block.size());
    std::int64_t songFrames = 0;
    std::uint64_t rowsSeen = 0;
    std::uint64_t rowsPlayed = 0;
    while (!mixer.ended() && songFrames < maxFrames) {
        const std::size_t played = mixer.mix(block);
        songFrames += static_cast<std::int64_t>(played);
        const RowHistory& rows = mixer.rows();
        for (std::uint64_t i = std::max(rowsSeen, rows.oldestKept()); i < rows.size(); ++i) {
            if (rows.at(i).cue) {
                printCue(out, rows.at(i));
            }
        }
        rowsPlayed += rows.size() - rowsSeen;
        rowsSeen = rows.size();
        if (options->wav) {
            floatToPcm16(std::span(block).first(2 * played), pcm);
            wav.write(std::span(pcm).first(2 * played));
        }
    }
    if (!mixer.ended()) {
        err << "vardel-music: " << options->module << ": the song runs for over an hour; "
            << "stopped there\n";
        return 1;
    }
    out << "length " << seconds(songFrames) << " s (" << minutes(songFrames) << "), " << rowsPlayed
        << " rows\n";
    if (options->wav) {
        if (!wav.finish(&problem)) {
            err << "vardel-music: " << problem << "\n";
            return 1;
        }
        out << "wrote " << *options->wav << "\n";
    }
    return 0;
}

} // namespace vardel
