#pragma once

#include <cstdint>

namespace vardel {

// Handles of the sound library: 0 means none.
using MIDASmodule = std::uint32_t;
using MIDASmodulePlayHandle = std::uint32_t;

// What the play status call reports: five 32-bit values, the fourth the sync value.
struct MIDASplayStatus {
    std::uint32_t position = 0;      // order number of the row being heard
    std::uint32_t pattern = 0;       // its pattern
    std::uint32_t row = 0;           // its row
    std::int32_t syncInfo = 0;       // the last W cue heard (0 before any)
    std::uint32_t songLoopCount = 0; // times the song has wrapped round
};
static_assert(sizeof(MIDASplayStatus) == 20);

// The sound library's calls as the music player makes them. Calls that report success return
// true; the load and play calls return 0 on failure. All calls come from one thread.
class SoundApi {
public:
    virtual ~SoundApi() = default;

    // Resets the library to its defaults. Call first.
    virtual bool MIDASstartup() = 0;
    // Brings up the sound output system.
    virtual bool MIDASinit() = 0;
    // Starts mixing and output in a thread of the library's own; pollRate 0 is the default.
    virtual bool MIDASstartBackgroundPlay(int pollRate) = 0;
    // Loads a module file; 0, with the reason on stderr, when it cannot be loaded.
    virtual MIDASmodule MIDASloadModule(const char* fileName) = 0;
    // Starts the module from its beginning, audible at once; loopSong non-zero makes the song
    // start over at its end. Returns 0 when the module cannot play.
    virtual MIDASmodulePlayHandle MIDASplayModule(MIDASmodule module, int loopSong) = 0;
    // The position and sync value of the music heard now.
    virtual bool MIDASgetPlayStatus(MIDASmodulePlayHandle playHandle, MIDASplayStatus* status) = 0;
    // Silences the playing module at once; its handle is then no longer valid.
    virtual bool MIDASstopModule(MIDASmodulePlayHandle playHandle) = 0;
    virtual bool MIDASfreeModule(MIDASmodule module) = 0;
    virtual bool MIDASstopBackgroundPlay() = 0;
    // Stops everything, frees every module and shuts the output system down.
    virtual bool MIDASclose() = 0;

    // Beyond the classic calls: moves the playing module to the first row whose cue's low four
    // bits are `nibble`, so that the music can start at a later part. False when it cannot.
    virtual bool jumpToCue(MIDASmodulePlayHandle playHandle, int nibble) {
        (void)playHandle;
        (void)nibble;
        return false;
    }
};

} // namespace vardel
