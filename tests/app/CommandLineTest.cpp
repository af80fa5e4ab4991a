// The command line and the millisecond clock of the frame loop.

#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "demo/DemoClock.h"

namespace vardel {
namespace {

TEST(CommandLine, TakesOnlyExactDepthWordsAndRefusesWhatItCannotDo) {
    struct Case {
        std::vector<std::string> args;
        int depth;            // when accepted
        const char* error;    // when refused
        int audioOffset = -1; // when accepted: the milliseconds asked for; -1: none
    };
    const Case cases[] = {
        {{}, 0, nullptr},
        {{"16"}, 16, nullptr},
        {{"--window", "24", "--data", "d"}, 24, nullptr},
        {{"32", "--headless", "--hash", "--shots", "s", "--every", "25"}, 32, nullptr},
        {{"32x"}, 0, nullptr},
        {{"16 "}, 0, nullptr},
        {{"16", "32"}, 0, nullptr}, // joined they are "16 32"
        {{"--bogus"}, 0, "unknown option --bogus"},
        {{"--data"}, 0, "--data needs a value"},
        {{"--headless", "--shots", "d", "--every", "0"}, 0, "--every needs a whole number"},
        {{"--headless", "--every", "2"}, 0, "--every goes with --shots"},
        {{"--hash"}, 0, "--hash goes with --headless"},
        {{"--capture", "v.mp4", "--fps", "50", "--scale", "2", "--length", "2.5", "--part", "3"},
         0, nullptr},
        {{"--bench", "--length", "1e1"}, 0, nullptr},
        {{"--capture", "v.mp4", "--fps", "45"}, 0, "--fps needs 60, 50 or 30"},
        {{"--capture", "v.mp4", "--scale", "0"}, 0, "--scale needs a whole number from 1 to 8"},
        {{"--headless", "--length", "nan"}, 0, "--length needs a number of seconds above 0"},
        {{"--headless", "--length", "-1"}, 0, "--length needs a number of seconds above 0"},
        {{"--part", "7"}, 0, "--part needs a part number from 1 to 6"},
        {{"--fps", "30"}, 0, "--fps goes with --capture"},
        {{"--length", "3"}, 0, "--length goes with --headless, --bench or --capture"},
        {{"--bench", "--capture", "d"}, 0, "choose one"},
        {{"--audio-offset", "40", "--window"}, 0, nullptr, 40},
        {{"--audio-offset", "0"}, 0, nullptr, 0},
        {{"24", "--audio-offset", "1000"}, 24, nullptr, 1000},
        {{"--audio-offset", "1001"}, 0, "--audio-offset needs a whole number of milliseconds"},
        {{"--audio-offset", "-5"}, 0, "from 0 to 1000, not \"-5\""},
        {{"--audio-offset", "12.5"}, 0, "from 0 to 1000, not \"12.5\""},
        {{"--audio-offset"}, 0, "--audio-offset needs a value"},
        {{"--headless", "--audio-offset", "40"}, 0, "--audio-offset goes with the demo on screen"},
        {{"--capture", "d", "--audio-offset", "40"}, 0, "goes with the demo on screen"},
        {{"--bench", "--threads", "1"}, 0, nullptr},
        {{"--headless", "--threads", "3"}, 0, "--threads needs 1 or 2"},
        {{"--threads", "2"}, 0, "--threads goes with --headless, --bench or --capture"},
    };
    for (const Case& c : cases) {
        DemoOptions options;
        std::string error;
        const bool accepted = parseCommandLine(c.args, options, error);
        SCOPED_TRACE(::testing::PrintToString(c.args));
        EXPECT_EQ(accepted, c.error == nullptr);
        EXPECT_EQ(options.colorDepth, c.depth);
        if (c.error != nullptr) {
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        } else {
            EXPECT_EQ(options.audioOffsetMs.value_or(-1), c.audioOffset);
        }
    }
}

TEST(MillisecondClock, AddsSixHundredthsOfATickPerMillisecondAcrossTheWrap) {
    const std::uint32_t readings[] = {0xFFFFFF00u, 0xFFFFFF64u, 0x10u, 0x10u + 1000u};
    int next = 0;
    MillisecondClock clock([&] { return readings[next++]; });
    clock.start();
    for (const double ticks : {100 * 0.06, 172 * 0.06, 1000 * 0.06}) {
        EXPECT_DOUBLE_EQ(clock.advance(), ticks);
    }
}

} // namespace
} // namespace vardel
