#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "every_path.h"
#include "fakes.h"
#include "run_history.h"
#include "sim/history/move_back.h"
#include "sim/kernels/vector_path.h"

namespace vornick {
namespace {

using testing::Rig;
using testing::rig_with;
using testing::run_to;
using testing::run_with_edits;
using testing::state_text;
using testing::table_text;

void go_to(Sim& sim, int32_t n) {
    ASSERT_TRUE(sim.go_to_step(n));
    while (!sim.travel(997)) {  // an odd chunk, so chunks end between edits and anywhere
    }
}

using Unmove = testing::EveryPath;

// Taking steps back, one at a time or many at once, undoes the same steps forward.
TEST_P(Unmove, UndoesTheStepsForward) {
    for (int32_t n : {1, 4, 31, 784}) {
        for (int64_t steps : {1, 2, 63, 64, 65, 4097, 70001}) {
            if (int64_t{n} * steps > 20000000) continue;
            Generator gen{0x5eedu + static_cast<uint32_t>(n)};
            auto w = std::make_unique<World>();
            init_world(*w, gen, n, false);
            const std::string start = table_text(*w, gen.seed);
            ASSERT_TRUE(move_orgs_steps(*w, gen, steps));
            auto one_by_one = std::make_unique<World>(*w);
            Generator serial = gen;
            ASSERT_TRUE(unmove_orgs_steps(*w, gen, steps));
            EXPECT_EQ(table_text(*w, gen.seed), start) << n << " organisms, " << steps;
            if (steps > 4097) continue;
            for (int64_t k = 0; k < steps; ++k) ASSERT_TRUE(unmove_orgs(*one_by_one, serial));
            EXPECT_EQ(table_text(*one_by_one, serial.seed), start) << n << " one by one";
        }
    }
}

// A record that no step leaves is found wherever it stands, in a block of lanes or among the
// last ones; taken back, one step or many, the table is left as it was.
TEST_P(Unmove, RefusesWhatNoStepLeaves) {
    for (Org bad : {Org{3, 3, 4}, Org{28, 3, 0}, Org{3, -1, 0}}) {
        for (int32_t at : {0, 17, 38}) {
            auto w = std::make_unique<World>();
            Generator gen{77};
            init_world(*w, gen, 39, false);
            w->orgs.edit(at) = bad;
            const std::string before = table_text(*w, gen.seed);
            EXPECT_FALSE(unmove_orgs_steps(*w, gen, 100)) << at;
            EXPECT_EQ(table_text(*w, gen.seed), before);
            EXPECT_FALSE(unmove_orgs(*w, gen)) << at;
            EXPECT_EQ(table_text(*w, gen.seed), before);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, Unmove, testing::kEveryPath, testing::path_test_name);

// Back k steps and forward k steps again is no change at all, and every moment on the way is
// the moment the forward definition reaches.
TEST(TimeTravel, BackThenForwardIsTheSameRun) {
    std::mt19937 rnd(2024);
    for (int32_t norgs : {0, 1, 4, 784}) {
        for (int round = 0; round < 4; ++round) {
            const uint32_t seed = static_cast<uint32_t>(rnd());
            const int32_t n = norgs == 784 ? 600 : 20000;
            auto r = rig_with(norgs, seed);
            Sim& sim = r->sim;
            run_with_edits(sim, rnd, n, 6);
            const std::string at_n = state_text(sim);
            const int32_t back = std::uniform_int_distribution<int32_t>(1, n)(rnd);
            go_to(sim, n - back);

            auto w = std::make_unique<World>();
            Generator gen;
            testing::replay_serially(sim.journal, n - back, *w, gen);
            EXPECT_EQ(table_text(sim.model, sim.rng.seed), table_text(*w, gen.seed))
                << norgs << " organisms, seed " << seed << ", back to " << n - back;

            go_to(sim, n);
            EXPECT_EQ(state_text(sim), at_n) << norgs << " organisms, seed " << seed;
        }
    }
}

TEST(TimeTravel, StepBackTakesTheEditsOfThatStepFirstAndTheStepAfter) {
    std::mt19937 rnd(7);
    for (int32_t norgs : {1, 4, 784}) {
        auto r = rig_with(norgs, 99);
        Sim& sim = r->sim;
        run_with_edits(sim, rnd, 40, 12);
        const std::string at_40 = state_text(sim);
        for (int32_t k = 0; k < 40; ++k) ASSERT_TRUE(sim.step_back());
        EXPECT_FALSE(sim.step_back());  // nothing before step 0
        EXPECT_EQ(sim.run.iters, 0);
        auto w = std::make_unique<World>();
        Generator gen;
        testing::replay_serially(sim.journal, 0, *w, gen);
        EXPECT_EQ(table_text(sim.model, sim.rng.seed), table_text(*w, gen.seed));
        go_to(sim, 40);
        EXPECT_EQ(state_text(sim), at_40);
    }
}

TEST(TimeTravel, BackToZeroGivesTheGeneratedRun) {
    for (bool random_count : {false, true}) {
        auto r = rig_with(784, 3);
        r->sim.prefs.randINumOrgs = random_count;
        r->sim.new_sim();
        const std::string generated = table_text(r->sim.model, r->sim.rng.seed);
        run_to(r->sim, 3000);
        go_to(r->sim, 0);
        EXPECT_EQ(table_text(r->sim.model, r->sim.rng.seed), generated);
    }
}

// What travel leaves of the run state: back, an ended run is halted; forward, the end is
// reached as stepping reaches it, and stop points only halt a halted run.
TEST(TimeTravel, RunStateAfterwards) {
    struct Case {
        const char* name;
        int32_t maxIters;
        int32_t stopAt;  // 0: none
        int32_t from;
        int32_t to;
        int32_t want_iters;
        bool ended;
    };
    const Case cases[] = {
        {"back from the end", 50, 0, 50, 20, 20, false},
        {"forward to the end", 50, 0, 20, 50, 50, true},
        {"forward past the end", 50, 0, 20, 80, 50, true},
        {"across a stop point", 50, 30, 10, 40, 40, false},
        {"one step back from the end", 50, 0, 50, 49, 49, false},
    };
    for (const Case& c : cases) {
        auto r = rig_with(4, 11);
        Sim& sim = r->sim;
        sim.prefs.maxIters = c.maxIters;
        sim.prefs.setStopPt = c.stopAt != 0;
        sim.prefs.stopIters = c.stopAt;
        run_to(sim, c.from);
        go_to(sim, c.to);
        EXPECT_EQ(sim.run.iters, c.want_iters) << c.name;
        EXPECT_EQ(sim.run.end_sim, c.ended ? 1 : 0) << c.name;
        EXPECT_EQ(sim.run.cont_enabled, c.ended ? 0 : 1) << c.name;
        EXPECT_EQ(sim.run.stop, 1) << c.name;
    }
}

// As a step does on a heading that no step leaves, so does a step back.
TEST(TimeTravel, ATableNoStepLeavesEndsTheProgram) {
    auto r = rig_with(4, 1);
    run_to(r->sim, 10);
    r->sim.model.orgs.edit(1).dir = 7;
    EXPECT_EXIT(r->sim.step_back(), ::testing::ExitedWithCode(1), "");
}

TEST(TimeTravel, NotWhileTheRunGoes) {
    auto r = rig_with(4, 5);
    r->sim.step_batch(100);
    ASSERT_EQ(r->sim.run.stop, 0);
    EXPECT_FALSE(r->sim.step_back());
    EXPECT_FALSE(r->sim.go_to_step(10));
    EXPECT_EQ(r->sim.run.iters, 100);
}

// A cancelled travel stands at a step of the run, as a travel straight there would.
TEST(TimeTravel, StoppingBetweenChunksLeavesAMomentOfTheRun) {
    std::mt19937 rnd(5);
    auto r = rig_with(4, 21);
    Sim& sim = r->sim;
    run_with_edits(sim, rnd, 100000, 20);
    ASSERT_TRUE(sim.go_to_step(0));
    EXPECT_FALSE(sim.travel(33333));
    sim.cancel_travel();
    EXPECT_FALSE(sim.travelling());
    const int32_t at = sim.run.iters;
    EXPECT_EQ(at, 100000 - 33333);
    auto w = std::make_unique<World>();
    Generator gen;
    testing::replay_serially(sim.journal, at, *w, gen);
    EXPECT_EQ(table_text(sim.model, sim.rng.seed), table_text(*w, gen.seed));
}

// What the window shows after a step back is what a forward run shows at that step.
TEST(TimeTravel, StepBackShowsTheRunInFull) {
    auto r = rig_with(4, 1);
    Sim& sim = r->sim;
    run_to(sim, 10);
    sim.sel = {2, 1, 0, 0};
    r->rec.log.clear();
    ASSERT_TRUE(sim.step_back());
    const Org o = sim.model.orgs.get(2);
    const std::string cell = std::to_string(o.x) + "," + std::to_string(o.y);
    EXPECT_EQ(r->rec.log,
              (std::vector<std::string>{"redraw", "iter 9", "selorg " + cell, "frame " + cell}));
    EXPECT_EQ(sim.sel.selcx, o.x);
    EXPECT_EQ(sim.sel.selcy, o.y);
}

// Undo stands just before the edit, as if it had never been made; Redo just after it.
TEST(Undo, ReturnsToTheMomentBeforeTheEdit) {
    std::mt19937 rnd(31);
    for (int32_t norgs : {1, 4, 784}) {
        for (int round = 0; round < 3; ++round) {
            auto r = rig_with(norgs, static_cast<uint32_t>(rnd()));
            Sim& sim = r->sim;
            run_with_edits(sim, rnd, 3000, 3);
            const int32_t s = sim.run.iters;
            const int32_t i = testing::select_random(sim, rnd);
            const std::string before = state_text(sim);
            ASSERT_TRUE(testing::random_edit(sim, rnd, i));
            const std::string after = state_text(sim);
            run_to(sim, s + 5000);
            EXPECT_STREQ(
                sim.undo_name(),
                sim.journal[sim.journal.size() - 1].kind == EditKind::kDrag ? "Drag" : "Move");
            ASSERT_TRUE(sim.undo_edit());
            while (!sim.travel(sim.travel_chunk())) {
            }
            // The edit's organism stays selected, back at its old index.
            EXPECT_EQ(state_text(sim), before);
            ASSERT_NE(sim.redo_name(), nullptr);
            ASSERT_TRUE(sim.redo_edit());
            while (!sim.travel(sim.travel_chunk())) {
            }
            EXPECT_EQ(state_text(sim), after);
            EXPECT_EQ(sim.redo_name(), nullptr);
        }
    }
}

TEST(Undo, StopsAGoingRunAndANewEditEndsRedo) {
    auto r = rig_with(4, 8);
    Sim& sim = r->sim;
    EXPECT_FALSE(sim.undo_edit());
    EXPECT_EQ(sim.undo_name(), nullptr);
    sim.step_batch(50);
    OrgMove m{};
    ASSERT_TRUE(sim.arrow_edit(1, ArrowKey::kUp, m));
    sim.step_batch(50);
    ASSERT_TRUE(sim.undo_edit());
    EXPECT_EQ(sim.run.stop, 1);
    while (!sim.travel(100)) {
    }
    EXPECT_EQ(sim.run.iters, 50);
    EXPECT_STREQ(sim.redo_name(), "Move");
    ASSERT_TRUE(sim.drop_edit(0, 3, 3, m));
    EXPECT_EQ(sim.redo_name(), nullptr);
    EXPECT_STREQ(sim.undo_name(), "Drag");
}

// Editing a run taken back drops its later edits; continuing it makes them again.
TEST(Journal, LaterEditsAreMadeAgainOrDroppedByANewEdit) {
    std::mt19937 rnd(12);
    auto r = rig_with(4, 13);
    Sim& sim = r->sim;
    run_with_edits(sim, rnd, 5000, 8);
    const std::string at_end = state_text(sim);
    go_to(sim, 1000);
    const int32_t kept = sim.journal.made_by(1000);
    sim.continue_command();
    run_to(sim, 5000);
    EXPECT_EQ(state_text(sim), at_end) << "continued through the later edits";

    go_to(sim, 1000);
    OrgMove m{};
    ASSERT_TRUE(sim.arrow_edit(0, ArrowKey::kLeft, m));
    EXPECT_EQ(sim.journal.size(), kept + 1);
    EXPECT_EQ(sim.journal.applied(), kept + 1);
}

TEST(Journal, RefusesEditsThatMoveNothing) {
    auto r = rig_with(4, 1);
    Sim& sim = r->sim;
    OrgMove m{};
    const Org o = sim.model.orgs.get(2);
    EXPECT_FALSE(sim.drop_edit(2, o.x, o.y, m));
    EXPECT_FALSE(sim.drop_edit(4, 0, 0, m));
    EXPECT_FALSE(sim.arrow_edit(-1, ArrowKey::kUp, m));
    EXPECT_EQ(sim.journal.size(), 0);
}

TEST(Journal, NewRunsStartAFreshJournal) {
    for (int16_t item : {kNewRunItem, kRestartItem, kRunSavedItem}) {
        auto r = rig_with(4, 40);
        OrgMove m{};
        ASSERT_TRUE(r->sim.arrow_edit(0, ArrowKey::kDown, m));
        r->sim.HandleFileChoice(item);
        EXPECT_EQ(r->sim.journal.size(), 0) << item;
        EXPECT_EQ(r->sim.journal.start.seed, r->sim.run.lastSeed) << item;
        EXPECT_EQ(r->sim.undo_name(), nullptr) << item;
    }
}

}  // namespace
}  // namespace vornick
