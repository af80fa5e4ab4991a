#include "music/MusicPlayer.h"

#include <atomic>
#include <cstdlib>

namespace vardel {

namespace {

// std::atexit runs plain functions without an argument, so the player it closes has to be
// reachable from static storage: this pointer is the music's one mutable global.
std::atomic<MusicPlayer*> playerToClose{nullptr};

void closePlayerAtExit() {
    if (MusicPlayer* player = playerToClose.exchange(nullptr)) {
        player->close();
    }
}

} // namespace

MusicPlayer::MusicPlayer(SoundApi& library) : library(library) {
    static const bool registered = std::atexit(closePlayerAtExit) == 0;
    (void)registered;
    playerToClose.store(this);
}

MusicPlayer::~MusicPlayer() {
    MusicPlayer* self = this;
    if (playerToClose.compare_exchange_strong(self, nullptr)) {
        close();
    }
}

bool MusicPlayer::load(const std::filesystem::path& fileName) {
    library.MIDASstartup();
    library.MIDASinit();
    library.MIDASstartBackgroundPlay(0);
    module = library.MIDASloadModule(fileName.string().c_str());
    return module != 0;
}

bool MusicPlayer::play() {
    playHandle = library.MIDASplayModule(module, 1);
    return playHandle != 0;
}

bool MusicPlayer::playFromCue(int nibble) {
    if (!play()) {
        return false;
    }
    if (!library.jumpToCue(playHandle, nibble)) {
        stop();
        return false;
    }
    return true;
}

bool MusicPlayer::poll() {
    MIDASplayStatus status;
    const bool ok = library.MIDASgetPlayStatus(playHandle, &status);
    if (ok) {
        syncValue = status.syncInfo;
        songLoopCount = status.songLoopCount;
    }
    return ok;
}

void MusicPlayer::stop() {
    if (playHandle != 0) {
        library.MIDASstopModule(playHandle);
    }
    playHandle = 0;
}

void MusicPlayer::close() {
    MusicPlayer* self = this;
    playerToClose.compare_exchange_strong(self, nullptr);
    if (playHandle != 0) {
        library.MIDASstopModule(playHandle);
    }
    if (module != 0) {
        library.MIDASfreeModule(module);
    }
    library.MIDASstopBackgroundPlay();
    library.MIDASclose();
    playHandle = 0;
    module = 0;
}

} // namespace vardel
