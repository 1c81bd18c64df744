#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>

#include "fakes.h"

namespace vornick {
namespace {

using testing::Rig;

constexpr auto kRunning = RunStateName::kRunning;
constexpr auto kHalted = RunStateName::kHalted;
constexpr auto kEnded = RunStateName::kEnded;

void steps(Sim& s, int n) {
    for (int i = 0; i < n && s.run.stop == 0; ++i) s.HandleDraw();
}

struct StatusRow {
    const char* what;
    std::function<void(Sim&)> act;
    std::optional<RunStatus> told;  // none: the port hears nothing
};

// The status line is told of every change of seed, state, speed or organism count, once, and
// of nothing else: not of steps, and not of commands that change none of the four.
TEST(RunStatusReport, OncePerChangeAndNeverPerStep) {
    Rig r;
    r.sim.rng.seed = 7;
    r.sim.prefs.maxIters = 40;
    const StatusRow rows[] = {
        {"first run", [](Sim& s) { s.new_sim(); }, RunStatus{7, kRunning, kSlowMode, 4}},
        {"steps", [](Sim& s) { steps(s, 10); }, std::nullopt},
        {"stop", [](Sim& s) { s.HandleFileChoice(kStopItem); }, RunStatus{7, kHalted, 1, 4}},
        {"stop again", [](Sim& s) { s.HandleFileChoice(kStopItem); }, std::nullopt},
        {"continue", [](Sim& s) { s.HandleFileChoice(kContinueItem); },
         RunStatus{7, kRunning, 1, 4}},
        {"fast", [](Sim& s) { s.HandleSpeedChoice(kFastMode); }, RunStatus{7, kRunning, 2, 4}},
        {"cap on", [](Sim& s) { s.HandleSpeedChoice(kCapItem); }, std::nullopt},
        {"single step", [](Sim& s) { s.HandleSpeedChoice(kSingleStepMode); },
         RunStatus{7, kHalted, 5, 4}},
        {"slider window", [](Sim& s) { s.HandleSpeedChoice(kSliderItem); },
         RunStatus{7, kRunning, 6, 4}},
        {"back to slow", [](Sim& s) { s.HandleSpeedChoice(kSlowMode); },
         RunStatus{7, kRunning, 1, 4}},
        {"slider", [](Sim& s) { s.sliderActionFunction(600); }, RunStatus{7, kRunning, 6, 4}},
        {"stop point",
         [](Sim& s) {
             s.prefs.setStopPt = true;
             s.prefs.stopIters = s.run.iters + 3;
             steps(s, 10);
         },
         RunStatus{7, kHalted, 6, 4}},
        {"new run",
         [](Sim& s) {
             s.prefs.setStopPt = false;
             s.HandleFileChoice(kNewRunItem);
         },
         RunStatus{8, kRunning, 6, 4}},
        {"maximum speed", [](Sim& s) { s.HandleSpeedChoice(kMaxSpeedMode); },
         RunStatus{8, kRunning, 4, 4}},
        {"a batch to the end", [](Sim& s) { s.step_batch(1000); }, RunStatus{8, kEnded, 4, 4}},
        {"a step back", [](Sim& s) { s.step_back(); }, RunStatus{8, kHalted, 4, 4}},
        {"typed seed, no organisms",
         [](Sim& s) {
             s.prefs.iNumOrgs = 0;
             s.new_sim_from_seed(4294967295u);
         },
         RunStatus{4294967295u, kRunning, 4, 0}},
    };
    for (const StatusRow& row : rows) {
        const std::size_t before = r.status.shown.size();
        row.act(r.sim);
        if (!row.told) {
            EXPECT_EQ(r.status.shown.size(), before) << row.what;
            continue;
        }
        ASSERT_EQ(r.status.shown.size(), before + 1) << row.what;
        const RunStatus& got = r.status.shown.back();
        EXPECT_EQ(got, *row.told) << row.what << ": seed " << got.seed << " state "
                                  << int(got.state) << " speed " << got.speed << " orgs "
                                  << got.norgs;
        EXPECT_EQ(got, r.sim.status()) << row.what;
    }
}

// A typed seed starts the run File item 1 would start from the seed before it, also when
// every run command is set to replay the saved seed.
TEST(NewRunFromSeed, IsTheRunOfThatSeed) {
    Rig typed, next;
    typed.sim.prefs.rerunSavedSim = true;
    typed.sim.prefs.savedSeed = 99;
    typed.sim.new_sim_from_seed(0);
    next.sim.run.lastSeed = 0xFFFFFFFFu;  // its next seed wraps to 0
    next.sim.HandleFileChoice(kNewRunItem);

    EXPECT_EQ(typed.sim.run.lastSeed, 0u);
    // The records, not the whole table: its byte copy may stand differently for the same run.
    const World& a = typed.sim.model;
    const World& b = next.sim.model;
    EXPECT_EQ(0, std::memcmp(a.world, b.world, sizeof a.world));
    EXPECT_EQ(0, std::memcmp(a.orgs.records(), b.orgs.records(), sizeof(Org) * kMaxOrgs));
    EXPECT_EQ(typed.rec.log, next.rec.log);
    EXPECT_EQ(typed.sim.status(), next.sim.status());
}

}  // namespace
}  // namespace vornick
