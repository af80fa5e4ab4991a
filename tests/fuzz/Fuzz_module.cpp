// Module loading on arbitrary bytes, through the sound library on its offline output (no audio
// device): the layout check, libopenmpt and the cue table. A module must load or be refused
// with a reason naming it; a loaded one must play, report its status and jump to cues.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "music/SoundLibrary.h"

namespace {

constexpr std::size_t blockFrames = 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vardel::SoundLibrary library(vardel::SoundOutput::Offline);
    library.MIDASstartup();
    library.MIDASinit();
    library.MIDASstartBackgroundPlay(0);
    std::string reason;
    const vardel::MIDASmodule module =
        library.loadModuleFromMemory({data, size}, "fuzz.xm", &reason);
    if (module == 0) {
        if (reason.rfind("fuzz.xm: ", 0) != 0 || reason.size() <= 9) {
            std::abort();
        }
        return 0;
    }
    const double seconds = library.songSeconds(module);
    const vardel::MIDASmodulePlayHandle play = library.MIDASplayModule(module, 1);
    if (play == 0 || !(seconds >= 0.0) || !std::isfinite(seconds)) {
        std::abort();
    }
    static std::vector<float> floats(2 * blockFrames);
    static std::vector<std::int16_t> pcm(2 * blockFrames);
    vardel::MIDASplayStatus status;
    library.renderOffline(std::span(floats));
    library.jumpToCue(play, data[size - 1] & 15); // a loaded module is never empty
    library.renderOffline(std::span(pcm));
    if (!library.MIDASgetPlayStatus(play, &status) || !library.MIDASstopModule(play) ||
        !library.MIDASfreeModule(module)) {
        std::abort();
    }
    return 0;
}
