#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>

#include "fakes.h"

namespace vornick {
namespace {

using testing::Rig;

enum class State { Running, Halted, Ended };

State state_of(const Rig& r) {
    const RunState& s = r.sim.run;
    if (s.stop == 0 && s.cont_enabled == 0 && s.end_sim == 0) return State::Running;
    if (s.stop == 1 && s.cont_enabled == 1 && s.end_sim == 0) return State::Halted;
    if (s.stop == 1 && s.cont_enabled == 0 && s.end_sim == 1) return State::Ended;
    ADD_FAILURE() << "flags out of any state: " << s.stop << s.cont_enabled << s.end_sim;
    return State::Running;
}

// File items 2 and 3 must follow the run state at every transition.
void expect_state(const Rig& r, State want) {
    EXPECT_EQ(state_of(r), want);
    EXPECT_EQ(r.menus.is_enabled(kFileMenu, kStopItem), want == State::Running);
    EXPECT_EQ(r.menus.is_enabled(kFileMenu, kContinueItem), want == State::Halted);
}

TEST(NewSim, ChoosesTheStartingState) {
    struct Case {
        int32_t maxIters;
        bool setStopPt;
        int32_t stopIters;
        int16_t speed;
        State want;
    };
    const Case cases[] = {
        {0, false, 2000, kSlowMode, State::Ended},  {0, true, 0, kSingleStepMode, State::Ended},
        {100, true, 0, kSlowMode, State::Halted},   {100, false, 0, kSingleStepMode, State::Halted},
        {100, true, 50, kSlowMode, State::Running}, {100, false, 0, kMaxSpeedMode, State::Running},
    };
    for (const Case& c : cases) {
        Rig r;
        r.sim.prefs.maxIters = c.maxIters;
        r.sim.prefs.setStopPt = c.setStopPt;
        r.sim.prefs.stopIters = c.stopIters;
        r.sim.pace.speed = c.speed;
        r.sim.sel = {2, 1, 3, 3};
        r.sim.run.iters = 77;
        r.sim.new_sim();
        expect_state(r, c.want);
        EXPECT_EQ(r.sim.run.iters, 0);
        EXPECT_EQ(r.sim.run.prev_step_stop, 1);
        EXPECT_EQ(r.sim.sel.prinfo, 0);
        EXPECT_EQ(r.sim.sel.selectOrgIndex, -1);
        EXPECT_EQ(r.rec.log, (std::vector<std::string>{"clr_selorg", "redraw", "iter 0"}));
    }
}

TEST(FileMenu, RunCommandsPickTheirSeeds) {
    Rig r;
    r.sim.rng.seed = 500;
    r.sim.new_sim();
    r.sim.HandleFileChoice(kNewRunItem);
    EXPECT_EQ(r.sim.run.lastSeed, 501u);
    r.sim.HandleFileChoice(kNewRunItem);
    EXPECT_EQ(r.sim.run.lastSeed, 502u);

    const World before = r.sim.model;
    for (int i = 0; i < 10; ++i) r.sim.HandleDraw();
    r.sim.HandleFileChoice(kRestartItem);
    EXPECT_EQ(r.sim.run.lastSeed, 502u);
    EXPECT_EQ(r.sim.run.iters, 0);
    EXPECT_EQ(
        0, std::memcmp(before.orgs.records(), r.sim.model.orgs.records(), sizeof(Org) * kMaxOrgs));
    EXPECT_EQ(0, std::memcmp(before.world, r.sim.model.world, sizeof before.world));

    r.sim.HandleFileChoice(kSaveSeedItem);
    EXPECT_EQ(r.sim.prefs.savedSeed, 502u);
    EXPECT_EQ(r.store.written, (std::vector<uint32_t>{502u}));
    r.sim.HandleFileChoice(kNewRunItem);
    r.sim.HandleFileChoice(kRunSavedItem);
    EXPECT_EQ(r.sim.run.lastSeed, 502u);

    r.sim.rng.seed = 0xFFFFFFFFu;
    r.sim.new_sim();
    r.sim.HandleFileChoice(kNewRunItem);
    EXPECT_EQ(r.sim.run.lastSeed, 0u);  // wraps around

    r.rec.log.clear();
    for (int16_t other : {0, 7, -1, 300}) r.sim.HandleFileChoice(other);
    EXPECT_TRUE(r.rec.log.empty());
}

TEST(FileMenu, RerunSavedSimMakesEveryRunTheSavedOne) {
    Rig r;
    r.sim.prefs.rerunSavedSim = true;
    r.sim.prefs.savedSeed = 4242;
    for (int16_t item : {kNewRunItem, kRestartItem, kRunSavedItem}) {
        r.sim.rng.seed = 9;
        r.sim.HandleFileChoice(item);
        EXPECT_EQ(r.sim.run.lastSeed, 4242u) << item;
    }
}

TEST(StopContinue, Transitions) {
    Rig r;
    r.sim.new_sim();
    expect_state(r, State::Running);
    r.sim.HandleFileChoice(kStopItem);
    expect_state(r, State::Halted);
    r.sim.HandleFileChoice(kStopItem);  // already halted: nothing
    expect_state(r, State::Halted);
    r.sim.HandleFileChoice(kContinueItem);
    expect_state(r, State::Running);
    r.sim.HandleFileChoice(kContinueItem);  // already running: nothing
    expect_state(r, State::Running);

    r.sim.prefs.maxIters = 0;
    r.sim.new_sim();
    expect_state(r, State::Ended);
    r.sim.HandleFileChoice(kContinueItem);
    r.sim.HandleFileChoice(kStopItem);
    r.sim.HandleSpeedChoice(kSingleStepMode);
    expect_state(r, State::Ended);
    EXPECT_EQ(r.sim.run.iters, 0);
}

TEST(StopContinue, StopAtMaximumSpeedRedrawsTheBoard) {
    Rig r;
    r.sim.new_sim();
    r.sim.pace.speed = kMaxSpeedMode;
    r.rec.log.clear();
    r.sim.stop_command();
    EXPECT_EQ(r.rec.log, (std::vector<std::string>{"redraw", "iter 0"}));
}

TEST(SingleStep, EachChoiceStepsOnceUntilTheEnd) {
    Rig r;
    r.sim.prefs.maxIters = 3;
    r.sim.new_sim();
    r.sim.HandleSpeedChoice(kSingleStepMode);
    EXPECT_EQ(r.sim.run.iters, 1);
    expect_state(r, State::Halted);
    EXPECT_EQ(r.sim.run.prev_step_stop, 0);
    r.sim.HandleSpeedChoice(kSingleStepMode);
    EXPECT_EQ(r.sim.run.iters, 2);
    r.sim.HandleFileChoice(kContinueItem);  // Continue steps too in this mode
    EXPECT_EQ(r.sim.run.iters, 3);
    expect_state(r, State::Ended);
    r.sim.HandleSpeedChoice(kSingleStepMode);
    r.sim.HandleFileChoice(kContinueItem);
    EXPECT_EQ(r.sim.run.iters, 3);
}

TEST(SingleStep, LeavingRestoresTheEarlierState) {
    {
        Rig r;  // entered while running: runs again
        r.sim.new_sim();
        r.sim.HandleSpeedChoice(kSingleStepMode);
        r.sim.HandleSpeedChoice(kFastMode);
        expect_state(r, State::Running);
    }
    {
        Rig r;  // entered while halted: stays halted
        r.sim.new_sim();
        r.sim.stop_command();
        r.sim.HandleSpeedChoice(kSingleStepMode);
        r.sim.HandleSpeedChoice(kFastMode);
        expect_state(r, State::Halted);
    }
    {
        Rig r;  // the cap option does not leave the mode
        r.sim.new_sim();
        r.sim.HandleSpeedChoice(kSingleStepMode);
        r.sim.HandleSpeedChoice(kCapItem);
        EXPECT_EQ(r.sim.pace.speed, kSingleStepMode);
        expect_state(r, State::Halted);
    }
}

// A run that ended while stepping must stay ended when the mode is left, not step past its end.
TEST(SingleStep, LeavingAfterTheEndKeepsTheRunEnded) {
    Rig r;
    r.sim.prefs.maxIters = 2;
    r.sim.new_sim();
    r.sim.HandleSpeedChoice(kSingleStepMode);
    r.sim.HandleSpeedChoice(kSingleStepMode);
    expect_state(r, State::Ended);
    r.sim.HandleSpeedChoice(kSlowMode);
    expect_state(r, State::Ended);
    r.sim.doIdle();
    EXPECT_EQ(r.sim.run.iters, 2);
}

TEST(SingleStep, NewRunInTheModeStartsHalted) {
    Rig r;
    r.sim.new_sim();
    r.sim.HandleSpeedChoice(kSingleStepMode);
    r.sim.HandleFileChoice(kNewRunItem);
    expect_state(r, State::Halted);
    EXPECT_EQ(r.sim.run.iters, 0);
}

// The longest run ends exactly at step 2147483647, however it gets there, and nothing that
// comes after its end makes another step: the count would overflow past it. Every step draws
// once per organism, so the generator tells how many steps were really made.
TEST(LongestRun, EndsExactlyAtTheLastCountableStep) {
    struct Row {
        const char* how;
        int32_t start;  // steps already made
        std::function<void(Sim&)> drive;
    };
    const Row rows[] = {
        {"timer steps", INT32_MAX - 3,
         [](Sim& s) {
             for (int i = 0; i < 6; ++i) s.doIdle();
         }},
        {"batches at maximum speed", INT32_MAX - 250000,
         [](Sim& s) {
             s.HandleSpeedChoice(kMaxSpeedMode);
             s.step_batch(INT64_MAX);
             s.step_batch(INT64_MAX);
             s.doIdle();
         }},
        {"single steps, then another mode", INT32_MAX - 2,
         [](Sim& s) {
             for (int i = 0; i < 4; ++i) s.HandleSpeedChoice(kSingleStepMode);
             s.continue_command();
             s.HandleSpeedChoice(kMaxSpeedMode);
             s.doIdle();
             s.HandleSpeedChoice(kFastMode);
             s.doIdle();
         }},
        {"continue and empty-cell commands after the end", INT32_MAX - 1,
         [](Sim& s) {
             s.doIdle();
             s.continue_command();
             s.HandleFileChoice(kContinueItem);
             s.stop_command();
             s.doIdle();
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.how);
        Rig r;
        r.sim.prefs.maxIters = INT32_MAX;
        r.sim.prefs.iNumOrgs = 3;
        r.sim.new_sim();
        r.sim.run.iters = row.start;
        r.clock.advance_per_read = 1000;  // the maximum-speed loop reads the clock to yield
        const uint32_t before = r.sim.rng.seed;
        row.drive(r.sim);
        EXPECT_EQ(r.sim.run.iters, INT32_MAX);
        expect_state(r, State::Ended);
        const uint64_t steps = uint64_t{INT32_MAX} - static_cast<uint64_t>(row.start);
        EXPECT_EQ(r.sim.rng.seed, jump_of(steps * 3).apply(before));
    }
}

}  // namespace
}  // namespace vornick
