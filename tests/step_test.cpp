#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "fakes.h"
#include "sim/move.h"

namespace vornick {
namespace {

using testing::Rig;

uint32_t seed_whose_first_draw_turns(bool turn) {
    for (uint32_t s = 1;; ++s) {
        Generator g;
        g.seed = s;
        if ((g.draw() % 10 == 0) == turn) return s;
    }
}

// One organism alone on an empty board, so moves and turns can be set up exactly.
void place_one(Sim& sim, Org o, bool turn) {
    std::fill(std::begin(sim.model.world), std::end(sim.model.world), kEmptyCode);
    sim.model.norgs = 1;
    sim.model.orgs.edit(0) = o;
    sim.rng.seed = seed_whose_first_draw_turns(turn);
}

TEST(Step, FirstStepOfTheSeedOneRun) {
    Rig r;
    r.sim.new_sim();
    r.sim.HandleDraw();
    const Org expected[] = {{9, 18, 1}, {16, 27, 3}, {22, 26, 0}, {27, 5, 3}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(r.sim.model.orgs.get(i).x, expected[i].x);
        EXPECT_EQ(r.sim.model.orgs.get(i).y, expected[i].y);
        EXPECT_EQ(r.sim.model.orgs.get(i).dir, expected[i].dir);
    }
    Generator g;
    g.seed = 1920580197u;
    for (int32_t v : {9149, 32724, 32584, 6224}) EXPECT_EQ(g.draw(), v);
    EXPECT_EQ(r.sim.rng.seed, g.seed);
    EXPECT_EQ(r.sim.run.iters, 1);
}

TEST(Step, MovesWrapAtEveryEdge) {
    struct Case {
        Org from;
        int32_t x, y;
    };
    const Case cases[] = {
        {{27, 4, kRight}, 0, 4}, {{0, 4, kLeft}, 27, 4},     {{4, 27, kDown}, 4, 0},
        {{4, 0, kUp}, 4, 27},    {{13, 13, kRight}, 14, 13}, {{13, 13, kUp}, 13, 12},
    };
    for (const Case& c : cases) {
        Rig r;
        place_one(r.sim, c.from, false);
        r.sim.HandleDraw();
        EXPECT_EQ(r.sim.model.orgs.get(0).x, c.x);
        EXPECT_EQ(r.sim.model.orgs.get(0).y, c.y);
        EXPECT_EQ(r.sim.model.orgs.get(0).dir, c.from.dir);
    }
}

TEST(Step, TurnComesAfterTheMove) {
    Rig r;
    place_one(r.sim, {5, 5, kRight}, true);
    r.sim.HandleDraw();
    EXPECT_EQ(r.sim.model.orgs.get(0).x, 6);  // moved right with the old heading
    EXPECT_EQ(r.sim.model.orgs.get(0).dir, kUp);
    EXPECT_EQ(r.rec.log[1], "org 6,5 0");  // and is drawn with the new one
}

TEST(Step, WithoutOrganismsOnlyCounts) {
    Rig r;
    r.sim.prefs.iNumOrgs = 0;
    r.sim.new_sim();
    const uint32_t seed = r.sim.rng.seed;
    r.rec.log.clear();
    r.sim.HandleDraw();
    EXPECT_EQ(r.sim.run.iters, 1);
    EXPECT_EQ(r.sim.rng.seed, seed);
    EXPECT_EQ(r.rec.log, (std::vector<std::string>{"iter 1", "present"}));
}

TEST(Step, DrawnStepErasesAllThenDrawsAllThenFollowsTheSelection) {
    Rig r;
    r.sim.new_sim();
    r.sim.model.world[22 * kGridSize + 27] = kGroundCode;  // one organism leaves a ground tile
    r.sim.sel = {2, 1, 22, 27};
    r.rec.log.clear();
    r.sim.HandleDraw();
    EXPECT_EQ(r.rec.log, (std::vector<std::string>{
                             "unframe 22,27", "erase 10,18 13", "erase 15,27 13", "erase 22,27 12",
                             "erase 26,5 13", "org 9,18 1", "org 16,27 3", "org 22,26 0",
                             "org 27,5 3", "selorg 22,26", "frame 22,26", "iter 1", "present"}));
    EXPECT_EQ(r.sim.sel.selcx, 22);
    EXPECT_EQ(r.sim.sel.selcy, 26);
}

TEST(Step, FastIntervalsShowTheCountEveryHundredSteps) {
    Rig r;
    r.sim.new_sim();
    r.sim.pace.delay = 0.001;  // not above the threshold
    r.rec.log.clear();
    for (int i = 0; i < 250; ++i) r.sim.HandleDraw();
    EXPECT_EQ(r.rec.count("iter"), 2);
    EXPECT_EQ(r.rec.count("present"), 250);
}

TEST(Step, MaximumSpeedDrawsNothingButTheCountEveryTenThousand) {
    Rig r;
    r.sim.new_sim();
    r.sim.pace.speed = kMaxSpeedMode;
    r.sim.sel = {0, 1, 10, 18};
    r.rec.log.clear();
    for (int i = 0; i < 20000; ++i) r.sim.HandleDraw();
    EXPECT_EQ(r.rec.count("unframe"), 20000);  // a frame shown before stays erased
    EXPECT_EQ(r.rec.count("iter"), 2);
    EXPECT_EQ(r.rec.count("erase"), 0);
    EXPECT_EQ(r.rec.count("org"), 0);
    EXPECT_EQ(r.rec.count("present"), 0);
}

TEST(Step, CapDropsTheSelectionAndRedrawsOnlyWhenTheGateOpens) {
    Rig r;
    r.sim.new_sim();
    r.sim.pace.limit_to_60FPS = 1;
    r.sim.pace.delay = 0.01;
    r.sim.sel = {1, 1, 15, 27};
    r.clock.ns = 1'000'000'000;  // long after the gate last opened
    r.rec.log.clear();
    r.sim.HandleDraw();
    EXPECT_EQ(r.rec.log,
              (std::vector<std::string>{"unframe 15,27", "clr_selorg", "redraw", "iter 1"}));
    EXPECT_EQ(r.sim.sel.prinfo, 0);
    EXPECT_EQ(r.sim.sel.selectOrgIndex, -1);
    EXPECT_EQ(r.sim.gate.wait_redraw, 0);

    r.rec.log.clear();
    r.sim.HandleDraw();  // same instant: the gate stays shut, nothing drawn
    EXPECT_TRUE(r.rec.log.empty());

    r.sim.pace.limit_to_60FPS = 0;  // leaving the cap starts with a full redraw
    r.sim.HandleDraw();
    EXPECT_EQ(r.rec.log.front(), "redraw");
    EXPECT_EQ(r.sim.pace.limited_FPS, 0);
}

TEST(Step, CappedSubMillisecondCountMovesInHundreds) {
    Rig r;
    r.sim.new_sim();
    r.sim.pace.limit_to_60FPS = 1;
    r.sim.pace.delay = 0.0005;
    for (int i = 0; i < 1234; ++i) r.sim.HandleDraw();
    EXPECT_EQ(r.sim.shown_iters(), 1200);
    r.sim.pace.speed = kMaxSpeedMode;
    EXPECT_EQ(r.sim.shown_iters(), 1234);
}

TEST(Step, EndAndStopPoint) {
    struct Case {
        int32_t maxIters;
        bool setStopPt;
        int32_t stopIters;
        int steps;  // steps until the run halts or ends; 0: runs all 20
        int32_t end_sim;
    };
    const Case cases[] = {
        {5, false, 0, 5, 1},   // the fifth step ends it
        {5, true, 5, 5, 1},    // the end wins over a stop point on the same step
        {9, true, 3, 3, 0},    // stop point first
        {5, true, 8, 5, 1},    // a stop point past the end is never reached
        {-7, false, 0, 1, 1},  // a negative limit ends at the first step
    };
    for (const Case& c : cases) {
        Rig r;
        r.sim.prefs.maxIters = c.maxIters;
        r.sim.prefs.setStopPt = c.setStopPt;
        r.sim.prefs.stopIters = c.stopIters;
        r.sim.run = RunState{};
        int steps = 0;
        while (r.sim.run.stop == 0 && steps < 20) {
            r.sim.HandleDraw();
            ++steps;
        }
        EXPECT_EQ(steps, c.steps) << c.maxIters << "/" << c.stopIters;
        EXPECT_EQ(r.sim.run.end_sim, c.end_sim);
        EXPECT_EQ(r.sim.run.cont_enabled, 1 - c.end_sim);
        EXPECT_FALSE(r.menus.is_enabled(kFileMenu, kStopItem));
        EXPECT_EQ(r.menus.is_enabled(kFileMenu, kContinueItem), c.end_sim == 0);
    }
}

TEST(Step, StopPointFiresOnceThenTheRunGoesOnToTheEnd) {
    Rig r;
    r.sim.prefs.maxIters = 10;
    r.sim.prefs.setStopPt = true;
    r.sim.prefs.stopIters = 4;
    r.sim.new_sim();
    while (r.sim.run.stop == 0) r.sim.HandleDraw();
    EXPECT_EQ(r.sim.run.iters, 4);
    r.sim.continue_command();
    while (r.sim.run.stop == 0) r.sim.HandleDraw();
    EXPECT_EQ(r.sim.run.iters, 10);
    EXPECT_EQ(r.sim.run.end_sim, 1);
}

TEST(Step, HaltingAtMaximumSpeedShowsTheBoard) {
    Rig r;
    r.sim.prefs.maxIters = 3;
    r.sim.pace.speed = kMaxSpeedMode;
    r.sim.new_sim();
    r.rec.log.clear();
    for (int i = 0; i < 3; ++i) r.sim.HandleDraw();
    EXPECT_EQ(r.rec.log, (std::vector<std::string>{"redraw", "iter 3"}));
}

TEST(Step, StepCountNeverOverflows) {
    Rig r;
    r.sim.prefs.maxIters = INT32_MAX;
    r.sim.run.iters = INT32_MAX - 1;
    r.sim.HandleDraw();
    EXPECT_EQ(r.sim.run.iters, INT32_MAX);
    EXPECT_EQ(r.sim.run.end_sim, 1);
    r.sim.HandleDraw();
    EXPECT_EQ(r.sim.run.iters, INT32_MAX);
}

TEST(StepDeathTest, HeadingOutsideTheFourEndsTheProgram) {
    Rig r;
    place_one(r.sim, {3, 3, 7}, false);
    EXPECT_EXIT(r.sim.HandleDraw(), ::testing::ExitedWithCode(1), "");
}

// The vectorised move must give exactly what one draw after another gives.
TEST(MoveOrgs, MatchesSerialDrawsAtEverySize) {
    for (int32_t n : {0, 1, 4, 11, 12, 13, 31, 100, 783, 784}) {
        World a{};
        Generator g;
        g.seed = 0x5EED0000u + static_cast<uint32_t>(n);
        init_world(a, g, n, false);
        World b = a;
        Generator ga = g, gb = g;
        for (int step = 0; step < 50; ++step) {
            ASSERT_TRUE(move_orgs(a, ga));
            ASSERT_TRUE(move_orgs_serial(b, gb));
        }
        ASSERT_EQ(ga.seed, gb.seed) << n;
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(a.orgs.get(i).x, b.orgs.get(i).x) << n << ":" << i;
            ASSERT_EQ(a.orgs.get(i).y, b.orgs.get(i).y) << n << ":" << i;
            ASSERT_EQ(a.orgs.get(i).dir, b.orgs.get(i).dir) << n << ":" << i;
        }
    }
}

}  // namespace
}  // namespace vornick
