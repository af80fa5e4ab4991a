// The music player's calls into the sound library, in order, on every way through the demo,
// including the close that runs at process exit.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "music/MusicPlayer.h"

namespace vardel {
namespace {

using Calls = std::vector<std::string>;

// Records the calls as "name:arguments"; loading fails for the file name "missing".
class RecordingLibrary final : public SoundApi {
public:
    Calls calls;
    bool echo = false; // also print each call on stderr (for the exit tests)
    bool statusWorks = true;
    std::int32_t sync = 0;

    bool MIDASstartup() override { return note("startup"); }
    bool MIDASinit() override { return note("init"); }
    bool MIDASstartBackgroundPlay(int rate) override { return note("startBackground", rate); }
    MIDASmodule MIDASloadModule(const char* fileName) override {
        note("loadModule:" + std::string(fileName));
        return std::string(fileName) == "missing" ? 0 : 7;
    }
    MIDASmodulePlayHandle MIDASplayModule(MIDASmodule module, int loopSong) override {
        note("playModule", module, loopSong);
        return 3;
    }
    bool MIDASgetPlayStatus(MIDASmodulePlayHandle play, MIDASplayStatus* status) override {
        status->syncInfo = sync;
        return note("getPlayStatus", play) && statusWorks;
    }
    bool MIDASstopModule(MIDASmodulePlayHandle play) override { return note("stopModule", play); }
    bool MIDASfreeModule(MIDASmodule module) override { return note("freeModule", module); }
    bool MIDASstopBackgroundPlay() override { return note("stopBackground"); }
    bool MIDASclose() override { return note("close"); }

private:
    template <class... Numbers> bool note(std::string call, Numbers... numbers) {
        ((call.push_back(':'), call += std::to_string(numbers)), ...);
        calls.push_back(call);
        if (echo)
            std::fprintf(stderr, "%s ", call.c_str());
        return true;
    }
};

TEST(MusicPlayer, PollTakesTheFourthStatusValueAndKeepsItWhenTheCallFails) {
    RecordingLibrary library;
    MusicPlayer player(library);
    player.load("song.xm");
    player.play();
    EXPECT_EQ(player.syncValue, 0);
    library.sync = 0x24;
    EXPECT_TRUE(player.poll());
    EXPECT_EQ(player.syncValue, 0x24);
    library.statusWorks = false;
    library.sync = 0;
    EXPECT_FALSE(player.poll());
    EXPECT_EQ(player.syncValue, 0x24);
    EXPECT_EQ(library.calls.back(), "getPlayStatus:3");
}

// Each way through the demo and every call it makes up to the end of the process.
const Calls played = {"startup",        "init",         "startBackground:0", "loadModule:song.xm",
                      "playModule:7:1", "stopModule:3", "freeModule:7",      "stopBackground",
                      "close"};
const struct Ending {
    const char* name;
    void (*run)(MusicPlayer&);
    Calls calls;
} endings[] = {
    {"a failed load",
     [](MusicPlayer& p) { p.load("missing"); },
     {"startup", "init", "startBackground:0", "loadModule:missing", "stopBackground", "close"}},
    {"stopped twice",
     [](MusicPlayer& p) {
         p.load("song.xm");
         p.play();
         p.stop();
         p.stop();
     },
     played},
    {"playing",
     [](MusicPlayer& p) {
         p.load("song.xm");
         p.play();
     },
     played},
};

// Closed by hand and then destroyed, or only destroyed when main returns: closed once.
TEST(MusicPlayer, CloseStopsWhatPlaysFreesWhatIsLoadedAndShutsDownOnce) {
    for (const Ending& ending : endings) {
        for (bool byHand : {true, false}) {
            RecordingLibrary library;
            {
                MusicPlayer player(library);
                ending.run(player);
                if (byHand) {
                    player.close();
                    EXPECT_EQ(player.module | player.playHandle, 0u);
                }
            }
            EXPECT_EQ(library.calls, ending.calls) << ending.name << (byHand ? ", by hand" : "");
        }
    }
}

// std::exit from anywhere (the end of the demo, Escape in the window) runs the close.
TEST(MusicPlayerDeathTest, ExitClosesThePlayerOnEveryPath) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const Ending& ending : endings) {
        std::string said = "^";
        for (const std::string& call : ending.calls)
            said += call + " ";
        EXPECT_EXIT(
            {
                // Never destroyed, as exit does not unwind the stack; kept reachable.
                static auto* const library = new RecordingLibrary;
                static auto* const player = new MusicPlayer(*library);
                library->echo = true;
                ending.run(*player);
                std::exit(0);
            },
            testing::ExitedWithCode(0), said + "$")
            << ending.name;
    }
}

} // namespace
} // namespace vardel
