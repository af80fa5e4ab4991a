// The music player's calls into the sound library, in order, on every way through the demo,
// including the close that runs at process exit.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/MusicPlayer.h"

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
        if (echo) {
            std::fprintf(stderr, "%s ", call.c_str());
        }
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

// The calls each way of ending makes, after what the way itself called.
struct Ending {
    const char* name;
    void (*run)(MusicPlayer&);
    Calls calls;
};

const Ending endings[] = {
    {"close after a failed load",
     [](MusicPlayer& p) { p.load("missing"); },
     {"stopBackground", "close"}},
    {"close after stop, stopped twice",
     [](MusicPlayer& p) {
         p.load("song.xm");
         p.play();
         p.stop();
         p.stop();
     },
     {"freeModule:7", "stopBackground", "close"}},
    {"close while playing",
     [](MusicPlayer& p) {
         p.load("song.xm");
         p.play();
     },
     {"stopModule:3", "freeModule:7", "stopBackground", "close"}},
};

TEST(MusicPlayer, CloseStopsWhatPlaysFreesWhatIsLoadedAndAlwaysShutsDown) {
    for (const Ending& ending : endings) {
        RecordingLibrary library;
        MusicPlayer player(library);
        ending.run(player);
        const std::size_t before = library.calls.size();
        player.close();
        EXPECT_EQ(Calls(library.calls.begin() + std::ptrdiff_t(before), library.calls.end()),
                  ending.calls)
            << ending.name;
        EXPECT_LE(std::count(library.calls.begin(), library.calls.end(), "stopModule:3"), 1)
            << ending.name;
        EXPECT_EQ(player.module, 0u);
        EXPECT_EQ(player.playHandle, 0u);
    }
}

TEST(MusicPlayer, LoadsPlaysLoopingAndClosesOnceWhenMainReturns) {
    RecordingLibrary library;
    {
        MusicPlayer player(library);
        ASSERT_TRUE(player.load("song.xm"));
        ASSERT_TRUE(player.play());
        EXPECT_EQ(player.module, 7u);
        EXPECT_EQ(player.playHandle, 3u);
    }
    EXPECT_EQ(library.calls,
              (Calls{"startup", "init", "startBackground:0", "loadModule:song.xm", "playModule:7:1",
                     "stopModule:3", "freeModule:7", "stopBackground", "close"}));
}

// std::exit from anywhere (the end of the demo, Escape in the window) runs the close.
TEST(MusicPlayerDeathTest, ExitClosesThePlayerOnEveryPath) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const Ending& ending : endings) {
        std::string said = "^";
        for (const std::string& call : ending.calls) {
            said += call + " ";
        }
        EXPECT_EXIT(
            {
                // Never destroyed, as exit does not unwind the stack; kept reachable.
                static auto* const library = new RecordingLibrary;
                static auto* const player = new MusicPlayer(*library);
                ending.run(*player);
                library->echo = true;
                std::exit(0);
            },
            testing::ExitedWithCode(0), said + "$")
            << ending.name;
    }
}

} // namespace
} // namespace vardel
