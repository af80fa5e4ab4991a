#pragma once

#include <cstdint>
#include <filesystem>

#include "music/SoundApi.h"

namespace vardel {

// The demo's music: one module, played through the sound library and polled once a frame
// for its sync value.
//
// Constructing a player registers its close to run at process exit, so that the library is
// shut down on every way out: on return from main (the destructor closes it then, since the
// object dies before the exit handlers run) and on std::exit from anywhere (the exit handler
// closes it, the object still being alive). Only the player constructed last is closed by
// the exit handler; it must outlive everything but the exit itself, so build it at the start
// of main.
class MusicPlayer {
public:
    explicit MusicPlayer(SoundApi& library);
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Starts the library and its background output, then loads the module. True when it loaded.
    bool load(const std::filesystem::path& fileName);
    // Starts looping playback. True when it started.
    bool play();
    // Starts looping playback at the first row whose cue's low four bits are `nibble`. True
    // when it started there; otherwise nothing plays.
    bool playFromCue(int nibble);
    // Reads the sync value of the music heard now into syncValue; a failed status call keeps
    // the previous value. Returns the library's result.
    bool poll();
    // Stops the music, once; later calls do nothing.
    void stop();
    // Stops what plays, frees what is loaded and shuts the library down. Runs at exit; after
    // it, the exit handler no longer closes this player.
    void close();

    MIDASmodule module = 0;
    MIDASmodulePlayHandle playHandle = 0;
    std::int32_t syncValue = 0;      // from the last poll; 0 before it, never reset
    std::uint32_t songLoopCount = 0; // times the song has wrapped round, from the last poll

private:
    SoundApi& library;
};

} // namespace vardel
