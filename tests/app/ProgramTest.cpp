// The vardel program: start-up failures, and whole headless runs on the tiny data.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>

#include "demo/TinyDemo.h"

namespace vardel {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs vardel on the data in `dir` with no display and, unless `drivers` says otherwise, SDL's
// dummy video and audio drivers, for two minutes at most, so that a run that hangs fails
// instead of holding up the suite.
Outcome vardel(const test::TempDir& dir, const std::string& args,
               const std::string& drivers = "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy") {
    const std::string folder = dir.path().string();
    const std::string command = "cd '" + folder + "' && env -u DISPLAY -u WAYLAND_DISPLAY " +
                                "-u SDL_VIDEODRIVER -u SDL_AUDIODRIVER " + drivers +
                                " timeout 120 '" + VARDEL_PROGRAM + "' " + args +
                                " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    const auto read = [&](const char* name) {
        std::stringstream text;
        text << std::ifstream(dir.path() / name).rdbuf();
        return text.str();
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read("out.txt"), read("err.txt")};
}

TEST(Program, StartUpFailuresNameTheFileAndExitWithOne) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"embora.raw", "--headless", "Couldn't load textures! data/embora.raw: cannot open"},
        {"embora.raw", "--window", "Couldn't load textures! data/embora.raw"}, // message box
        {"brodic1.lws", "--headless", "data/brodic1.lws: cannot open"},
        {"cube.lwo", "--headless", "data/cube.lwo: cannot open"},
        {"krs.xm", "--headless", "data/krs.xm: cannot open"},
    };
    test::TempDir dir;
    for (const auto& [missing, mode, message] : cases) {
        test::writeTinyDemo(dir);
        std::filesystem::remove(dir.path() / "data" / missing);
        const Outcome run = vardel(dir, mode);
        EXPECT_EQ(run.status, 1) << missing;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_EQ(vardel(dir, "--headless --every 2").status, 2);
}

// A session without a display (its runtime folder holds no Wayland socket): SDL would fall
// back to its offscreen driver and play unseen. The program stops at once, before the sound
// starts, with one line.
TEST(Program, WithoutADisplayItSaysSoAtOnceAndExitsWithOne) {
    test::TempDir dir;
    test::writeTinyDemo(dir);
    const auto started = std::chrono::steady_clock::now();
    const Outcome run = vardel(dir, "--part 6", "XDG_RUNTIME_DIR='" + dir.path().string() + "'");
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "vardel: no display to show the demo on (SDL found only its offscreen "
                       "video driver); vardel --headless plays it without one\n");
    EXPECT_LT(took.count(), 5.0);
}

TEST(Program, HeadlessRunPlaysEveryPartAndEndsByItself) {
    test::TempDir dir;
    test::writeTinyDemo(dir);
    const Outcome run = vardel(dir, "--headless --hash --shots shots --every 100");
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    long frame = 0;
    long frames = 0;
    int part = 0;
    std::string hash;
    std::map<int, double> framesOfPart;
    while (lines >> frame >> part >> hash) {
        ASSERT_EQ(frame, frames++);
        ASSERT_GE(part, framesOfPart.empty() ? 0 : framesOfPart.rbegin()->first);
        ++framesOfPart[part];
    }
    // A frame a tick: 302 frames of lead-in, the cues 7.2 ticks a row apart (W04 on row 8,
    // W05 on row 14, W06 on 16), 255 ticks of fade after the end.
    EXPECT_EQ(framesOfPart.size(), 7u);
    EXPECT_EQ(framesOfPart[0], 302);
    EXPECT_NEAR(framesOfPart[5], 6 * 7.2, 1.0);
    EXPECT_NEAR(framesOfPart[6], 2 * 7.2 + 256, 1.0);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "shots" / "000600.png"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "shots" / "000601.png"));
}

TEST(Program, HeadlessRunThatCannotEndSaysWhy) {
    test::TempDir dir;
    test::writeTinyDemo(dir, false);
    const Outcome run = vardel(dir, "--headless");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("played to its end without the cue that ends part 6"), std::string::npos)
        << run.err;
}

} // namespace
} // namespace vardel
