// The timeline pass by pass, with a scripted clock and sync value and a renderer that paints
// each call a colour of its own, so that the presented frames tell what was drawn where.

#include <gtest/gtest.h>

#include <cmath>

#include "TimelineHarness.h"

namespace vardel::test {
namespace {

TEST(Timeline, LeadInEndsInTheFirstPassPastFiveSecondsThenTheMusicStarts) {
    TimelineHarness h;
    std::fill_n(h.display.frameBuffer(1).pixels, 320 * 240, 0x123456u);
    int passes = 0;
    while (h.part() == 0) {
        h.step(7.5);
        ++passes;
        ASSERT_TRUE(h.frameIs(0));
    }
    EXPECT_EQ(7.5 * (passes - 1), 307.5); // elapsed exactly 300 did not end it
    EXPECT_EQ(h.timeline.drawnPart(), 0);
    EXPECT_TRUE(h.renderer.calls.empty());
    h.step(9.0);
    EXPECT_EQ(h.music.plays, 1);
    ASSERT_EQ(h.renderer.calls.size(), 1u);
    EXPECT_EQ(h.last().scene, 4);
    EXPECT_EQ(h.last().sceneTime, 0.0);
    h.step(9.0);
    EXPECT_EQ(h.last().sceneTime, 1.0);
    EXPECT_EQ(h.music.plays, 1);
}

TEST(Timeline, MovesOnOnlyOnTheRunningPartsCueOnePartAPass) {
    TimelineHarness h;
    h.reachPart(1);
    for (const int sync : {0x02, 0x05, 0x20, 0x21, 0x21, 0x02}) {
        h.music.sync = sync;
        h.step();
    }
    EXPECT_EQ(h.part(), 3);
    EXPECT_EQ(h.last().scene, 5); // each part draws in the pass that begins it
}

TEST(Timeline, SkipsStartTheMusicAndLetEveryPartRunItsEntry) {
    TimelineHarness h;
    h.step(1.0);
    h.step(300.0);
    h.timeline.skipPart(); // three skips, the first in the pass in which the lead-in ends
    h.timeline.skipPart();
    h.timeline.skipPart();
    for (const int expected : {1, 2, 3, 4, 4}) {
        h.step();
        EXPECT_EQ(h.part(), expected);
    }
    EXPECT_EQ(h.music.plays, 1);

    TimelineHarness g;
    g.music.canPlay = false;
    g.step();
    g.timeline.skipPart();
    g.step();
    EXPECT_EQ(g.step(), PassResult::PlaybackFailed);
}

// Starting at a part skips the lead-in: part 1 starts the music from its beginning, a later
// part at the cue that ends the part before it, and that cue does not move the part on.
TEST(Timeline, StartAtAPartEntersItInTheFirstPassWithTheMusicAtItsCue) {
    const struct { int part, cue, scene; } cases[] = {{1, 0, 4}, {3, 2, 5}, {6, 5, 1}};
    for (const auto& c : cases) {
        TimelineHarness h;
        h.timeline.startAt(c.part);
        h.music.sync = c.cue;
        EXPECT_EQ(h.step(), PassResult::Continue);
        EXPECT_EQ(h.timeline.drawnPart(), c.part);
        EXPECT_EQ(h.music.plays, 1);
        EXPECT_EQ(h.music.startCue, c.cue);
        EXPECT_EQ(h.renderer.calls.at(0).scene, c.scene);
        EXPECT_EQ(h.renderer.calls.at(0).sceneTime, 0.0);
        h.step();
        EXPECT_EQ(h.part(), c.part);
    }
    TimelineHarness g;
    g.music.canPlay = false;
    g.timeline.startAt(4);
    EXPECT_EQ(g.step(), PassResult::PlaybackFailed);
}

TEST(Timeline, TrailPartsFadeTheLightsInAndLoopTheirSceneTime) {
    for (const int part : {2, 4}) {
        TimelineHarness h;
        h.reachPart(2);
        const double full = h.data->scene(3).savedAmbient[0];
        EXPECT_EQ(h.last().ambient, 0.0);
        if (part == 4) {
            h.step(3000.0); // part 2 loops once; part 4 starts from its own beginning
            h.music.sync = 2;
            h.step();
            h.music.sync = 3;
            h.step();
        }
        const double base = part == 2 ? 0.0 : 150.0;
        double elapsed = 0.0;
        for (const double ticks : {127.5, 127.5, 2265.0, 2519.0, 0.5, 5000.0, 30000.0}) {
            h.step(ticks);
            elapsed += ticks;
            const double loops = std::ceil(std::max(0.0, elapsed / 6 - 420) / 420);
            EXPECT_NEAR(h.last().sceneTime, base + elapsed / 6 - 420 * loops, 1e-9) << elapsed;
            EXPECT_LE(h.last().sceneTime, base + 420);
        }
        EXPECT_EQ(h.renderer.calls[h.renderer.calls.size() - 7].ambient, full * 0.5);
        EXPECT_EQ(h.renderer.calls[h.renderer.calls.size() - 6].ambient, full); // exactly 1
        // Past 1845 ticks the level is left alone.
        h.data->scene(3).setLightLevel(0.25);
        h.step();
        EXPECT_EQ(h.last().ambient, full * 0.25);
    }
}

TEST(Timeline, TrailPartsShowTheMeanOfTheLastTwoRenders) {
    for (const int part : {2, 4}) {
        TimelineHarness h;
        h.reachPart(part);
        const auto mean = [](std::uint32_t a, std::uint32_t b) {
            return perChannel(a, b, [](int x, int y) { return (x + y) / 2; });
        };
        // Part 2's blend partner has never been drawn into; part 4 clears it on entry.
        std::uint32_t before = 0;
        for (int pass = 0; pass < 4; ++pass, h.step()) {
            EXPECT_TRUE(h.frameIs(mean(h.last().color, before))) << part << " " << pass;
            EXPECT_NE(h.presented->pixels, h.last().target);
            before = h.last().color;
        }
        if (part == 2) { // frame buffer 1 is the spare and still holds part 1's picture
            EXPECT_EQ(h.display.frameBuffer(1).pixels[319], h.renderer.calls[0].color);
        }
    }
}

TEST(Timeline, PartsThreeAndFiveBeginWhiteAndFlashDownToTheirPicture) {
    for (const int part : {3, 5}) {
        TimelineHarness h;
        h.reachPart(part);
        EXPECT_TRUE(h.frameIs(0x00FFFFFF));
        // Every quarter tick: brightened by 255 - 2 x elapsed cut to a whole number, which
        // after q quarters is 255 - (q + 1) / 2, down to 0 at 127.5 ticks; then the picture.
        for (int quarters = 1; quarters <= 4 * 130; ++quarters) {
            h.step(0.25);
            const int amount = std::max(255 - (quarters + 1) / 2, 0);
            const auto add = [amount](int x, int) { return x + amount; };
            ASSERT_TRUE(h.frameIs(perChannel(h.last().color, 0, add)))
                << "part " << part << " at " << quarters / 4.0 << " ticks";
        }
        EXPECT_DOUBLE_EQ(h.last().sceneTime, 130.0 / (part == 3 ? 9 : 18));
    }
}

TEST(Timeline, PartFiveSwitchesGridsAndFlashesTheLightOnTheHighNibble) {
    TimelineHarness h;
    h.reachPart(5);
    const double full = h.data->scene(2).ambientR;
    const auto grid = [&] {
        const auto& polygons = h.data->gridObject->polygons;
        return std::find_if(polygons.begin(), polygons.end(),
                            [](const Polygon& p) { return p.texture != nullptr; })
            ->texture;
    };
    struct Case {
        std::int32_t sync;
        double ticks;
        TextureId grid;
        double sinceSwitch; // -1: no switch yet
        double level;
    };
    const Case cases[] = {
        {0x14, 1, Resetke2, -1, 1},  // the same high part as the start: nothing
        {0x04, 1, Resetke2, -1, 1},  // below 16: nothing
        {0x34, 1, Resetke222, 0, 1}, // the light is left alone in the switch's own pass
        {0x34, 10, Resetke222, 10, 0.8},
        {0x44, 1, Resetke222, 0, 0.8}, // 64 and over: a switch without a grid
        {0x24, 75, Resetke22, 0, 0.8},
        {0x24, 75, Resetke22, 75, -0.5}, // on down below 0 until the next switch
    };
    for (const Case& c : cases) {
        h.music.sync = c.sync;
        h.step(c.ticks);
        const TimelineState& state = h.timeline.status();
        EXPECT_EQ(grid(), &h.data->texture(c.grid)) << c.sync;
        EXPECT_EQ(state.switchTime < 0 ? -1 : state.demoTime - state.switchTime, c.sinceSwitch);
        EXPECT_EQ(state.lastSwitchValue, c.sinceSwitch < 0 ? 1 : c.sync >> 4);
        EXPECT_NEAR(h.last().ambient, full * c.level, 1e-12);
    }
}

TEST(Timeline, EndCueBeforeTheFinaleStopsTheMusicButNotTheDemo) {
    TimelineHarness h;
    h.reachPart(3);
    h.music.sync = 0x06;
    h.step();
    const int polls = h.music.polls;
    for (int pass = 0; pass < 20; ++pass) {
        ASSERT_EQ(h.step(100.0), PassResult::Continue);
    }
    EXPECT_EQ(h.part(), 3);
    EXPECT_EQ(h.music.stops, 1);
    EXPECT_EQ(h.music.polls, polls); // a stopped player is not asked
}

TEST(Timeline, FinaleOverlaysTheCreditsFadesOutAndEnds255TicksAfterTheMusic) {
    TimelineHarness h;
    h.reachPart(6);
    h.step(500.0); // scene time 50: no credits yet
    EXPECT_EQ(h.last().scene, 1);
    h.step(1.0);
    const RecordingRenderer::Call finale = h.renderer.calls.end()[-2];
    EXPECT_EQ(h.last().scene, 4);
    EXPECT_DOUBLE_EQ(h.last().ambient, h.data->scene(4).savedAmbient[0] / 255);
    EXPECT_EQ(h.shown[100 * 320 + 10], finale.color); // keyed out
    EXPECT_EQ(h.shown[100 * 320 + 300],
              perChannel(finale.color, h.last().color, [](int x, int y) { return x + y; }));

    h.music.sync = 0x16;
    h.step(2.0);
    h.step(100.5);
    EXPECT_EQ(h.shown[100 * 320 + 10],
              perChannel(h.renderer.calls.end()[-2].color, 0, [](int x, int) { return x - 100; }));
    EXPECT_EQ(h.step(154.5), PassResult::Continue); // 255 ticks: still shown, black
    EXPECT_TRUE(h.frameIs(0));
    const std::int64_t presented = h.display.presentedFrames();
    EXPECT_EQ(h.step(0.5), PassResult::Finished);
    EXPECT_EQ(h.display.presentedFrames(), presented);
    EXPECT_EQ(h.music.stops, 1);
}

TEST(Timeline, PartSevenDrawsNothing) {
    TimelineHarness h;
    h.reachPart(6);
    h.timeline.skipPart();
    h.step();
    const std::size_t calls = h.renderer.calls.size();
    const std::vector<std::uint32_t> shown = h.shown;
    h.music.sync = 0x06;
    for (int pass = 0; pass < 5; ++pass) {
        ASSERT_EQ(h.step(200.0), PassResult::Continue);
    }
    EXPECT_EQ(h.part(), 7);
    EXPECT_EQ(h.renderer.calls.size(), calls);
    EXPECT_EQ(h.shown, shown);
}

} // namespace
} // namespace vardel::test
