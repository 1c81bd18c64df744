#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "fakes.h"
#include "sim/slider_mapping.h"

namespace vornick {
namespace {

using testing::Arming;
using testing::Rig;

TEST(DoIdle, RearmsWhenTheRunHaltsOrResumes) {
    Rig r;
    r.sim.new_sim();
    r.sim.doIdle();  // running, as when the timer was installed: one step, no re-arm
    EXPECT_TRUE(r.timer.installs.empty());
    EXPECT_EQ(r.sim.run.iters, 1);

    r.sim.stop_command();
    r.sim.doIdle();
    EXPECT_EQ(r.timer.installs, (std::vector<Arming>{{0, kHaltedInterval}}));
    EXPECT_EQ(r.sim.run.iters, 1);

    r.sim.HandleSpeedChoice(kFastMode);  // halted: the timer is left alone
    EXPECT_EQ(r.timer.installs.size(), 1u);
    r.sim.continue_command();
    r.sim.doIdle();  // the re-arming firing also makes the first step
    EXPECT_EQ(r.timer.installs.back(), (Arming{1.0, 1.0}));
    EXPECT_EQ(r.timer.removes, 2);
    EXPECT_EQ(r.sim.run.iters, 2);
}

TEST(SpeedMenu, ChoosingAModeWhileRunningRearmsAtOnce) {
    struct Case {
        int16_t item;
        double delay;
    };
    const Case cases[] = {
        {kFastMode, 1.0}, {kTurboMode, 0.000001}, {kMaxSpeedMode, 0.1}, {kVariableMode, 0.25}};
    for (const Case& c : cases) {
        Rig r;
        r.sim.prefs.Variable = 0.25;
        r.sim.new_sim();
        r.sim.HandleSpeedChoice(c.item);
        EXPECT_EQ(r.sim.pace.speed, c.item);
        EXPECT_EQ(r.sim.pace.delay, c.delay);
        EXPECT_EQ(r.timer.installs, (std::vector<Arming>{{0, c.delay}}));
        EXPECT_TRUE(r.menus.is_checked(kSpeedMenu, c.item));
        EXPECT_FALSE(r.menus.is_checked(kSpeedMenu, kSlowMode));
    }
}

TEST(SpeedMenu, TheCurrentModeAgainDoesNothing) {
    Rig r;
    r.sim.new_sim();
    r.rec.log.clear();
    r.sim.HandleSpeedChoice(kSlowMode);
    EXPECT_TRUE(r.timer.installs.empty());
    EXPECT_TRUE(r.rec.log.empty());
    EXPECT_TRUE(r.menus.checked.empty());
}

TEST(SpeedMenu, ItemsWithoutAModeAreIgnored) {
    Rig r;
    r.sim.new_sim();
    for (int16_t item : {0, 8, 10, -3}) r.sim.HandleSpeedChoice(item);
    EXPECT_EQ(r.sim.pace.speed, kSlowMode);
    EXPECT_TRUE(r.timer.installs.empty());
}

TEST(SpeedMenu, LeavingMaximumSpeedRefreshesEverything) {
    Rig r;
    r.sim.new_sim();
    r.sim.HandleSpeedChoice(kMaxSpeedMode);
    r.sim.sel = {1, 1, 0, 0};
    r.rec.log.clear();
    r.sim.HandleSpeedChoice(kSlowMode);
    const Org o = r.sim.model.orgs.get(1);
    const std::string cell = std::to_string(o.x) + "," + std::to_string(o.y);
    EXPECT_EQ(r.rec.log,
              (std::vector<std::string>{"redraw", "iter 0", "selorg " + cell, "frame " + cell}));
}

TEST(SpeedMenu, CapOptionTogglesWithoutChangingTheMode) {
    Rig r;
    r.sim.new_sim();
    r.sim.stop_command();
    r.sim.pace.delay = 0.01;
    r.sim.HandleSpeedChoice(kCapItem);
    EXPECT_EQ(r.sim.pace.limited_FPS, 1);  // halted: decided at once
    EXPECT_EQ(r.sim.pace.speed, kSlowMode);
    EXPECT_TRUE(r.menus.is_checked(kSpeedMenu, kCapItem));
    EXPECT_FALSE(r.menus.checked.count({kSpeedMenu, kSlowMode}));
    r.sim.HandleSpeedChoice(kCapItem);
    EXPECT_EQ(r.sim.pace.limit_to_60FPS, 0);
    EXPECT_EQ(r.sim.pace.limited_FPS, 0);
    EXPECT_FALSE(r.menus.is_checked(kSpeedMenu, kCapItem));
}

TEST(Slider, MappingAndText) {
    struct Case {
        int32_t v;
        double delay;
        const char* text;
    };
    const Case cases[] = {
        {0, 4.0, "4"},       {180, 1.039, "1"},        {400, 0.2, "0.2"},
        {800, 0.01, "0.01"}, {1200, 0.0005, "0.0005"}, {2000, 1.25e-6, "1.3e-06"}};
    for (const Case& c : cases) {
        const double d = slider_delay(c.v);
        EXPECT_NEAR(d, c.delay, c.delay * 1e-3) << c.v;
        char text[32];
        format_interval(text, sizeof text, d);
        EXPECT_STREQ(text, c.text);
    }
}

TEST(Slider, OpeningSwitchesToTheVariableMode) {
    Rig r;
    r.sim.prefs.Variable = 0.2;
    r.sim.prefs.sliderVal = 400;
    r.sim.new_sim();
    r.sim.HandleSpeedChoice(kSliderItem);
    EXPECT_EQ(r.slider.value, 400);
    EXPECT_EQ(r.slider.text, "0.2");
    EXPECT_EQ(r.sim.pace.speed, kVariableMode);
    EXPECT_EQ(r.sim.pace.delay, 0.2);
    EXPECT_EQ(r.timer.installs, (std::vector<Arming>{{0, 0.2}}));
    EXPECT_TRUE(r.menus.is_checked(kSpeedMenu, kVariableMode));
    EXPECT_FALSE(r.menus.is_checked(kSpeedMenu, kSlowMode));
}

TEST(Slider, AWindowThatCannotBeMadeLeavesTheMode) {
    Rig r;
    r.slider.can_open = false;
    r.sim.new_sim();
    r.sim.HandleSpeedChoice(kSliderItem);
    EXPECT_EQ(r.sim.pace.speed, kSlowMode);
    EXPECT_EQ(r.sim.pace.delay, 2.0);
    EXPECT_TRUE(r.timer.installs.empty());
}

TEST(Slider, MovingRearmsAtHalfTheNewInterval) {
    Rig r;
    r.sim.new_sim();
    r.sim.sliderActionFunction(1200);
    const double d = slider_delay(1200);
    EXPECT_EQ(r.timer.installs, (std::vector<Arming>{{d * 0.5, d}}));
    EXPECT_EQ(r.sim.prefs.Variable, d);
    EXPECT_EQ(r.sim.prefs.sliderVal, 1200);
    EXPECT_EQ(r.slider.text, "0.0005");
    EXPECT_EQ(r.sim.pace.speed, kVariableMode);
}

TEST(Slider, MovingInSingleStepModeLeavesIt) {
    Rig r;
    r.sim.new_sim();
    r.sim.HandleSpeedChoice(kSingleStepMode);
    r.timer.installs.clear();
    r.sim.sliderActionFunction(800);
    EXPECT_EQ(r.sim.pace.speed, kVariableMode);
    EXPECT_EQ(r.sim.run.stop, 0);           // it was running when the mode was entered
    EXPECT_TRUE(r.timer.installs.empty());  // halted while moved: doIdle re-arms later
}

TEST(MaximumSpeedLoop, RunsUntilTheButtonIsPressed) {
    Rig r;
    r.sim.prefs.maxIters = INT32_MAX;  // batches would reach the default end in a few looks
    r.sim.new_sim();
    r.sim.HandleSpeedChoice(kMaxSpeedMode);
    r.mouse.down_after_reads = 3;
    r.sim.doIdle();
    EXPECT_GT(r.sim.run.iters, 0);
    EXPECT_EQ(r.sim.run.stop, 0);
    const int32_t done = r.sim.run.iters;
    r.sim.doIdle();  // the button is still down: not one more step
    EXPECT_EQ(r.sim.run.iters, done);
}

TEST(MaximumSpeedLoop, HandsBackToTheEventLoopEverySlice) {
    Rig r;
    r.sim.prefs.maxIters = INT32_MAX;  // batches would reach the default end in a few looks
    r.sim.new_sim();
    r.sim.HandleSpeedChoice(kMaxSpeedMode);
    r.clock.advance_per_read = kMaxLoopSliceNs / 4;
    r.sim.doIdle();
    EXPECT_EQ(r.timer.soon, 1);
    EXPECT_GT(r.sim.run.iters, 0);
    EXPECT_EQ(r.sim.run.stop, 0);
}

// A slice is one batch that times the pace, one that fills most of what is left, and a few
// short ones; a pace that cannot be trusted gives short ones only.
TEST(MaximumSpeedLoop, SizesBatchesToFillTheSlice) {
    struct Case {
        int64_t made;
        uint64_t took_ns, left_ns;
        int64_t expected;
    };
    constexpr int64_t first = 1000;
    const Case cases[] = {
        {1000, 1'000'000, 8'000'000, 7000},     // seven eighths of 8 ms at a step a microsecond
        {600, 1'000'000, 8'000'000, 4200},      // a batch ended on a meter reading still times
        {1000, 1'000'000, 900'000, first},      // less than a short batch is left
        {400, 1'000'000, 8'000'000, first},     // cut short by an edit: its time says little
        {1000, 0, 8'000'000, first},            // a clock that did not move
        {1000, 1'000, 16'000'000, 32 * first},  // a pace misjudged a lot is held back
        {INT64_MAX / 2, 1, UINT64_MAX, 32 * first},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(next_max_speed_batch(c.made, c.took_ns, c.left_ns, first), c.expected)
            << c.made << " steps in " << c.took_ns << " ns, " << c.left_ns << " ns left";
    }
}

TEST(MaximumSpeedLoop, EndsWhenTheRunEnds) {
    Rig r;
    r.sim.prefs.maxIters = 1000;
    r.sim.new_sim();
    r.sim.HandleSpeedChoice(kMaxSpeedMode);
    r.rec.log.clear();
    r.sim.doIdle();
    EXPECT_EQ(r.sim.run.iters, 1000);
    EXPECT_EQ(r.sim.run.end_sim, 1);
    EXPECT_EQ(r.rec.log, (std::vector<std::string>{"redraw", "iter 1000"}));
    r.sim.pace.gDone = 1;
}

TEST(MaximumSpeedLoop, QuitEndsIt) {
    Rig r;
    r.sim.new_sim();
    r.sim.HandleSpeedChoice(kMaxSpeedMode);
    r.sim.pace.gDone = 1;
    r.sim.doIdle();
    EXPECT_EQ(r.sim.run.iters, 0);
}

TEST(OutputMenu, RateMeterTogglesAndClearsOnTheWayOff) {
    Rig r;
    r.sim.HandleOutputChoice(1);
    EXPECT_TRUE(r.sim.pace.prnFPS);
    EXPECT_TRUE(r.menus.is_checked(kOutputMenu, 1));
    EXPECT_TRUE(r.rec.log.empty());
    r.sim.HandleOutputChoice(1);
    EXPECT_FALSE(r.sim.pace.prnFPS);
    EXPECT_FALSE(r.menus.is_checked(kOutputMenu, 1));
    EXPECT_EQ(r.rec.log, (std::vector<std::string>{"clr_fps"}));
    r.sim.HandleOutputChoice(2);
    EXPECT_FALSE(r.sim.pace.prnFPS);
}

}  // namespace
}  // namespace vornick
